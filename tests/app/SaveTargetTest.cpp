// What a save may write to: names near the length limit, link loops, pipes and devices.
#include "HexWriter.h"
#include "TestCommon.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>

namespace
{
// shell command making the target in the folder, path, 0 (saved) or errno
using SaveTarget = CCase<std::tuple<const char*, std::string, int>>;
using SaveTargetTest = ::testing::TestWithParam<SaveTarget>;

// Saved, or failed with the cause, the folder's links and pipes left as they were.
TEST_P(SaveTargetTest, SavesOrFailsLeavingTheTargetAlone)
{
    const auto& [pszMake, strName, nErrno] = GetParam().m_value;
    CTempDir dir;
    ASSERT_EQ(0, std::system(("cd '" + dir.Path() + "' && " + pszMake).c_str()));
    const std::vector<std::string> before = dir.List();
    const std::string strPath = strName[0] == '/' ? strName : dir.File(strName);
    MemoryImage image;
    const uint8_t bytes[] = {1, 2, 3};
    image.AddBytes(0x100, bytes, 3);
    alarm(10); // a save that blocks ends the test program
    errno = 0;
    EXPECT_EQ(nErrno == 0, WriteHexFile(image, strPath.c_str()));
    EXPECT_EQ(nErrno, nErrno ? errno : 0);
    alarm(0);
    EXPECT_EQ(before.empty() && strName[0] != '/' ? std::vector{strName} : before, dir.List());
}

INSTANTIATE_TEST_SUITE_P(
    Targets, SaveTargetTest,
    ::testing::Values(SaveTarget{"NameOf255Bytes", {"true", std::string(251, 'n') + ".hex", 0}},
                      SaveTarget{"LinkLoop",
                                 {"ln -s b.hex a.hex && ln -s a.hex b.hex", "a.hex", ELOOP}},
                      SaveTarget{"Fifo", {"mkfifo pipe.hex", "pipe.hex", EINVAL}},
                      SaveTarget{"DevNull", {"true", "/dev/null", 0}},
                      SaveTarget{"DevFull", {"true", "/dev/full", ENOSPC}}),
    CCaseName());
} // namespace
