#include "TestCommon.h"

#include <gtest/gtest.h>

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

std::vector<CRow> ReadTable(const std::string& strName)
{
    std::vector<CRow> rows;
    std::istringstream in(ReadFileText(DataFile(strName)));
    for (std::string strLine; std::getline(in, strLine);)
        if (!strLine.empty() && strLine[0] != '#')
        {
            rows.emplace_back();
            std::istringstream cells(strLine + "|");
            for (std::string strCell; std::getline(cells, strCell, '|');)
            {
                const size_t nFirst = strCell.find_first_not_of(' ');
                const size_t nLast = strCell.find_last_not_of(' ');
                rows.back().push_back(
                    nFirst == std::string::npos ? "" : strCell.substr(nFirst, nLast - nFirst + 1));
            }
        }
    EXPECT_FALSE(rows.empty()) << "no rows in " << strName; // a lost file must not pass
    return rows;
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
