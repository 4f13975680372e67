// The web-update hook: the profile's switch, the shared directory from the machine-wide
// settings, and the library loaded from it, called once and unloaded again.
#include "AppTestSupport.h"
#include "Profile.h"
#include "RegistryKey.h"

#include <dlfcn.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

namespace
{
int g_nCalls = 0;
} // namespace

// The stand-in libraries report each call of their entry here.
extern "C" void CorvaneWebCalled()
{
    g_nCalls++;
}

namespace
{
// The shared folder: "entry" and "noentry" hold a library with and without the entry.
class WebUpdateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetProfile();
        g_nCalls = 0;
        chmod(m_dir.Path().c_str(), 0755);
        for (const auto& [pszSub, pszModule] :
             {std::pair{"entry", WEB_MODULE}, std::pair{"noentry", WEB_MODULE_NOENTRY}})
        {
            std::filesystem::create_directory(m_dir.File(pszSub));
            std::filesystem::copy_file(pszModule, m_dir.File(pszSub) + "/mirelwebint.so");
        }
        UseSharedPath('"' + m_dir.File("entry") + '"');
    }
    void TearDown() override { CRegistryKey::SetMachineFile(std::string()); }

    void UseSharedPath(const std::string& strData)
    {
        m_dir.Write("machine.reg", "[Software\\Mirel Software]\n\"SharedPath\"=" + strData + "\n");
        CRegistryKey::SetMachineFile(m_dir.File("machine.reg"));
    }
    // Calls of the entry by the hook, which also leaves no library loaded.
    int Run(int nDoWebUpdate = 1)
    {
        if (nDoWebUpdate >= 0)
            WriteProfileInt("InternetOptions", "DoWebUpdate", nDoWebUpdate);
        EXPECT_EQ(0, TestApp().RunWebUpdateIfEnabled());
        for (const char* pszSub : {"entry", "noentry"})
        {
            const std::string strLib = m_dir.File(pszSub) + "/mirelwebint.so";
            EXPECT_EQ(nullptr, dlopen(strLib.c_str(), RTLD_NOW | RTLD_NOLOAD)) << pszSub;
        }
        return g_nCalls;
    }

    CTempDir m_dir;
};

std::string HexBytes(const std::string& str)
{
    std::string strHex;
    for (char c : str + '\0')
        strHex += wxString::Format("%02x,", unsigned(uint8_t(c))).ToStdString();
    return strHex.substr(0, strHex.size() - 1);
}
} // namespace

// With the switch absent or 0 the machine-wide file is not even opened.
TEST_F(WebUpdateTest, ProfileSwitch)
{
    for (const auto& [nDoWebUpdate, nCalls] : {std::pair{-1, 0}, {0, 0}, {1, 1}})
    {
        g_nCalls = 0;
        const int nNotify = inotify_init1(IN_NONBLOCK);
        inotify_add_watch(nNotify, m_dir.File("machine.reg").c_str(), IN_OPEN);
        TestApp().m_nWebUpdateCalls = 0;
        EXPECT_EQ(nCalls, Run(nDoWebUpdate)) << nDoWebUpdate;
        EXPECT_EQ(1, TestApp().m_nWebUpdateCalls);
        inotify_event events[8];
        EXPECT_EQ(nCalls != 0, read(nNotify, events, sizeof(events)) > 0) << nDoWebUpdate;
        close(nNotify);
    }
}

// Only an absolute text value that leaves room for the library's name loads the library.
TEST_F(WebUpdateTest, SharedPathValues)
{
    const std::string strDir = m_dir.File("entry");
    auto padded = [&](size_t nLength)
    { return '"' + strDir + std::string(nLength - strDir.size(), '/') + '"'; };
    const std::pair<std::string, int> kCases[] = {
        {'"' + strDir + '"', 1},
        {'"' + strDir + "/\"", 1},
        {padded(246), 1}, // with the library's name 260 characters
        {padded(247), 0},
        {padded(259), 0},
        {padded(260), 0},
        {padded(5000), 0}, // longer than the read buffer
        {"\"\"", 0},
        {"\"entry\"", 0}, // relative to the working folder, which holds it
        {"dword:00000001", 0},
        {"hex:" + HexBytes(strDir), 0},
        {"hex(1):" + HexBytes(strDir), 1}, // text written as bytes
        {'"' + m_dir.File("noentry") + '"', 0},
        {'"' + m_dir.Path() + '"', 0}, // no library there
    };
    const std::filesystem::path oldDir = std::filesystem::current_path();
    std::filesystem::current_path(m_dir.Path());
    for (const auto& [strData, nCalls] : kCases)
    {
        g_nCalls = 0;
        UseSharedPath(strData);
        EXPECT_EQ(nCalls, Run()) << strData;
    }
    std::filesystem::current_path(oldDir);
}

// The key is opened with full access: a settings file the user may read but not write
// loads nothing, as does one the user may not read.
TEST_F(WebUpdateTest, MachineFilePermissions)
{
    WriteProfileInt("InternetOptions", "DoWebUpdate", 1);
    for (const auto& [nMode, nCalls] : {std::pair{0666, 1}, {0444, 0}, {0, 0}})
    {
        chmod(m_dir.File("machine.reg").c_str(), nMode);
        auto run = [] { return TestApp().RunWebUpdateIfEnabled() + g_nCalls; };
        EXPECT_EQ(nCalls, RunInChild(run, true)) << nMode;
    }
}
