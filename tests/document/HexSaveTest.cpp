// Saving to disk: a failed save reports failure and keeps the old file or leaves none;
// links and permission bits survive a save; no temporary file is left behind; names near the
// length limit, link loops, pipes and devices.
#include "TestSupport.h"

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace
{
// The rows of tables/saves.txt.
using HexSave = testing::TestWithParam<CRow>;

TEST_P(HexSave, SavesOrFailsKeepingTheOldFile)
{
    const CRow& c = GetParam();
    const long nFileSizeLimit = std::stol(c.at(5));
    MemoryImage image; // enough text that no stream buffer holds it all
    FillImage(image, {{0x8000, Sequence(0x20000)}});
    CTempDir dir;
    dir.Write("new.hex", FormatHexText(image));
    const std::string cd = "cd '" + dir.Path() + "/w' && ";
    ASSERT_EQ(std::system(("mkdir " + dir.File("w") + " && " + cd + c.at(1)).c_str()), 0);
    auto save = [&]
    {
        signal(SIGXFSZ, SIG_IGN);
        const struct rlimit limit = {rlim_t(nFileSizeLimit), rlim_t(nFileSizeLimit)};
        umask(027);
        alarm(10); // a save that blocks ends the child
        if (chdir(dir.File("w").c_str()) != 0 ||
            (nFileSizeLimit >= 0 && setrlimit(RLIMIT_FSIZE, &limit) != 0))
            return 99;
        return int(WriteHexFile(image, c.at(2).c_str()));
    };
    EXPECT_EQ(RunInChild(save, c.at(6) == "1"), std::stoi(c.at(3)))
        << "100: could not become nobody";
    EXPECT_EQ(std::system((cd + c.at(4) + " && [ -z \"$(find . -name '.?*')\" ]").c_str()), 0);
}

INSTANTIATE_TEST_SUITE_P(Targets, HexSave, testing::ValuesIn(ReadTable("tables/saves.txt")),
                         CRowName());

} // namespace
