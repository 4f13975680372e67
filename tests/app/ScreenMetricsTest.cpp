// Pixels per inch from the logical resolution, or from the screen size in millimetres
// that the machine-wide settings may hold.
#include "AppTestSupport.h"
#include "RegistryKey.h"

#include <cmath>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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
};

const char kBoth[] = "\"ScreenX [mm]\"=dword:00000140\n\"ScreenY [mm]\"=dword:000000f0\n";
} // namespace

// 1024 x 768 pixels on 320 mm x 240 mm: 81.28 pixels per inch instead of the logical 96.
TEST_F(ScreenMetricsTest, Overrides)
{
    const struct
    {
        const char* pszValues;
        double dExpectedX, dExpectedY;
    } kCases[] = {
        {"", 96, 96},
        {kBoth, 81.28, 81.28},
        {"\"ScreenX [mm]\"=dword:00000140\n", 81.28, 96},
        {"\"ScreenY [mm]\"=dword:000000f0\n", 96, 81.28},
        // a size of 0 counts as absent
        {"\"ScreenX [mm]\"=dword:00000000\n\"ScreenY [mm]\"=dword:000000f0\n", 96, 81.28},
        // text instead of a number is longer than 4 bytes and ignored
        {"\"ScreenX [mm]\"=\"320 mm\"\n", 96, 96},
        {nullptr, 120, 144}, // no settings file: the logical resolution as it is
    };
    for (const auto& c : kCases)
    {
        CScreenCaps caps; // 1024 x 768 at 96 pixels per inch
        if (c.pszValues)
            UseMachineValues(c.pszValues);
        else
        {
            CRegistryKey::SetMachineFile(m_dir.File("absent.reg"));
            caps.m_dPixelsX = 120;
            caps.m_dPixelsY = 144;
        }
        double dX = 0, dY = 0;
        ComputePixelsPerInch(caps, dX, dY);
        EXPECT_NEAR(c.dExpectedX, dX, 1e-9) << (c.pszValues ? c.pszValues : "no file");
        EXPECT_NEAR(c.dExpectedY, dY, 1e-9) << (c.pszValues ? c.pszValues : "no file");
    }
}

// Without write permission on the machine's settings the key cannot be opened with full
// access, so the sizes from the logical resolution stay.
TEST_F(ScreenMetricsTest, NoWritePermissionKeepsDefaults)
{
    UseMachineValues(kBoth);
    chmod(m_dir.Path().c_str(), 0755);
    chmod(m_dir.File("machine.reg").c_str(), 0444);
    const pid_t pid = fork();
    if (pid == 0)
    {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(100);
        double dX = 0, dY = 0;
        ComputePixelsPerInch(CScreenCaps(), dX, dY);
        _exit(std::fabs(dX - 96) < 1e-9 && std::fabs(dY - 96) < 1e-9 ? 0 : 1);
    }
    int nStatus = 0;
    waitpid(pid, &nStatus, 0);
    ASSERT_TRUE(WIFEXITED(nStatus));
    EXPECT_EQ(0, WEXITSTATUS(nStatus));
}
