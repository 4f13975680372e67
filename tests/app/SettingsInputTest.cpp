// Damaged settings of both kinds: the per-user profile and the machine-wide file give
// defaults for what cannot be read, without a message, and keep what can.
#include "AppBase.h"
#include "AppTestSupport.h"
#include "Profile.h"
#include "RegistryKey.h"

#include <wx/fileconf.h>

#include <cmath>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
struct ProfileText
{
    const char* pszName;
    std::string strText;
    int nWordLen; // as read back, 1 when unreadable
};

const ProfileText kProfiles[] = {
    {"ControlCharsAndEmptyNames", "\x01\x02\x03[\x7f\n=\n=junk\n\x04\x05\n[view]\nwordlen=2\n", 2},
    {"NotUtf8", std::string("\0\xff\xfe\x80[view]\nwordlen=2\n", 18), 1},
    {"Truncated", "[view]\nwordlen=2\n[WindowPlacement]\nMain-Pla", 2},
    {"BeyondInt", "[view]\nwordlen=99999999999999\n", 1},
    {"String", "[view]\nwordlen=four\n", 1},
    {"UnclosedGroup", "[view\nwordlen=2\n", 1},
};

void PrintTo(const ProfileText& profile, std::ostream* pOut)
{
    *pOut << profile.pszName;
}

class ProfileInputTest : public ::testing::TestWithParam<ProfileText>
{
};

TEST_P(ProfileInputTest, ReadsWhatItCanAndKeepsItOnWrite)
{
    ResetProfile();
    const wxString strPath = GetProfilePath("Mirel Software", "Corvane");
    std::ofstream(strPath.ToStdString(), std::ios::binary) << GetParam().strText;
    CLogCapture log;
    OpenProfile("Mirel Software", "Corvane");
    EXPECT_EQ(GetParam().nWordLen, GetProfileInt("view", "wordlen", 1));
    EXPECT_TRUE(WriteProfileInt("view", "byteorder", 1));
    EXPECT_TRUE(log.m_messages.empty()) << log.m_messages.front();
    OpenProfile("Mirel Software", "Corvane");
    EXPECT_EQ(GetParam().nWordLen, GetProfileInt("view", "wordlen", 1));
    EXPECT_EQ(1, GetProfileInt("view", "byteorder", 0));
    ResetProfile();
}

INSTANTIATE_TEST_SUITE_P(Damaged, ProfileInputTest, ::testing::ValuesIn(kProfiles),
                         [](const auto& info) { return std::string(info.param.pszName); });

const char kKey[] = "[HKEY_LOCAL_MACHINE\\Software\\Mirel Software]\r\n";

struct MachineFile
{
    const char* pszName;
    // makes the machine file at the path
    void (*make)(const std::string& strPath);
    bool bDefaults; // the screen's own resolution results
};

void WriteText(const std::string& strPath, const std::string& strText)
{
    std::ofstream(strPath, std::ios::binary) << strText;
}

const MachineFile kMachineFiles[] = {
    {"Valid", [](const std::string& s) { WriteText(s, kKey + std::string("\"ScreenX [mm]\"=dword:140\r\n")); }, false},
    {"Fifo", [](const std::string& s) { mkfifo(s.c_str(), 0644); }, true},
    {"Directory", [](const std::string& s) { mkdir(s.c_str(), 0755); }, true},
    {"OverOneMiB",
     [](const std::string& s)
     { WriteText(s, kKey + std::string("\"ScreenX [mm]\"=dword:140\r\n;") + std::string(1 << 20, 'x')); },
     true},
    {"SyntaxErrors",
     [](const std::string& s)
     { WriteText(s, std::string("[HKEY_LOCAL_MACHINE\\Software\\Mirel Software\r\n\"ScreenX [mm]\"=dword:140\r\n")); },
     true},
    {"BadDigits", [](const std::string& s) { WriteText(s, kKey + std::string("\"ScreenX [mm]\"=dword:zz\r\n")); }, true},
    {"HugeAndWrongType",
     [](const std::string& s)
     { WriteText(s, kKey + std::string("\"ScreenX [mm]\"=dword:ffffffff\r\n\"ScreenY [mm]\"=\"\xff\xfe\"\r\n")); },
     false},
    {"OddUtf16", [](const std::string& s) { WriteText(s, std::string("\xff\xfe[\0H\0\xff", 7)); }, true},
};

void PrintTo(const MachineFile& file, std::ostream* pOut)
{
    *pOut << file.pszName;
}

class MachineFileInputTest : public ::testing::TestWithParam<MachineFile>
{
protected:
    void TearDown() override { CRegistryKey::SetMachineFile(std::string()); }
};

// Nothing blocks, and every result is a usable resolution.
TEST_P(MachineFileInputTest, GivesDefaultsForWhatCannotBeRead)
{
    CTempDir dir;
    GetParam().make(dir.File("machine.reg"));
    CRegistryKey::SetMachineFile(dir.File("machine.reg"));
    CScreenCaps caps;
    double dX = 0, dY = 0;
    alarm(10);
    ComputePixelsPerInch(caps, dX, dY);
    alarm(0);
    EXPECT_TRUE(std::isfinite(dX) && dX > 0 && std::isfinite(dY) && dY > 0);
    EXPECT_EQ(GetParam().bDefaults, std::fabs(dX - 96.0) < 1e-9) << dX;
}

INSTANTIATE_TEST_SUITE_P(Kinds, MachineFileInputTest, ::testing::ValuesIn(kMachineFiles),
                         [](const auto& info) { return std::string(info.param.pszName); });
} // namespace
