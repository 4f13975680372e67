// The settings: the machine-wide file (the screen size in millimetres and the web-update
// library's folder it may hold) and a damaged profile, read silently and without blocking.
#include "AppTestSupport.h"
#include "RegistryKey.h"

#include <cmath>
#include <fstream>
#include <sstream>

#include <dlfcn.h>
#include <sys/inotify.h>
#include <sys/stat.h>

namespace
{
int g_nCalls = 0;
// Besides the calls of the entry, what a run of the hook left behind.
constexpr int kLeftLoaded = 4, kOpenedSettings = 8, kCalledProgram = 16;

// The pixels per inch from the settings file on a 1024 x 768 screen of 120 x 144 logical
// pixels per inch.
std::pair<double, double> PixelsPerInch(const std::string& strFile)
{
    CRegistryKey::SetMachineFile(strFile);
    CScreenCaps caps;
    caps.m_dPixelsX = 120, caps.m_dPixelsY = 144;
    double dX = 0, dY = 0;
    alarm(10); // a file that blocks ends the test program
    ComputePixelsPerInch(caps, dX, dY);
    alarm(0);
    CRegistryKey::SetMachineFile(std::string());
    return {std::round(dX * 100) / 100, std::round(dY * 100) / 100};
}
} // namespace

// The rows of tables/screen-size.txt.
using ScreenSizeTest = ::testing::TestWithParam<CRow>;

TEST_P(ScreenSizeTest, OverridesTheLogicalResolution)
{
    const std::string strHow = GetParam().at(1);
    std::string strText = GetParam().at(2), strUtf16 = "\xFF\xFE";
    for (size_t i; (i = strText.find("\\n")) != std::string::npos;)
        strText.replace(i, 2, "\n");
    for (char c : strText)
        strUtf16 += {c, '\0'};
    strText =
        strHow == "utf16" ? strUtf16 : strText + std::string(strHow == "huge" ? 1 << 20 : 0, '\0');
    double dX = 0, dY = 0;
    std::istringstream(GetParam().at(3)) >> dX >> dY;
    CTempDir dir;
    if (strHow == "readonly")
    {
        dir.Write("machine.reg", strText);
        chmod(dir.Path().c_str(), 0755), chmod(dir.File("machine.reg").c_str(), 0444);
        const auto width = [&] { return int(PixelsPerInch(dir.File("machine.reg")).first); };
        EXPECT_EQ(int(dX), RunInChild(width, true));
        return;
    }
    if (strHow == "fifo")
        ASSERT_EQ(0, mkfifo(dir.File("machine.reg").c_str(), 0600));
    else if (strHow != "none")
        dir.Write("machine.reg", strText);
    EXPECT_EQ(std::make_pair(dX, dY), PixelsPerInch(dir.File("machine.reg")));
}

INSTANTIATE_TEST_SUITE_P(Files, ScreenSizeTest,
                         ::testing::ValuesIn(ReadTable("tables/screen-size.txt")), CRowName());

// What can be read of a damaged profile is used, and kept when the profile is written;
// nothing is reported.
TEST(ProfileInputTest, ReadsWhatItCanAndKeepsItOnWrite)
{
    // profile text; word length read back (1 when unreadable)
    const std::pair<std::string, int> kProfiles[] = {
        {"\x01\x02\x03[\x7f\n=\n=junk\n\x04\n[view]\nwordlen=2\n", 2},
        {"[view]\nwordlen=2\n[WindowPlacement]\nMain-Pla", 2},
        {"[view]\nwordlen=99999999999999\n", 1},
        {"[view]\nwordlen=four\n", 1}};
    CLogCapture log;
    for (const auto& [strText, nWordLen] : kProfiles)
    {
        ResetProfile();
        std::ofstream(GetProfilePath("Mirel Software", "Corvane").ToStdString()) << strText;
        for (int nPass = 0; nPass < 2; nPass++)
        {
            OpenProfile("Mirel Software", "Corvane");
            EXPECT_EQ(nWordLen, GetProfileInt("view", "wordlen", 1)) << strText;
            EXPECT_TRUE(WriteProfileInt("view", "byteorder", 1));
        }
    }
    EXPECT_EQ(std::vector<std::string>(), log.m_messages);
    ResetProfile();
}

// A folder in the profile's place, or a profile the user made read-only, keeps its content
// through a change and the end of the program; nothing is reported, nothing waits for OK.
using ProfileExitTest = CAppRunTest;
TEST_F(ProfileExitTest, UnwritableProfileKeepsItsContentSilently)
{
    const std::string strPath = GetProfilePath("Mirel Software", "Corvane").ToStdString();
    for (const bool bFolder : {true, false})
    {
        std::remove(strPath.c_str());
        if (bFolder)
            ASSERT_EQ(0, mkdir(strPath.c_str(), 0755));
        else
            std::ofstream(strPath) << "[view]\nwordlen=3\n", chmod(strPath.c_str(), 0444);
        OpenProfile("Mirel Software", "Corvane");
        ASSERT_TRUE(Start(""));
        Command(ID_VIEW_WORD16);
        TearDown();
        EXPECT_EQ("{}", Log()); // a message would wait for OK
        EXPECT_EQ(bFolder ? "" : "[view]\nwordlen=3\n", ReadFileText(strPath));
        rmdir(strPath.c_str());
    }
    ResetProfile();
}

// The stand-in libraries report each call of their entry here.
extern "C" void CorvaneWebCalled()
{
    g_nCalls++;
}

// What the hook would call if it loaded the program itself instead of a library.
extern "C" int MirelWebGetInfo()
{
    return g_nCalls |= kCalledProgram;
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
        {1, quoted("/\xff"), 0666, kOpenedSettings}, // no file name in this encoding
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
