// Saving to disk: a failed save reports failure and keeps the old file; links and
// permission bits survive a save.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace corvane_test;

namespace
{

const char kOldText[] = ":0100000041BE\r\n:00000001FF\r\n";

// Enough text that no stream buffer holds it all.
void FillLargeImage(MemoryImage& image)
{
    Bytes bytes(0x20000);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 13);
    image.AddBytes(0x8000, bytes.data(), static_cast<int>(bytes.size()));
    image.Trim();
}

mode_t ModeOf(const std::string& path)
{
    struct stat st = {};
    EXPECT_EQ(stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

TEST(HexSave, WritesTheFormattedText)
{
    CTempDir dir;
    MemoryImage image;
    FillLargeImage(image);
    const std::string path = dir.Path("out.hex");
    ASSERT_TRUE(WriteHexFile(image, path.c_str()));
    EXPECT_EQ(ReadFileBytes(path), FormatHexText(image));

    // a shorter image replaces a longer file entirely
    MemoryImage small;
    small.AddBytes(0x100, ByteRun(1, 3).data(), 3);
    ASSERT_TRUE(WriteHexFile(small, path.c_str()));
    EXPECT_EQ(ReadFileBytes(path), ":03010000010203F6\r\n:00000001FF\r\n");
    EXPECT_EQ(dir.List(), std::vector<std::string>{"out.hex"});
}

TEST(HexSave, UnwritablePathsFail)
{
    CTempDir dir;
    ASSERT_EQ(mkdir(dir.Path("folder.hex").c_str(), 0755), 0);
    MemoryImage image;
    image.AddBytes(0x100, ByteRun(1, 3).data(), 3);
    EXPECT_FALSE(WriteHexFile(image, dir.Path("missing/out.hex").c_str()));
    EXPECT_FALSE(WriteHexFile(image, dir.Path("folder.hex").c_str()));
    struct stat st = {};
    ASSERT_EQ(stat(dir.Path("folder.hex").c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(dir.List(), std::vector<std::string>{"folder.hex"});
}

TEST(HexSave, FullDeviceFails)
{
    struct stat st = {};
    if (stat("/dev/full", &st) != 0 || !S_ISCHR(st.st_mode))
        GTEST_SKIP() << "no /dev/full";
    MemoryImage empty;
    EXPECT_FALSE(WriteHexFile(empty, "/dev/full"));
    MemoryImage image;
    FillLargeImage(image);
    EXPECT_FALSE(WriteHexFile(image, "/dev/full"));
    ASSERT_EQ(stat("/dev/full", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode)) << "the device must not be replaced";
}

// Runs the save in a child whose file size limit is far below the output size.
int SaveWithSizeLimit(const MemoryImage& image, const std::string& path, rlim_t nLimit)
{
    const pid_t pid = fork();
    if (pid == 0)
    {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {nLimit, nLimit};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            _exit(3);
        _exit(WriteHexFile(image, path.c_str()) ? 1 : 0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

TEST(HexSave, FailedWriteKeepsTheOldFile)
{
    CTempDir dir;
    const std::string path = dir.Path("firmware.hex");
    WriteFileBytes(path, kOldText);
    MemoryImage image;
    FillLargeImage(image);
    for (rlim_t nLimit : {0, 100, 4096, 65536})
    {
        EXPECT_EQ(SaveWithSizeLimit(image, path, nLimit), 0) << "limit " << nLimit;
        EXPECT_EQ(ReadFileBytes(path), kOldText) << "limit " << nLimit;
        EXPECT_EQ(dir.List(), std::vector<std::string>{"firmware.hex"}) << "limit " << nLimit;
    }
}

TEST(HexSave, FailedWriteOfANewFileLeavesNothing)
{
    CTempDir dir;
    MemoryImage image;
    FillLargeImage(image);
    EXPECT_EQ(SaveWithSizeLimit(image, dir.Path("new.hex"), 4096), 0);
    EXPECT_EQ(dir.List(), std::vector<std::string>{});
}

TEST(HexSave, SymbolicLinksAreWrittenThrough)
{
    struct Case
    {
        const char* pszSave;   // path saved to, relative to the directory
        const char* pszTarget; // file that must receive the text
        std::vector<std::pair<const char*, const char*>> links; // link, what it points to
    };
    const Case kCases[] = {
        {"a/link.hex", "b/real.hex", {{"a/link.hex", "../b/real.hex"}}},
        {"a/second.hex",
         "b/real.hex",
         {{"a/first.hex", "../b/real.hex"}, {"a/second.hex", "first.hex"}}},
        {"a/abs.hex", "b/real.hex", {{"a/abs.hex", nullptr}}},
    };
    MemoryImage image;
    image.AddBytes(0x100, ByteRun(1, 3).data(), 3);
    for (const Case& c : kCases)
    {
        CTempDir dir;
        ASSERT_EQ(mkdir(dir.Path("a").c_str(), 0755), 0);
        ASSERT_EQ(mkdir(dir.Path("b").c_str(), 0755), 0);
        WriteFileBytes(dir.Path(c.pszTarget), kOldText);
        for (const auto& [pszLink, pszTo] : c.links)
        {
            const std::string to = pszTo ? pszTo : dir.Path(c.pszTarget);
            ASSERT_EQ(symlink(to.c_str(), dir.Path(pszLink).c_str()), 0);
        }
        const std::vector<std::string> before = dir.List("a");

        ASSERT_TRUE(WriteHexFile(image, dir.Path(c.pszSave).c_str())) << c.pszSave;
        EXPECT_EQ(ReadFileBytes(dir.Path(c.pszTarget)), FormatHexText(image)) << c.pszSave;
        for (const auto& [pszLink, pszTo] : c.links)
        {
            struct stat st = {};
            ASSERT_EQ(lstat(dir.Path(pszLink).c_str(), &st), 0);
            EXPECT_TRUE(S_ISLNK(st.st_mode)) << pszLink << " must stay a link";
        }
        EXPECT_EQ(dir.List("a"), before) << c.pszSave;
        EXPECT_EQ(dir.List("b"), std::vector<std::string>{"real.hex"}) << c.pszSave;
    }
}

TEST(HexSave, TargetKeepsItsPermissionBits)
{
    MemoryImage image;
    image.AddBytes(0x100, ByteRun(1, 3).data(), 3);
    for (mode_t mode : {0600, 0640, 0604, 0755})
    {
        CTempDir dir;
        const std::string path = dir.Path("keep.hex");
        WriteFileBytes(path, kOldText);
        ASSERT_EQ(chmod(path.c_str(), mode), 0);
        ASSERT_TRUE(WriteHexFile(image, path.c_str()));
        EXPECT_EQ(ModeOf(path), mode);
        EXPECT_EQ(ReadFileBytes(path), FormatHexText(image));
    }
}

TEST(HexSave, NewFileGetsTheUsualPermissions)
{
    MemoryImage image;
    image.AddBytes(0x100, ByteRun(1, 3).data(), 3);
    const mode_t saved = umask(022);
    for (mode_t mask : {022, 027, 077})
    {
        umask(mask);
        CTempDir dir;
        const std::string path = dir.Path("new.hex");
        ASSERT_TRUE(WriteHexFile(image, path.c_str()));
        EXPECT_EQ(ModeOf(path), 0666 & ~mask) << "umask " << std::oct << mask;
    }
    umask(saved);
}

TEST(HexSave, RelativePathsInTheWorkingDirectory)
{
    CTempDir dir;
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    WriteFileBytes("real.hex", kOldText);
    ASSERT_EQ(symlink("real.hex", "link.hex"), 0);
    MemoryImage image;
    image.AddBytes(0x100, ByteRun(1, 3).data(), 3);
    const bool bNew = WriteHexFile(image, "new.hex");
    const bool bLink = WriteHexFile(image, "link.hex");
    std::filesystem::current_path(previous);
    EXPECT_TRUE(bNew);
    EXPECT_TRUE(bLink);
    EXPECT_EQ(ReadFileBytes(dir.Path("new.hex")), FormatHexText(image));
    EXPECT_EQ(ReadFileBytes(dir.Path("real.hex")), FormatHexText(image));
    EXPECT_EQ(dir.List(), (std::vector<std::string>{"link.hex", "new.hex", "real.hex"}));
}

// A file its owner made read-only is not replaced by a save, as opening it for
// writing would fail. Root may write anything, so the save runs as nobody.
TEST(HexSave, ReadOnlyTargetIsNotReplaced)
{
    CTempDir dir;
    const std::string path = dir.Path("locked.hex");
    WriteFileBytes(path, kOldText);
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    MemoryImage image;
    image.AddBytes(0x100, ByteRun(1, 3).data(), 3);
    if (geteuid() != 0)
    {
        EXPECT_FALSE(WriteHexFile(image, path.c_str()));
    }
    else
    {
        const uid_t nobody = 65534;
        ASSERT_EQ(chown(dir.Path().c_str(), nobody, nobody), 0);
        ASSERT_EQ(chown(path.c_str(), nobody, nobody), 0);
        const pid_t pid = fork();
        if (pid == 0)
        {
            if (setgid(nobody) != 0 || setuid(nobody) != 0)
                _exit(3);
            _exit(WriteHexFile(image, path.c_str()) ? 1 : 0);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        ASSERT_NE(WEXITSTATUS(status), 3) << "could not become nobody";
        EXPECT_EQ(WEXITSTATUS(status), 0) << "the save must fail";
    }
    EXPECT_EQ(ReadFileBytes(path), kOldText);
    EXPECT_EQ(ModeOf(path), 0444u);
    EXPECT_EQ(dir.List(), std::vector<std::string>{"locked.hex"});
}

} // namespace
