// Saving to disk: a failed save reports failure and keeps the old file; links and
// permission bits survive a save.
#include "TestSupport.h"

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

const char kOldText[] = ":0100000041BE\r\n:00000001FF\r\n";
const char kSmallText[] = ":03010000010203F6\r\n:00000001FF\r\n";

// Enough text that no stream buffer holds it all; or three bytes at 0x100.
void Fill(MemoryImage& image, bool bLarge)
{
    FillImage(image, {{bLarge ? 0x8000u : 0x100u, bLarge ? ByteRun(0, 0x20000) : ByteRun(1, 3)}});
}

mode_t ModeOf(const std::string& path)
{
    struct stat st = {};
    EXPECT_EQ(stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

// Every write, flush and close error counts, a full disk included.
TEST(HexSave, FailuresAreReported)
{
    CTempDir dir;
    ASSERT_EQ(mkdir(dir.File("folder.hex").c_str(), 0755), 0);
    struct stat st = {};
    const bool bFull = stat("/dev/full", &st) == 0 && S_ISCHR(st.st_mode);
    for (bool bLarge : {false, true})
    {
        MemoryImage image;
        Fill(image, bLarge);
        EXPECT_FALSE(WriteHexFile(image, dir.File("missing/out.hex").c_str()));
        EXPECT_FALSE(WriteHexFile(image, dir.File("folder.hex").c_str()));
        EXPECT_TRUE(!bFull || !WriteHexFile(image, "/dev/full"));
    }
    EXPECT_EQ(dir.List(), std::vector<std::string>{"folder.hex"});
    EXPECT_EQ(dir.List("folder.hex"), std::vector<std::string>{});
    EXPECT_TRUE(!bFull || (stat("/dev/full", &st) == 0 && S_ISCHR(st.st_mode)));
}

// Under a file size limit far below the text's size.
TEST(HexSave, FailedWriteKeepsTheOldFileOrLeavesNone)
{
    MemoryImage image;
    Fill(image, true);
    for (bool bOld : {true, false})
        for (rlim_t nLimit : {0, 100, 4096, 65536})
        {
            CTempDir dir;
            if (bOld)
                dir.Write("firmware.hex", kOldText);
            auto save = [&]
            {
                signal(SIGXFSZ, SIG_IGN);
                const struct rlimit limit = {nLimit, nLimit};
                return setrlimit(RLIMIT_FSIZE, &limit) == 0 &&
                       !WriteHexFile(image, dir.File("firmware.hex").c_str());
            };
            EXPECT_EQ(RunInChild(save, false), 1) << nLimit;
            EXPECT_EQ(dir.List(),
                      bOld ? std::vector<std::string>{"firmware.hex"} : std::vector<std::string>{});
            EXPECT_EQ(ReadFileText(dir.File("firmware.hex")), bOld ? kOldText : "") << nLimit;
        }
}

TEST(HexSave, SymbolicLinksAreWrittenThrough)
{
    // the name saved to, then each link and what it points to (null: the file, absolute)
    const std::vector<std::pair<const char*, const char*>> kCases[] = {
        {{"a/link.hex", "../b/real.hex"}},
        {{"a/second.hex", "first.hex"}, {"a/first.hex", "../b/real.hex"}},
        {{"a/abs.hex", nullptr}},
    };
    MemoryImage image;
    Fill(image, false);
    for (const auto& links : kCases)
    {
        CTempDir dir;
        ASSERT_EQ(mkdir(dir.File("a").c_str(), 0755), 0);
        ASSERT_EQ(mkdir(dir.File("b").c_str(), 0755), 0);
        dir.Write("b/real.hex", kOldText);
        for (const auto& [pszLink, pszTo] : links)
            std::filesystem::create_symlink(pszTo ? pszTo : dir.File("b/real.hex"),
                                            dir.File(pszLink));
        const std::vector<std::string> before = dir.List("a");
        ASSERT_TRUE(WriteHexFile(image, dir.File(links[0].first).c_str())) << links[0].first;
        EXPECT_EQ(ReadFileText(dir.File("b/real.hex")), kSmallText);
        for (const auto& [pszLink, pszTo] : links)
            EXPECT_TRUE(std::filesystem::is_symlink(dir.File(pszLink))) << pszLink;
        EXPECT_EQ(dir.List("a"), before);
        EXPECT_EQ(dir.List("b"), std::vector<std::string>{"real.hex"});
    }
}

// A longer old file is replaced whole and keeps its permission bits; a new file gets
// those the umask leaves.
TEST(HexSave, PermissionBitsAreKept)
{
    MemoryImage image, large;
    Fill(image, false);
    Fill(large, true);
    for (mode_t mode : {0600, 0640, 0604, 0755})
    {
        CTempDir dir;
        ASSERT_TRUE(WriteHexFile(large, dir.File("keep.hex").c_str()));
        ASSERT_EQ(chmod(dir.File("keep.hex").c_str(), mode), 0);
        ASSERT_TRUE(WriteHexFile(image, dir.File("keep.hex").c_str()));
        EXPECT_EQ(ModeOf(dir.File("keep.hex")), mode);
        EXPECT_EQ(ReadFileText(dir.File("keep.hex")), kSmallText);
        EXPECT_EQ(dir.List(), std::vector<std::string>{"keep.hex"});
    }
    const mode_t saved = umask(022);
    for (mode_t mask : {022, 027, 077})
    {
        umask(mask);
        CTempDir dir;
        ASSERT_TRUE(WriteHexFile(image, dir.File("new.hex").c_str()));
        EXPECT_EQ(ModeOf(dir.File("new.hex")), 0666 & ~mask) << "umask " << std::oct << mask;
    }
    umask(saved);
}

TEST(HexSave, RelativePathsInTheWorkingDirectory)
{
    CTempDir dir;
    dir.Write("real.hex", kOldText);
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    std::filesystem::create_symlink("real.hex", "link.hex");
    MemoryImage image;
    Fill(image, false);
    const bool bSaved = WriteHexFile(image, "new.hex") && WriteHexFile(image, "link.hex");
    std::filesystem::current_path(previous);
    EXPECT_TRUE(bSaved);
    EXPECT_EQ(ReadFileText(dir.File("new.hex")), kSmallText);
    EXPECT_EQ(ReadFileText(dir.File("real.hex")), kSmallText);
    EXPECT_EQ(dir.List(), (std::vector<std::string>{"link.hex", "new.hex", "real.hex"}));
}

// A file its owner made read-only is not replaced by a save, as opening it for writing
// would fail.
TEST(HexSave, ReadOnlyTargetIsNotReplaced)
{
    CTempDir dir;
    const std::string path = dir.File("locked.hex");
    dir.Write("locked.hex", kOldText);
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    // root may write anything, so root saves as nobody, who owns the folder and file
    ASSERT_TRUE(geteuid() != 0 || (chown(dir.Path().c_str(), 65534, 65534) == 0 &&
                                   chown(path.c_str(), 65534, 65534) == 0));
    MemoryImage image;
    Fill(image, false);
    EXPECT_EQ(RunInChild([&] { return int(WriteHexFile(image, path.c_str())); }, true), 0)
        << "1: the save succeeded, 100: could not become nobody";
    EXPECT_EQ(ReadFileText(path), kOldText);
    EXPECT_EQ(ModeOf(path), 0444u);
    EXPECT_EQ(dir.List(), std::vector<std::string>{"locked.hex"});
}

} // namespace
