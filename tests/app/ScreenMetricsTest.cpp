#include "AppTestSupport.h"
#include "RegistryKey.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>

namespace
{
class ScreenMetricsTest : public ::testing::Test
{
protected:
    void TearDown() override { CRegistryKey::SetMachineFile(std::string()); }

    void UseMachineValues(const std::string& strValues)
    {
        m_dir.Write("machine.reg", "[Software\\Mirel Software]\n" + strValues);
        CRegistryKey::SetMachineFile(m_dir.File("machine.reg"));
    }

    CTempDir m_dir;
    CScreenCaps m_caps; // 1024 x 768 at 96 pixels per inch
};
} // namespace

TEST_F(ScreenMetricsTest, Overrides)
{
    const struct
    {
        const char* pszValues;
        double dExpectedX;
        double dExpectedY;
    } cases[] = {
        {"", 96, 96},
        {"\"ScreenX [mm]\"=dword:00000140\n\"ScreenY [mm]\"=dword:000000f0\n", 81.28, 81.28},
        {"\"ScreenX [mm]\"=dword:00000140\n", 81.28, 96},
        {"\"ScreenY [mm]\"=dword:000000f0\n", 96, 81.28},
        // a size of 0 counts as absent
        {"\"ScreenX [mm]\"=dword:00000000\n\"ScreenY [mm]\"=dword:000000f0\n", 96, 81.28},
        // text instead of a number is longer than 4 bytes and ignored
        {"\"ScreenX [mm]\"=\"320 mm\"\n", 96, 96},
    };
    for (const auto& c : cases)
    {
        UseMachineValues(c.pszValues);
        double dX = 0;
        double dY = 0;
        ComputePixelsPerInch(m_caps, dX, dY);
        EXPECT_NEAR(c.dExpectedX, dX, 1e-9) << c.pszValues;
        EXPECT_NEAR(c.dExpectedY, dY, 1e-9) << c.pszValues;
    }
}

TEST_F(ScreenMetricsTest, NoMachineFileGivesLogicalResolution)
{
    CRegistryKey::SetMachineFile(m_dir.File("absent.reg"));
    m_caps.m_dPixelsX = 120;
    m_caps.m_dPixelsY = 144;
    double dX = 0;
    double dY = 0;
    ComputePixelsPerInch(m_caps, dX, dY);
    EXPECT_DOUBLE_EQ(120, dX);
    EXPECT_DOUBLE_EQ(144, dY);
}

// Without write permission on the machine's settings the key cannot be opened with full
// access, so the sizes from the logical resolution stay.
TEST_F(ScreenMetricsTest, NoWritePermissionKeepsDefaults)
{
    UseMachineValues("\"ScreenX [mm]\"=dword:00000140\n\"ScreenY [mm]\"=dword:000000f0\n");
    chmod(m_dir.Path().c_str(), 0755);
    chmod(m_dir.File("machine.reg").c_str(), 0444);
    pid_t pid = fork();
    if (pid == 0)
    {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(100);
        double dX = 0;
        double dY = 0;
        ComputePixelsPerInch(CScreenCaps(), dX, dY);
        _exit(std::fabs(dX - 96) < 1e-9 && std::fabs(dY - 96) < 1e-9 ? 0 : 1);
    }
    int nStatus = 0;
    waitpid(pid, &nStatus, 0);
    ASSERT_TRUE(WIFEXITED(nStatus));
    EXPECT_EQ(0, WEXITSTATUS(nStatus));
}
