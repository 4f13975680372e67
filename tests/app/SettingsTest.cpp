// The settings: the machine-wide file (the screen size in millimetres and the web-update
// library's folder it may hold) and a damaged profile, read silently and without blocking.
#include "AppTestSupport.h"
#include "RegistryKey.h"

#include <cmath>
#include <fstream>

#include <dlfcn.h>
#include <sys/inotify.h>
#include <sys/stat.h>

namespace
{
int g_nCalls = 0;
// Besides the calls of the entry, what a run of the hook left behind.
constexpr int kLeftLoaded = 4, kOpenedSettings = 8, kCalledProgram = 16;
const std::string kKey = "[HKEY_LOCAL_MACHINE\\software\\MIREL SOFTWARE]\n";
const std::string kWide = kKey + "\"ScreenX [mm]\"=dword:00000140\n";

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

std::string Utf16(const std::string& str)
{
    std::string strOut = "\xFF\xFE";
    for (char c : str)
        strOut += {c, '\0'};
    return strOut;
}
} // namespace

// the settings file's text ("none": no file, "fifo": a named pipe, "readonly": the width
// in a file the user may not write); pixels per inch
using ScreenFile = CCase<std::tuple<std::string, double, double>>;
using ScreenSizeTest = ::testing::TestWithParam<ScreenFile>;

// 320 mm x 240 mm give 81.28 pixels per inch; key and value names match in any case, with or
// without the root; a size of 0 counts as absent; a deleted key has no values; text instead
// of a number, and a file that is no settings file, are ignored. The key is opened with full
// access: a file the user may not write is not read.
TEST_P(ScreenSizeTest, OverridesTheLogicalResolution)
{
    const auto& [strText, dX, dY] = GetParam().m_value;
    CTempDir dir;
    if (strText == "readonly")
    {
        dir.Write("machine.reg", kWide);
        chmod(dir.Path().c_str(), 0755), chmod(dir.File("machine.reg").c_str(), 0444);
        const auto width = [&] { return int(PixelsPerInch(dir.File("machine.reg")).first); };
        EXPECT_EQ(int(dX), RunInChild(width, true));
        return;
    }
    if (strText == "fifo")
        ASSERT_EQ(0, mkfifo(dir.File("machine.reg").c_str(), 0600));
    else if (strText != "none")
        dir.Write("machine.reg", strText);
    EXPECT_EQ(std::make_pair(dX, dY), PixelsPerInch(dir.File("machine.reg")));
}

INSTANTIATE_TEST_SUITE_P(
    Files, ScreenSizeTest,
    ::testing::Values(
        ScreenFile{"BothInAnyCase", {kWide + "\"screeny [MM]\"=dword:000000f0", 81.28, 81.28}},
        ScreenFile{"WidthOnly", {kWide, 81.28, 144}},
        ScreenFile{"ZeroWidth",
                   {kKey + "\"ScreenX [mm]\"=dword:0\n\"ScreenY [mm]\"=dword:f0", 120, 81.28}},
        ScreenFile{"Utf16", {Utf16(kWide), 81.28, 144}},
        ScreenFile{"Continued",
                   {"[HKLM\\Software\\Mirel Software]\n\"ScreenX [mm]\"=hex(4):40,01,\\\n  00,00\n",
                    81.28, 144}},
        ScreenFile{"DeletedKey", {"[-" + kWide.substr(1), 120, 144}},
        ScreenFile{"Text", {kKey + "\"ScreenX [mm]\"=\"320 mm\"", 120, 144}},
        ScreenFile{"TooLarge", {kKey + "\"ScreenX [mm]\"=dword:100000140", 120, 144}},
        ScreenFile{"ByteTooLarge", {kKey + "\"ScreenX [mm]\"=hex(4):140,01,00,00", 120, 144}},
        ScreenFile{"NoFile", {"none", 120, 144}}, ScreenFile{"Fifo", {"fifo", 120, 144}},
        ScreenFile{"ReadOnly", {"readonly", 120, 144}},
        ScreenFile{"Huge", {kWide + std::string(1 << 20, '\0'), 120, 144}},
        ScreenFile{"UnclosedKey", {std::string(kWide).erase(kWide.find(']'), 1), 120, 144}}),
    CCaseName());

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
