#include "TestCommon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

CTempDir::CTempDir()
{
    std::string strTemplate =
        (std::filesystem::temp_directory_path() / "corvane-test-XXXXXX").string();
    if (mkdtemp(strTemplate.data()) == nullptr)
        ADD_FAILURE() << "mkdtemp failed";
    m_strPath = strTemplate;
}

CTempDir::~CTempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(m_strPath, ec);
}

void CTempDir::Write(const std::string& strName, const std::string& strText) const
{
    std::ofstream out(File(strName), std::ios::binary | std::ios::trunc);
    out << strText;
    EXPECT_TRUE(out.good()) << strName;
}

std::vector<std::string> CTempDir::List(const std::string& strSub) const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(File(strSub)))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadFileText(const std::string& strPath)
{
    std::ifstream in(strPath, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string DataFile(const std::string& strName)
{
    return std::string(CORVANE_TEST_DATA) + "/" + strName;
}

int RunInChild(const std::function<int()>& fn, bool bAsNobody)
{
    const pid_t pid = fork();
    if (pid == 0)
    {
        if (bAsNobody && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(100);
        _exit(fn());
    }
    int nStatus = 0;
    waitpid(pid, &nStatus, 0);
    return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
}
