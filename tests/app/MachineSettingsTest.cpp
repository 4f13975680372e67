// The machine-wide settings file: which keys it opens, for whom, and the screen size in
// millimetres it may hold.
#include "AppTestSupport.h"
#include "RegFileParser.h"
#include "RegistryKey.h"

#include <cmath>

#include <sys/stat.h>

namespace
{
class MachineSettingsTest : public ::testing::Test
{
protected:
    void TearDown() override { CRegistryKey::SetMachineFile(std::string()); }

    // Values of the program's key in the settings file; none: no file at all.
    void Use(const char* pszValues)
    {
        if (pszValues)
            m_dir.Write("machine.reg", std::string("[HKEY_LOCAL_MACHINE\\Software\\Mirel "
                                                   "Software]\r\n") +
                                           pszValues);
        CRegistryKey::SetMachineFile(m_dir.File(pszValues ? "machine.reg" : "absent.reg"));
    }

    CTempDir m_dir;
};

long Open(const char* pszKey, REGSAM samDesired)
{
    return CRegistryKey().Open(HKEY_LOCAL_MACHINE, pszKey, samDesired);
}
} // namespace

// Key names match whole and in any case; a key with keys below it exists.
TEST_F(MachineSettingsTest, OpenMatchesWholeKeysInAnyCase)
{
    const std::pair<const char*, long> kCases[] = {
        {"software\\MIREL SOFTWARE\\", ERROR_SUCCESS},
        {"Software", ERROR_SUCCESS},
        {"Software\\Mirel", ERROR_FILE_NOT_FOUND},
        {"Software\\Mirel Software\\Sub", ERROR_FILE_NOT_FOUND}};
    Use("");
    for (const auto& [pszKey, nStatus] : kCases)
        EXPECT_EQ(nStatus, Open(pszKey, KEY_ALL_ACCESS)) << pszKey;
}

// 1024 x 768 pixels on 320 mm x 240 mm: 81.28 pixels per inch instead of the logical 96.
TEST_F(MachineSettingsTest, ScreenSizeOverrides)
{
    const std::tuple<const char*, double, double> kCases[] = {
        {"\"ScreenX [mm]\"=dword:00000140\n\"screeny [MM]\"=dword:000000f0\n", 81.28, 81.28},
        {"\"ScreenX [mm]\"=dword:00000140\n", 81.28, 96},
        // a size of 0 counts as absent; text instead of a number is ignored
        {"\"ScreenX [mm]\"=dword:00000000\n\"ScreenY [mm]\"=dword:000000f0\n", 96, 81.28},
        {"\"ScreenX [mm]\"=\"320 mm\"\n", 96, 96},
        {nullptr, 120, 144}, // no settings file: the logical resolution as it is
    };
    for (const auto& [pszValues, dExpectedX, dExpectedY] : kCases)
    {
        Use(pszValues);
        CScreenCaps caps; // 1024 x 768 at 96 pixels per inch
        if (!pszValues)
            caps.m_dPixelsX = 120, caps.m_dPixelsY = 144;
        double dX = 0, dY = 0;
        ComputePixelsPerInch(caps, dX, dY);
        EXPECT_NEAR(dExpectedX, dX, 1e-9) << (pszValues ? pszValues : "no file");
        EXPECT_NEAR(dExpectedY, dY, 1e-9) << (pszValues ? pszValues : "no file");
    }
}

// Without write permission the key opens for reading only; the screen metrics, which ask
// for full access, then keep the logical resolution.
TEST_F(MachineSettingsTest, WithoutWritePermission)
{
    Use("\"ScreenX [mm]\"=dword:00000140\n");
    chmod(m_dir.Path().c_str(), 0755);
    chmod(m_dir.File("machine.reg").c_str(), 0444);
    const char* pszKey = "Software\\Mirel Software";
    EXPECT_EQ(ERROR_ACCESS_DENIED,
              RunInChild([&] { return int(Open(pszKey, KEY_ALL_ACCESS)); }, true));
    EXPECT_EQ(ERROR_SUCCESS, RunInChild([&] { return int(Open(pszKey, KEY_READ)); }, true));
    auto compute = []
    {
        double dX = 0, dY = 0;
        ComputePixelsPerInch(CScreenCaps(), dX, dY);
        return std::fabs(dX - 96) < 1e-9 ? 0 : 1;
    };
    EXPECT_EQ(0, RunInChild(compute, true));
}

// Files written as UTF-16; deleted keys and values are not there.
TEST(RegFileParserTest, ReadsUtf16AndDeletions)
{
    std::string strUtf16 = "\xFF\xFE";
    for (char c : std::string("[Software\\A]\r\n\"V\"=dword:00000010\r\n"))
        strUtf16 += {c, '\0'};
    CRegFile file;
    file.Parse(DecodeRegText(strUtf16));
    EXPECT_EQ((std::vector<uint8_t>{0x10, 0, 0, 0}), file.GetValues("software\\a").at("v").m_bytes);
    file.Parse(
        "[-Software\\Gone]\n\"X\"=dword:1\n[Software\\Kept]\n\"Y\"=-\n\"Z\"=hex(b):01,\\\n  00\n");
    EXPECT_FALSE(file.HasKey("software\\gone"));
    const RegValueMap values = file.GetValues("software\\kept");
    EXPECT_EQ(0u, values.count("y"));
    EXPECT_EQ((std::vector<uint8_t>{1, 0}), values.at("z").m_bytes);
}
