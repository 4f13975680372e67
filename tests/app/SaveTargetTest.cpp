// What a save may write to: names near the length limit, link loops, pipes and devices.
#include "HexWriter.h"
#include "TestCommon.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace
{
// name, shell command making the target in the folder, path, 0 (saved) or errno
using SaveTarget = std::tuple<const char*, const char*, std::string, int>;
const SaveTarget kTargets[] = {
    {"NameOf255Bytes", "true", std::string(251, 'n') + ".hex", 0},
    {"LinkLoop", "ln -s b.hex a.hex && ln -s a.hex b.hex", "a.hex", ELOOP},
    {"Fifo", "mkfifo pipe.hex", "pipe.hex", EINVAL},
    {"DevNull", "true", "/dev/null", 0},
    {"DevFull", "true", "/dev/full", ENOSPC},
};

class SaveTargetTest : public ::testing::TestWithParam<SaveTarget>
{
};

// Saved, or failed with the cause, the folder's links and pipes left as they were.
TEST_P(SaveTargetTest, SavesOrFailsLeavingTheTargetAlone)
{
    const auto& [pszName, pszMake, strName, nErrno] = GetParam();
    CTempDir dir;
    ASSERT_EQ(0, std::system(("cd '" + dir.Path() + "' && " + pszMake).c_str()));
    const std::vector<std::string> before = dir.List();
    const std::string strPath = strName[0] == '/' ? strName : dir.File(strName);
    MemoryImage image;
    const uint8_t bytes[] = {1, 2, 3};
    image.AddBytes(0x100, bytes, 3);
    alarm(10); // a save that blocks ends the test program
    errno = 0;
    EXPECT_EQ(nErrno == 0, WriteHexFile(image, strPath.c_str())) << pszName;
    EXPECT_EQ(nErrno, nErrno ? errno : 0);
    alarm(0);
    EXPECT_EQ(before.empty() && strName[0] != '/' ? std::vector{strName} : before, dir.List());
}

INSTANTIATE_TEST_SUITE_P(Targets, SaveTargetTest, ::testing::ValuesIn(kTargets),
                         [](const auto& info) { return std::string(std::get<0>(info.param)); });
} // namespace
