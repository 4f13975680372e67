// What a save may write to: names near the length limit, link loops, pipes and devices.
#include "HexParser.h"
#include "TestCommon.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace
{
struct SaveTarget
{
    const char* pszName;
    // makes the target in the folder and returns the path to save to
    std::string (*make)(const std::string& strDir);
    bool bSaved;
    int nErrno; // when not saved
};

std::string LongName(const std::string& strDir)
{
    return strDir + "/" + std::string(251, 'n') + ".hex";
}

std::string LinkLoop(const std::string& strDir)
{
    EXPECT_EQ(symlink("b.hex", (strDir + "/a.hex").c_str()), 0);
    EXPECT_EQ(symlink("a.hex", (strDir + "/b.hex").c_str()), 0);
    return strDir + "/a.hex";
}

std::string Fifo(const std::string& strDir)
{
    EXPECT_EQ(mkfifo((strDir + "/pipe.hex").c_str(), 0644), 0);
    return strDir + "/pipe.hex";
}

const SaveTarget kTargets[] = {
    {"NameOf255Bytes", LongName, true, 0},
    {"LinkLoop", LinkLoop, false, ELOOP},
    {"Fifo", Fifo, false, EINVAL},
    {"DevNull", [](const std::string&) { return std::string("/dev/null"); }, true, 0},
    {"DevFull", [](const std::string&) { return std::string("/dev/full"); }, false, ENOSPC},
};

void PrintTo(const SaveTarget& target, std::ostream* pOut)
{
    *pOut << target.pszName;
}

class SaveTargetTest : public ::testing::TestWithParam<SaveTarget>
{
};

// The folder holds afterwards what it held before, plus the saved file.
TEST_P(SaveTargetTest, SavesOrFailsLeavingTheTargetAlone)
{
    const SaveTarget& target = GetParam();
    CTempDir dir;
    const std::string strPath = target.make(dir.Path());
    const std::vector<std::string> before = dir.List();
    MemoryImage image;
    const uint8_t bytes[] = {1, 2, 3};
    image.AddBytes(0x100, bytes, 3);
    image.Trim();
    alarm(10); // a save that blocks ends the test program
    errno = 0;
    const bool bSaved = WriteHexFile(image, strPath.c_str());
    const int nErrno = errno;
    alarm(0);
    EXPECT_EQ(target.bSaved, bSaved);
    if (!bSaved)
    {
        EXPECT_EQ(target.nErrno, nErrno) << strerror(nErrno);
    }
    std::vector<std::string> expected = before;
    if (bSaved && strPath.rfind(dir.Path(), 0) == 0 && before.empty())
        expected = {strPath.substr(dir.Path().size() + 1)};
    EXPECT_EQ(expected, dir.List());
    struct stat st = {};
    if (target.make == LinkLoop || target.make == Fifo)
    {
        ASSERT_EQ(lstat(strPath.c_str(), &st), 0);
        EXPECT_EQ(target.make == Fifo ? S_IFIFO : S_IFLNK, st.st_mode & S_IFMT);
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, SaveTargetTest, ::testing::ValuesIn(kTargets),
                         [](const auto& info) { return std::string(info.param.pszName); });
} // namespace
