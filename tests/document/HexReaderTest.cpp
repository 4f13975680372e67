// Digit conversion and the reading procedure as a whole: clearing, failures, rereads.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace corvane_test;

namespace
{

int ExpectedDigit(int c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 0;
}

TEST(HexParser, EveryByteValueAsOneDigit)
{
    CHexParser parser;
    for (int c = 0; c < 256; ++c)
    {
        const char ch = static_cast<char>(c);
        EXPECT_EQ(parser.ParseHex(&ch, 1), ExpectedDigit(c)) << "byte " << c;
    }
}

TEST(HexParser, DigitStrings)
{
    struct Case
    {
        std::string text;
        int nDigits;
        int nValue;
    };
    const Case kCases[] = {
        {"1A", 2, 0x1A},
        {"ffff", 4, 0xFFFF},
        {"FfFf", 4, 0xFFFF},
        {"G1", 2, 0x01},
        {" 1", 2, 0x01},
        {"1 ", 2, 0x10},
        {"\x80"
         "1",
         2, 0x01},
        {"\xE1\xC1", 2, 0},
        {"1234", 2, 0x12},
        {"", 0, 0},
        {std::string("1\0"
                     "2",
                     3),
         3, 0x102},
        {"7FFFFF", 6, 0x7FFFFF},
    };
    CHexParser parser;
    for (const Case& c : kCases)
        EXPECT_EQ(parser.ParseHex(c.text.data(), c.nDigits), c.nValue)
            << testing::PrintToString(c.text);
}

TEST(HexReader, FailedReadsLeaveTheImageEmpty)
{
    CTempDir dir;
    WriteFileBytes(dir.Path("empty.hex"), "");
    WriteFileBytes(dir.Path("eof.hex"), ":00000001FF\r\n");
    WriteFileBytes(dir.Path("text.hex"), "Intel HEX? no.\n");
    WriteFileBytes(dir.Path("bases.hex"),
                   ":020000040001F9\n:020000021000EC\n:0400000512345678E8\n");
    ASSERT_EQ(mkdir(dir.Path("folder.hex").c_str(), 0755), 0);
    for (const char* pszName :
         {"missing.hex", "empty.hex", "eof.hex", "text.hex", "bases.hex", "folder.hex"})
    {
        MemoryImage image;
        image.AddBytes(0x100, ByteRun(1, 4).data(), 4);
        EXPECT_FALSE(ReadHexFile(image, dir.Path(pszName).c_str())) << pszName;
        EXPECT_EQ(image.GetCount(), 0) << pszName;
        EXPECT_EQ(image.m_ppSegments, nullptr) << pszName;
    }
}

TEST(HexReader, ReadReplacesTheWholeImage)
{
    CTempDir dir;
    const std::string path = dir.Path("a.hex");
    WriteFileBytes(path, ":0400100001020304E2\n:00000001FF\n");
    MemoryImage image;
    image.AddBytes(0x0C, ByteRun(0xC0, 4).data(), 4); // ends where the file's record starts
    ASSERT_TRUE(ReadHexFile(image, path.c_str()));
    const std::vector<std::string> expected = {"00000010 4 01020304"};
    EXPECT_EQ(Dump(image), expected);
    ASSERT_TRUE(ReadHexFile(image, path.c_str()));
    EXPECT_EQ(Dump(image), expected);

    const std::string text = ":0400100001020304E2\n";
    ASSERT_TRUE(ReadHexText(image, text.data(), text.size()));
    EXPECT_EQ(Dump(image), expected);
}

TEST(HexReader, EmptyRecordOnlyGivesOneEmptySegment)
{
    const std::string text = ":00200000E0\n:00000001FF\n";
    MemoryImage image;
    ASSERT_TRUE(ReadHexText(image, text.data(), text.size()));
    ASSERT_EQ(image.GetCount(), 1);
    EXPECT_EQ(image.GetAt(0)->m_dwAddress, 0x2000u);
    EXPECT_EQ(image.GetAt(0)->m_nSize, 0);
    EXPECT_EQ(image.GetAt(0)->m_pBytes, nullptr);
}

// Whatever block size the file is read in, a CR LF pair and a long line may be
// split between two blocks: put a CR at the last byte of every power-of-two block.
// Only a 7-character line with CR LF tells whether the CR was taken as the break.
TEST(HexReader, CrLfSplitAtEveryBlockBoundary)
{
    std::string text;
    for (size_t nCrAt = 511; nCrAt < (8u << 20); nCrAt = nCrAt * 2 + 1)
    {
        const size_t nPad = nCrAt - 6 - text.size();
        text += std::string(nPad - 1, 'x') + "\n:00000\r\n";
    }
    text += ":0100000041\r\n";
    CTempDir dir;
    WriteFileBytes(dir.Path("big.hex"), text);
    MemoryImage image;
    ASSERT_TRUE(ReadHexFile(image, dir.Path("big.hex").c_str()));
    EXPECT_EQ(Dump(image), std::vector<std::string>{"00000000 1 41"});
}

TEST(HexReader, LongLinesSplitBetweenBlocks)
{
    // 1014-character lines: the second piece of each is a record of its own
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += std::string(999, 'x') +
                Record(0, static_cast<uint32_t>(i), {static_cast<uint8_t>(i)}) + "\r\n";
    CTempDir dir;
    WriteFileBytes(dir.Path("long.hex"), text);
    MemoryImage image;
    ASSERT_TRUE(ReadHexFile(image, dir.Path("long.hex").c_str()));
    ASSERT_EQ(image.GetCount(), 1);
    EXPECT_EQ(Segments(image)[0], (SegmentData{0, ByteRun(0, 3000)}));
}

} // namespace
