// Damaged settings: the profile and the machine-wide file give defaults for what cannot be
// read, silently and without blocking, and a profile keeps what can be read.
#include "AppTestSupport.h"
#include "Profile.h"
#include "RegistryKey.h"

#include <cmath>
#include <fstream>
#include <unistd.h>

namespace
{
// profile text, word length read back (1 when unreadable)
const std::pair<std::string, int> kProfiles[] = {
    {"\x01\x02\x03[\x7f\n=\n=junk\n\x04\n[view]\nwordlen=2\n", 2},
    {"[view]\nwordlen=2\n[WindowPlacement]\nMain-Pla", 2},
    {"[view]\nwordlen=99999999999999\n", 1},
    {"[view]\nwordlen=four\n", 1},
};

class ProfileInputTest : public ::testing::TestWithParam<std::pair<std::string, int>>
{
};

TEST_P(ProfileInputTest, ReadsWhatItCanAndKeepsItOnWrite)
{
    ResetProfile();
    std::ofstream(GetProfilePath("Mirel Software", "Corvane").ToStdString()) << GetParam().first;
    CLogCapture log;
    for (int nPass = 0; nPass < 2; nPass++)
    {
        OpenProfile("Mirel Software", "Corvane");
        EXPECT_EQ(GetParam().second, GetProfileInt("view", "wordlen", 1));
        EXPECT_TRUE(WriteProfileInt("view", "byteorder", 1));
    }
    EXPECT_EQ(std::vector<std::string>(), log.m_messages);
    ResetProfile();
}

INSTANTIATE_TEST_SUITE_P(Damaged, ProfileInputTest, ::testing::ValuesIn(kProfiles),
                         [](const auto& info) { return std::to_string(info.index); });

// shell command making machine.reg in the folder; true when the screen's own resolution results
const std::pair<std::string, bool> kMachineFiles[] = {
    {"printf '[HKLM\\\\Software\\\\Mirel Software]\\n\"ScreenX [mm]\"=dword:140\\n' >machine.reg", false},
    {"mkfifo machine.reg", true},
    {"printf '[HKLM\\\\Software\\\\Mirel Software]\\n\"ScreenX [mm]\"=dword:140\\n' >machine.reg && "
     "head -c 1048576 /dev/zero >>machine.reg", true},
    {"printf '[HKLM\\\\Software\\\\Mirel Software\\n\"ScreenX [mm]\"=dword:140\\n' >machine.reg", true},
};

class MachineFileInputTest : public ::testing::TestWithParam<std::pair<std::string, bool>>
{
};

TEST_P(MachineFileInputTest, GivesDefaultsForWhatCannotBeRead)
{
    CTempDir dir;
    ASSERT_EQ(0, std::system(("cd '" + dir.Path() + "' && " + GetParam().first).c_str()));
    CRegistryKey::SetMachineFile(dir.File("machine.reg"));
    double dX = 0, dY = 0;
    alarm(10);
    ComputePixelsPerInch(CScreenCaps(), dX, dY);
    alarm(0);
    CRegistryKey::SetMachineFile(std::string());
    EXPECT_EQ(GetParam().second, std::fabs(dX - 96.0) < 1e-9) << dX;
}

INSTANTIATE_TEST_SUITE_P(Kinds, MachineFileInputTest, ::testing::ValuesIn(kMachineFiles),
                         [](const auto& info) { return std::to_string(info.index); });
} // namespace
