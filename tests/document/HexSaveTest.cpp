// Saving to disk: a failed save reports failure and keeps the old file or leaves none;
// links and permission bits survive a save; no temporary file is left behind; names near the
// length limit, link loops, pipes and devices.
#include "TestSupport.h"

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace
{

// A shell command makes the files of folder w/, beside new.hex (the text a save writes);
// the save runs in w/ under umask 027, then a shell test checks w/.
struct SaveCase
{
    const char *pszName, *pszMake;
    std::string strTarget;
    bool bSaved;
    const char* pszCheck;
    long nFileSizeLimit = -1;
    bool bAsNobody = false;
};

const SaveCase kCases[] = {
    {"NewFile", "true", "f.hex", true, "cmp f.hex ../new.hex && [ $(stat -c %a f.hex) = 640 ]"},
    {"OldFileKeepsItsBits", "echo old >f.hex && chmod 604 f.hex", "f.hex", true,
     "cmp f.hex ../new.hex && [ $(stat -c %a f.hex) = 604 ]"},
    {"LinksWrittenThrough",
     "mkdir a b && echo old >b/real.hex && ln -s ../b/real.hex a/one.hex && ln -s one.hex "
     "a/two.hex",
     "a/two.hex", true, "cmp b/real.hex ../new.hex && [ -L a/one.hex -a -L a/two.hex ]"},
    {"AbsoluteLink", "echo old >real.hex && ln -s \"$PWD/real.hex\" f.hex", "f.hex", true,
     "cmp real.hex ../new.hex && [ -L f.hex ]"},
    {"MissingFolder", "true", "missing/f.hex", false, "[ -z \"$(ls -A)\" ]"},
    {"Folder", "mkdir f.hex", "f.hex", false, "[ -z \"$(ls -A f.hex)\" ]"},
    // root may write anything, so root saves as nobody, who owns the folder and file
    {"ReadOnlyFile",
     "echo old >f.hex && chmod 444 f.hex && (chown -R 65534:65534 .. 2>/dev/null; true)", "f.hex",
     false, "[ \"$(cat f.hex)\" = old -a $(stat -c %a f.hex) = 444 ]", -1, true},
    {"FileSizeLimitKeepsTheOldFile", "echo old >f.hex", "f.hex", false,
     "[ \"$(cat f.hex)\" = old ]", 4096},
    {"FileSizeLimitLeavesNoFile", "true", "f.hex", false, "[ -z \"$(ls -A)\" ]", 0},
    {"NameOf255Bytes", "true", std::string(251, 'n') + ".hex", true, "cmp n*.hex ../new.hex"},
    {"LinkLoop", "ln -s b.hex a.hex && ln -s a.hex b.hex", "a.hex", false,
     "[ -L a.hex -a -L b.hex ]"},
    {"Fifo", "mkfifo f.hex", "f.hex", false, "[ -p f.hex ]"},
    {"DevNull", "true", "/dev/null", true, "[ -c /dev/null -a -z \"$(ls -A)\" ]"},
    {"DevFull", "true", "/dev/full", false, "[ -c /dev/full -a -z \"$(ls -A)\" ]"},
};

void PrintTo(const SaveCase& c, std::ostream* os)
{
    *os << c.pszName;
}

class HexSave : public testing::TestWithParam<SaveCase>
{
};

TEST_P(HexSave, SavesOrFailsKeepingTheOldFile)
{
    const SaveCase& c = GetParam();
    MemoryImage image; // enough text that no stream buffer holds it all
    FillImage(image, {{0x8000, Sequence(0x20000)}});
    CTempDir dir;
    dir.Write("new.hex", FormatHexText(image));
    const std::string cd = "cd '" + dir.Path() + "/w' && ";
    ASSERT_EQ(std::system(("mkdir " + dir.File("w") + " && " + cd + c.pszMake).c_str()), 0);
    auto save = [&]
    {
        signal(SIGXFSZ, SIG_IGN);
        const struct rlimit limit = {rlim_t(c.nFileSizeLimit), rlim_t(c.nFileSizeLimit)};
        umask(027);
        alarm(10); // a save that blocks ends the child
        if (chdir(dir.File("w").c_str()) != 0 ||
            (c.nFileSizeLimit >= 0 && setrlimit(RLIMIT_FSIZE, &limit) != 0))
            return 99;
        return int(WriteHexFile(image, c.strTarget.c_str()));
    };
    EXPECT_EQ(RunInChild(save, c.bAsNobody), int(c.bSaved)) << "100: could not become nobody";
    EXPECT_EQ(std::system((cd + c.pszCheck + " && [ -z \"$(find . -name '.?*')\" ]").c_str()), 0);
}

INSTANTIATE_TEST_SUITE_P(Targets, HexSave, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.pszName); });

} // namespace
