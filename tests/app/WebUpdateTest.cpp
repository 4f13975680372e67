// The web-update hook: the profile's switch, the shared folder from the machine-wide
// settings, and the library loaded from it, called once and unloaded again.
#include "AppTestSupport.h"
#include "RegistryKey.h"

#include <dlfcn.h>
#include <sys/inotify.h>
#include <sys/stat.h>

namespace
{
int g_nCalls = 0;
// Besides the calls of the entry, what a run of the hook left behind.
constexpr int kLeftLoaded = 4, kOpenedSettings = 8;
} // namespace

// The stand-in libraries report each call of their entry here.
extern "C" void CorvaneWebCalled()
{
    g_nCalls++;
}

// Only with the switch on, and only from a settings file the user may write (the key is
// opened with full access), an absolute text value naming a folder that leaves room for the
// library's name loads the library ("entry" holds one with the entry, "noentry" one without).
TEST(WebUpdateTest, LoadsTheLibraryOnlyWhenAllowed)
{
    const std::string strDir = WEB_MODULES "/entry";
    auto quoted = [](const std::string& str) { return '"' + str + '"'; };
    auto padded = [&](size_t n) { return quoted(strDir + std::string(n - strDir.size(), '/')); };
    std::string strHex = "hex:";
    for (char c : strDir)
        strHex += wxString::Format("%02x,", c).ToStdString();
    CTempDir dir;
    const std::tuple<int, std::string, int, int> kCases[] = {
        {-1, quoted(strDir), 0666, 0}, // the switch absent: the settings stay unread
        {0, quoted(strDir), 0666, 0},
        {1, quoted(strDir), 0666, kOpenedSettings | 1},
        {1, padded(246), 0666, kOpenedSettings | 1}, // 260 characters with the library's name
        {1, padded(247), 0666, kOpenedSettings},
        {1, padded(5000), 0666, kOpenedSettings},
        {1, quoted("entry"), 0666, kOpenedSettings}, // relative to the working folder, which has it
        {1, strHex + "00", 0666, kOpenedSettings},   // no text
        {1, quoted(WEB_MODULES "/noentry"), 0666, kOpenedSettings},
        {1, quoted(strDir), 0444, kOpenedSettings},
    };
    chmod(dir.Path().c_str(), 0755);
    CRegistryKey::SetMachineFile(dir.File("machine.reg"));
    for (const auto& [nSwitch, strData, nMode, nExpected] : kCases)
    {
        ResetProfile();
        if (nSwitch >= 0)
            WriteProfileInt("InternetOptions", "DoWebUpdate", nSwitch);
        dir.Write("machine.reg", "[Software\\Mirel Software]\n\"SharedPath\"=" + strData + "\n");
        chmod(dir.File("machine.reg").c_str(), nMode);
        auto run = [&]
        {
            if (chdir(WEB_MODULES) != 0) // where "entry" is a relative path
                return -1;
            const int nNotify = inotify_init1(IN_NONBLOCK);
            inotify_add_watch(nNotify, dir.Path().c_str(), IN_OPEN);
            TestApp().RunWebUpdateIfEnabled();
            int nResult = g_nCalls;
            for (const char* pszLib :
                 {WEB_MODULES "/entry/mirelwebint.so", WEB_MODULES "/noentry/mirelwebint.so"})
                nResult |= dlopen(pszLib, RTLD_NOW | RTLD_NOLOAD) != nullptr ? kLeftLoaded : 0;
            inotify_event events[8];
            return nResult | (read(nNotify, events, sizeof(events)) > 0 ? kOpenedSettings : 0);
        };
        EXPECT_EQ(nExpected, RunInChild(run, true)) << nSwitch << " " << strData << " " << nMode;
    }
    CRegistryKey::SetMachineFile(std::string());
}
