// The registry key wrapper over the machine-wide settings file, and that file's parser.
#include "AppTestSupport.h"
#include "RegFileParser.h"
#include "RegistryKey.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
const char* const kMachineText = "Windows Registry Editor Version 5.00\r\n"
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

class RegistryKeyTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir.Write("machine.reg", kMachineText);
        CRegistryKey::SetMachineFile(m_dir.File("machine.reg"));
    }
    void TearDown() override { CRegistryKey::SetMachineFile(std::string()); }

    CTempDir m_dir;
};

// Runs fn as an unprivileged user when the tests run as root, so that file modes count.
int RunWithoutPrivileges(int (*fn)())
{
    const pid_t pid = fork();
    if (pid == 0)
    {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(100);
        _exit(fn());
    }
    int nStatus = 0;
    waitpid(pid, &nStatus, 0);
    return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
}

std::string DefaultValue(CRegistryKey& key)
{
    char szValue[16] = {};
    DWORD nCount = sizeof(szValue);
    return key.QueryValue(szValue, "", &nCount) == ERROR_SUCCESS ? szValue : "";
}
} // namespace

TEST_F(RegistryKeyTest, WithoutKeyCloseSucceedsAndQueriesFail)
{
    CRegistryKey key;
    EXPECT_EQ(ERROR_SUCCESS, key.Close());
    DWORD dw = 5;
    EXPECT_NE(ERROR_SUCCESS, key.QueryDWord(dw, "ScreenX [mm]"));
    EXPECT_EQ(5u, dw);
}

TEST_F(RegistryKeyTest, OpenResults)
{
    const struct
    {
        const char* pszKey;
        long nStatus;
    } kCases[] = {
        {"Software\\Mirel Software", ERROR_SUCCESS},
        {"software\\MIREL SOFTWARE\\", ERROR_SUCCESS}, // case and trailing separator
        {"Software", ERROR_SUCCESS},                   // a key with keys below it
        {"Software\\Mirel", ERROR_FILE_NOT_FOUND},
        {"Software\\Mirel Software\\Sub", ERROR_FILE_NOT_FOUND},
    };
    for (const auto& c : kCases)
    {
        CRegistryKey key;
        EXPECT_EQ(c.nStatus, key.Open(HKEY_LOCAL_MACHINE, c.pszKey, KEY_ALL_ACCESS)) << c.pszKey;
        EXPECT_EQ(c.nStatus == ERROR_SUCCESS, key.m_hKey != nullptr) << c.pszKey;
    }
    CRegistryKey::SetMachineFile(m_dir.File("absent.reg"));
    CRegistryKey key;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.Open(HKEY_LOCAL_MACHINE, "Software\\Mirel Software"));
}

// A second Open closes the first key; one that fails leaves the key held as it was.
TEST_F(RegistryKeyTest, SecondOpenClosesTheFirst)
{
    CRegistryKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_LOCAL_MACHINE, "Software\\Mirel Software"));
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_LOCAL_MACHINE, "Software\\Other"));
    EXPECT_EQ("default", DefaultValue(key));
    DWORD dw = 7;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.QueryDWord(dw, "ScreenX [mm]"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.Open(HKEY_LOCAL_MACHINE, "Software\\Nothing"));
    EXPECT_EQ("default", DefaultValue(key));
}

TEST_F(RegistryKeyTest, QueryDWordResults)
{
    CRegistryKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_LOCAL_MACHINE, "Software\\Mirel Software"));
    const struct
    {
        const char* pszName;
        long nStatus;
        DWORD dwExpected;
    } kCases[] = {
        {"ScreenX [mm]", ERROR_SUCCESS, 320},          {"screeny [MM]", ERROR_SUCCESS, 240},
        {"Short", ERROR_SUCCESS, 0xABCDEF2A},        // one byte replaces the lowest one
        {"Long", ERROR_MORE_DATA, 0xABCDEF01},       // six bytes: the default stays
        {"SharedPath", ERROR_MORE_DATA, 0xABCDEF01}, // text longer than 4 bytes
        {"Missing", ERROR_FILE_NOT_FOUND, 0xABCDEF01},
    };
    for (const auto& c : kCases)
    {
        DWORD dw = 0xABCDEF01;
        EXPECT_EQ(c.nStatus, key.QueryDWord(dw, c.pszName)) << c.pszName;
        EXPECT_EQ(c.dwExpected, dw) << c.pszName;
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

TEST_F(RegistryKeyTest, WriteAccessNeedsWritePermission)
{
    chmod(m_dir.Path().c_str(), 0755);
    chmod(m_dir.File("machine.reg").c_str(), 0444);
    auto openAll = []
    {
        return int(
            CRegistryKey().Open(HKEY_LOCAL_MACHINE, "Software\\Mirel Software", KEY_ALL_ACCESS));
    };
    auto openRead = []
    { return int(CRegistryKey().Open(HKEY_LOCAL_MACHINE, "Software\\Mirel Software", KEY_READ)); };
    EXPECT_EQ(ERROR_ACCESS_DENIED, RunWithoutPrivileges(openAll));
    EXPECT_EQ(ERROR_SUCCESS, RunWithoutPrivileges(openRead));
}

// Files written as UTF-16; deleted keys and values are not there.
TEST(RegFileParserTest, ReadsUtf16AndDeletions)
{
    const std::string strText = "[Software\\A]\r\n\"V\"=dword:00000010\r\n";
    std::string strUtf16 = "\xFF\xFE";
    for (char c : strText)
        strUtf16 += {c, '\0'};
    CRegFile file;
    file.Parse(DecodeRegText(strUtf16));
    ASSERT_TRUE(file.HasKey("software\\a"));
    EXPECT_EQ((std::vector<uint8_t>{0x10, 0, 0, 0}), file.GetValues("software\\a").at("v"));

    file.Parse("[-Software\\Gone]\n\"X\"=dword:1\n[Software\\Kept]\n\"Y\"=-\n\"Z\"=hex(b):01,00\n");
    EXPECT_FALSE(file.HasKey("software\\gone"));
    ASSERT_TRUE(file.HasKey("software\\kept"));
    const RegValueMap values = file.GetValues("software\\kept");
    EXPECT_EQ(0u, values.count("y"));
    EXPECT_EQ((std::vector<uint8_t>{1, 0}), values.at("z"));
}
