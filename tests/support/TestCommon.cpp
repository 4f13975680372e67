#include "TestCommon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

CTempDir::CTempDir()
    : m_strPath((std::filesystem::temp_directory_path() / "corvane-test-XXXXXX").string())
{
    if (mkdtemp(m_strPath.data()) == nullptr)
        ADD_FAILURE() << "mkdtemp failed";
}

CTempDir::~CTempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(m_strPath, ec);
}

void CTempDir::Write(const std::string& strName, const std::string& strText) const
{
    EXPECT_TRUE((std::ofstream(File(strName), std::ios::binary) << strText).good()) << strName;
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
    std::ostringstream text;
    text << std::ifstream(strPath, std::ios::binary).rdbuf();
    return text.str();
}

std::vector<unsigned char> Sequence(int nCount, int nFirst, int nStep)
{
    std::vector<unsigned char> data(static_cast<size_t>(nCount));
    for (int i = 0; i < nCount; ++i)
        data[static_cast<size_t>(i)] = static_cast<unsigned char>(nFirst + i * nStep);
    return data;
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
