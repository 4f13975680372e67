// The machine-wide settings: the registry key wrapper over their file, the file's parser,
// and the screen size in millimetres that they may hold.
#include "AppTestSupport.h"
#include "RegFileParser.h"
#include "RegistryKey.h"

#include <cmath>

#include <sys/stat.h>

namespace
{
const char kMachineText[] = "Windows Registry Editor Version 5.00\r\n"
                            "\r\n"
                            "[HKEY_LOCAL_MACHINE\\Software\\Mirel Software]\r\n"
                            "\"ScreenX [mm]\"=dword:00000140\r\n"
                            "\"ScreenY [mm]\"=dword:000000f0\r\n"
                            "\"SharedPath\"=\"/opt/mirel\\\\shared\"\r\n"
                            "\"Short\"=hex:2a\r\n"
                            "\"Long\"=hex:01,02,03,04,\\\r\n"
                            "  05,06\r\n"
                            "\r\n"
                            "[Software\\Other]\r\n"
                            "@=\"default\"\r\n";

class MachineSettingsTest : public ::testing::Test
{
protected:
    void SetUp() override { UseMachineText(kMachineText); }
    void TearDown() override { CRegistryKey::SetMachineFile(std::string()); }

    void UseMachineText(const std::string& strText)
    {
        m_dir.Write("machine.reg", strText);
        CRegistryKey::SetMachineFile(m_dir.File("machine.reg"));
    }

    CTempDir m_dir;
};

std::string DefaultValue(CRegistryKey& key)
{
    char szValue[16] = {};
    DWORD nCount = sizeof(szValue);
    return key.QueryValue(szValue, "", &nCount) == ERROR_SUCCESS ? szValue : "";
}

long OpenMirel(REGSAM samDesired)
{
    return CRegistryKey().Open(HKEY_LOCAL_MACHINE, "Software\\Mirel Software", samDesired);
}
} // namespace

TEST_F(MachineSettingsTest, OpenResults)
{
    const std::pair<const char*, long> kCases[] = {
        {"Software\\Mirel Software", ERROR_SUCCESS},
        {"software\\MIREL SOFTWARE\\", ERROR_SUCCESS}, // case and trailing separator
        {"Software", ERROR_SUCCESS},                   // a key with keys below it
        {"Software\\Mirel", ERROR_FILE_NOT_FOUND},
        {"Software\\Mirel Software\\Sub", ERROR_FILE_NOT_FOUND},
    };
    for (const auto& [pszKey, nStatus] : kCases)
    {
        CRegistryKey key;
        EXPECT_EQ(nStatus, key.Open(HKEY_LOCAL_MACHINE, pszKey, KEY_ALL_ACCESS)) << pszKey;
        EXPECT_EQ(nStatus == ERROR_SUCCESS, key.m_hKey != nullptr) << pszKey;
    }
    CRegistryKey::SetMachineFile(m_dir.File("absent.reg"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, OpenMirel(KEY_READ));
}

// Close without a key succeeds, queries fail. A second Open closes the first key; one that
// fails leaves the key held as it was.
TEST_F(MachineSettingsTest, OneKeyAtATime)
{
    CRegistryKey key;
    EXPECT_EQ(ERROR_SUCCESS, key.Close());
    EXPECT_EQ("", DefaultValue(key));
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_LOCAL_MACHINE, "Software\\Mirel Software"));
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_LOCAL_MACHINE, "Software\\Other"));
    EXPECT_EQ("default", DefaultValue(key));
    DWORD dw = 7;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.QueryDWord(dw, "ScreenX [mm]"));
    EXPECT_EQ(7u, dw);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.Open(HKEY_LOCAL_MACHINE, "Software\\Nothing"));
    EXPECT_EQ("default", DefaultValue(key));
}

TEST_F(MachineSettingsTest, QueryResults)
{
    CRegistryKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_LOCAL_MACHINE, "Software\\Mirel Software"));
    const std::tuple<const char*, long, DWORD> kCases[] = {
        {"ScreenX [mm]", ERROR_SUCCESS, 320},          {"screeny [MM]", ERROR_SUCCESS, 240},
        {"Short", ERROR_SUCCESS, 0xABCDEF2A},        // one byte replaces the lowest one
        {"Long", ERROR_MORE_DATA, 0xABCDEF01},       // six bytes: the default stays
        {"SharedPath", ERROR_MORE_DATA, 0xABCDEF01}, // text longer than 4 bytes
        {"Missing", ERROR_FILE_NOT_FOUND, 0xABCDEF01},
    };
    for (const auto& [pszName, nStatus, dwExpected] : kCases)
    {
        DWORD dw = 0xABCDEF01;
        EXPECT_EQ(nStatus, key.QueryDWord(dw, pszName)) << pszName;
        EXPECT_EQ(dwExpected, dw) << pszName;
    }
    // a buffer too small learns the size needed and is left alone
    char szPath[64] = "x";
    DWORD nCount = 4;
    EXPECT_EQ(ERROR_MORE_DATA, key.QueryValue(szPath, "SharedPath", &nCount));
    EXPECT_EQ(18u, nCount);
    EXPECT_STREQ("x", szPath);
    nCount = sizeof(szPath);
    EXPECT_EQ(ERROR_SUCCESS, key.QueryValue(szPath, "SharedPath", &nCount));
    EXPECT_STREQ("/opt/mirel\\shared", szPath);
    EXPECT_EQ(18u, nCount);
}

// Without write permission the key opens for reading only; the screen metrics, which ask
// for full access, then keep the logical resolution.
TEST_F(MachineSettingsTest, WithoutWritePermission)
{
    chmod(m_dir.Path().c_str(), 0755);
    chmod(m_dir.File("machine.reg").c_str(), 0444);
    EXPECT_EQ(ERROR_ACCESS_DENIED, RunInChild([] { return int(OpenMirel(KEY_ALL_ACCESS)); }, true));
    EXPECT_EQ(ERROR_SUCCESS, RunInChild([] { return int(OpenMirel(KEY_READ)); }, true));
    auto compute = []
    {
        double dX = 0, dY = 0;
        ComputePixelsPerInch(CScreenCaps(), dX, dY);
        return std::fabs(dX - 96) < 1e-9 && std::fabs(dY - 96) < 1e-9 ? 0 : 1;
    };
    EXPECT_EQ(0, RunInChild(compute, true));
}

// 1024 x 768 pixels on 320 mm x 240 mm: 81.28 pixels per inch instead of the logical 96.
TEST_F(MachineSettingsTest, ScreenSizeOverrides)
{
    const std::tuple<const char*, double, double> kCases[] = {
        {"", 96, 96},
        {"\"ScreenX [mm]\"=dword:00000140\n\"ScreenY [mm]\"=dword:000000f0\n", 81.28, 81.28},
        {"\"ScreenX [mm]\"=dword:00000140\n", 81.28, 96},
        {"\"ScreenY [mm]\"=dword:000000f0\n", 96, 81.28},
        // a size of 0 counts as absent
        {"\"ScreenX [mm]\"=dword:00000000\n\"ScreenY [mm]\"=dword:000000f0\n", 96, 81.28},
        // text instead of a number is longer than 4 bytes and ignored
        {"\"ScreenX [mm]\"=\"320 mm\"\n", 96, 96},
        {nullptr, 120, 144}, // no settings file: the logical resolution as it is
    };
    for (const auto& [pszValues, dExpectedX, dExpectedY] : kCases)
    {
        CScreenCaps caps; // 1024 x 768 at 96 pixels per inch
        if (pszValues)
            UseMachineText(std::string("[Software\\Mirel Software]\n") + pszValues);
        else
            CRegistryKey::SetMachineFile(m_dir.File("absent.reg"));
        caps.m_dPixelsX = pszValues ? 96 : 120;
        caps.m_dPixelsY = pszValues ? 96 : 144;
        double dX = 0, dY = 0;
        ComputePixelsPerInch(caps, dX, dY);
        EXPECT_NEAR(dExpectedX, dX, 1e-9) << (pszValues ? pszValues : "no file");
        EXPECT_NEAR(dExpectedY, dY, 1e-9) << (pszValues ? pszValues : "no file");
    }
}

// Files written as UTF-16; deleted keys and values are not there.
TEST(RegFileParserTest, ReadsUtf16AndDeletions)
{
    std::string strUtf16 = "\xFF\xFE";
    for (char c : std::string("[Software\\A]\r\n\"V\"=dword:00000010\r\n"))
        strUtf16 += {c, '\0'};
    CRegFile file;
    file.Parse(DecodeRegText(strUtf16));
    ASSERT_TRUE(file.HasKey("software\\a"));
    EXPECT_EQ((std::vector<uint8_t>{0x10, 0, 0, 0}), file.GetValues("software\\a").at("v").m_bytes);
    file.Parse("[-Software\\Gone]\n\"X\"=dword:1\n[Software\\Kept]\n\"Y\"=-\n\"Z\"=hex(b):01,00\n");
    EXPECT_FALSE(file.HasKey("software\\gone"));
    ASSERT_TRUE(file.HasKey("software\\kept"));
    const RegValueMap values = file.GetValues("software\\kept");
    EXPECT_EQ(0u, values.count("y"));
    EXPECT_EQ((std::vector<uint8_t>{1, 0}), values.at("z").m_bytes);
}
