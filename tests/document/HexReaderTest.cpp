// Digit conversion and the reading procedure as a whole: what it refuses, clearing, and a
// file that changes between the two passes.
#include "TestSupport.h"

#include <cctype>
#include <fstream>

#include <sys/stat.h>

namespace
{

// Bytes >= 0x80 must not reach tolower as negative values; they count as the digit 0.
TEST(HexParser, EveryByteValueAsOneDigit)
{
    for (int c = 0; c < 256; ++c)
    {
        const char ch = static_cast<char>(c);
        const int nExpected = std::isxdigit(c) ? std::stoi(std::string(1, ch), nullptr, 16) : 0;
        EXPECT_EQ(CHexParser().ParseHex(&ch, 1), nExpected) << "byte " << c;
    }
}

// The image is cleared before the file is opened, so a failed read leaves it empty, and
// a segment of the old image never takes in a record of the new one. Only regular files
// are read: a FIFO without writer must not block, /dev/zero must not run forever.
TEST(HexReader, ReadReplacesTheWholeImage)
{
    CTempDir dir;
    dir.Write("empty.hex", "");
    dir.Write("eof.hex", ":00000001FF\r\n");
    dir.Write("text.hex", "Intel HEX? no.\n");
    dir.Write("bases.hex", ":020000040001F9\n:020000021000EC\n:0400000512345678E8\n");
    dir.Write("data.hex", ":0400100001020304E2\n:00000001FF\n");
    ASSERT_EQ(mkdir(dir.File("folder.hex").c_str(), 0755), 0);
    ASSERT_EQ(mkfifo(dir.File("fifo.hex").c_str(), 0644), 0);
    for (const std::string name : {"missing.hex", "empty.hex", "eof.hex", "text.hex", "bases.hex",
                                   "folder.hex", "fifo.hex", "/dev/zero", "data.hex"})
    {
        const bool bData = name == "data.hex";
        MemoryImage image;
        image.AddBytes(0x0C, ByteRun(0xC0, 4).data(), 4); // ends where data.hex starts
        const std::string path = name[0] == '/' ? name : dir.File(name);
        EXPECT_EQ(ReadHexFile(image, path.c_str()), bData) << name;
        EXPECT_EQ(Dump(image), bData ? std::vector<std::string>{"00000010 4 01020304"}
                                     : std::vector<std::string>{})
            << name;
    }
}

// A file whose records go back in address is read twice; when it is rewritten in place
// between the passes, the image is the new file's, never a mix of both layouts.
TEST(HexReader, FileRewrittenBetweenThePasses)
{
    const std::string kFirst = DataRecord(0x20, ByteRun(0x20, 16)) + DataRecord(0x10, ByteRun(0x10, 16));
    // the same layout with other bytes; records that now overlap; a record that now
    // leaves its run
    const std::string kSecond[] = {
        DataRecord(0x20, ByteRun(0xA0, 16)) + DataRecord(0x10, ByteRun(0x90, 16)),
        DataRecord(0x10, ByteRun(0x10, 16)) + DataRecord(0x18, ByteRun(0x18, 16)),
        DataRecord(0x20, ByteRun(0x20, 16)) + DataRecord(0x08, ByteRun(0x08, 16)),
    };
    static std::string s_path, s_text;
    CTempDir dir;
    s_path = dir.File("changing.hex");
    for (const std::string& second : kSecond)
    {
        dir.Write("changing.hex", kFirst);
        s_text = second;
        g_pfnBetweenPasses = [] { std::ofstream(s_path, std::ios::binary) << s_text; };
        MemoryImage image;
        const bool bOk = ReadHexFile(image, s_path.c_str());
        g_pfnBetweenPasses = nullptr;
        EXPECT_TRUE(bOk);
        EXPECT_EQ(Dump(image), Dump(ReferenceRead(second.data(), second.size()))) << second;
    }
}

} // namespace
