// Digit conversion and reading a file as a whole: what it refuses and why, clearing,
// a file that changes between the two passes, memory that runs out.
#include "HexParser.h"
#include "TestSupport.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <fstream>
#include <tuple>

#include <sys/stat.h>
#include <unistd.h>

namespace
{

// Bytes >= 0x80 must not reach tolower as negative values; they count as the digit 0.
TEST(HexParser, EveryByteValueAsOneDigit)
{
    for (int c = 0; c < 256; ++c)
    {
        const char ch = static_cast<char>(c);
        const int nExpected = std::isxdigit(c) ? std::stoi(std::string(1, ch), nullptr, 16) : 0;
        EXPECT_EQ(CHexParser::DigitValue(ch), static_cast<unsigned>(nExpected)) << "byte " << c;
    }
}

// The image is cleared before the file is opened, so a failed read leaves it empty, a
// segment of the old image never takes in a record of the new one, and the old start
// address goes. The files are in tests/data/replace.
TEST(HexReader, ReadReplacesTheWholeImage)
{
    for (const std::string name : {"missing.hex", "empty.hex", "eof.hex", "bases.hex", "data.hex"})
    {
        MemoryImage image;
        image.AddBytes(0x0C, Sequence(4, 0xC0).data(), 4); // ends where data.hex starts
        image.SetStartAddress({5, {1, 2, 3, 4}});
        const bool bData = name == "data.hex";
        EXPECT_EQ(ReadHexFile(image, DataFile("replace/" + name).c_str()), bData) << name;
        EXPECT_EQ(Dump(image), bData ? std::vector<std::string>{"00000010 4 01020304"}
                                     : std::vector<std::string>{})
            << name;
        EXPECT_FALSE(image.GetStartAddress().IsSet()) << name;
    }
}

// Why the reader did not read a file, which the document turns into its message (the other
// kinds are in the start-up table): a file the user may not read, read as nobody (root may
// open any file), besides one that opens.
TEST(HexReader, StatusSaysWhyAFileWasNotRead)
{
    CTempDir dir;
    const std::string path = dir.File("f.hex");
    dir.Write("f.hex", ":0100000011EE\n");
    for (const mode_t nMode : {0644, 0})
    {
        ASSERT_EQ(0, chmod(dir.Path().c_str(), 0755) | chmod(path.c_str(), nMode));
        const auto status = [&]
        {
            MemoryImage image;
            CHexReadStatus status;
            ReadHexFile(image, path.c_str(), &status);
            return static_cast<int>(status.eOpen) << 6 | status.bReadError << 5 | status.nErrno;
        };
        const int nExpected = nMode != 0 ? 0 : int(CHexReadStatus::EOpen::CannotOpen) << 6 | EACCES;
        EXPECT_EQ(nExpected, RunInChild(status, true))
            << "open state * 64 + read error * 32 + errno";
    }
}

std::string Record(uint16_t nAddress, uint8_t nFirst)
{
    std::string text;
    AppendRecord(text, 0, nAddress, Sequence(16, nFirst).data(), 16);
    return text;
}

// Records of the given addresses and lengths, in that order.
std::string Records(std::initializer_list<std::pair<uint16_t, int>> records)
{
    std::string text;
    for (const auto& [nAddress, n] : records)
        AppendRecord(text, 0, nAddress, Sequence(n, nAddress).data(), static_cast<size_t>(n));
    return text;
}

// 257 records of 255 bytes in descending order: one run from 0000 to FFFE.
std::string DescendingRun()
{
    std::string text;
    for (int k = 256; k >= 0; --k)
        AppendRecord(text, 0, static_cast<uint16_t>(k * 255), Sequence(255, k).data(), 255);
    return text;
}

// A file whose records go back in address is read twice; when it is rewritten in place
// between the passes, the image is the new file's, never a mix of both layouts.
TEST(HexReader, FileRewrittenBetweenThePasses)
{
    const std::string kOld = Record(0x20, 0x20) + Record(0x10, 0x10);
    // the first file, the second
    const std::pair<std::string, std::string> kCases[] = {
        // the same layout with other bytes; records that now overlap; a record that now
        // leaves its run
        {kOld, Record(0x20, 0xA0) + Record(0x10, 0x90)},
        {kOld, Record(0x10, 0x10) + Record(0x18, 0x18)},
        {kOld, Record(0x20, 0x20) + Record(0x08, 0x08)},
        // three records inside the run whose addresses and lengths hash, under a fixed
        // 64-bit fold, to the same value as the run's 257 records
        {DescendingRun(), Records({{0x0C6E, 122}, {0xE47E, 76}, {0xFDBE, 23}})},
    };
    CTempDir dir;
    const std::string path = dir.File("changing.hex");
    for (const auto& [first, second] : kCases)
    {
        dir.Write("changing.hex", first);
        CReadSeams seams;
        seams.betweenPasses = [&] { std::ofstream(path, std::ios::binary) << second; };
        MemoryImage image;
        EXPECT_TRUE(ReadHexFile(image, path.c_str(), nullptr, &seams));
        EXPECT_EQ(Dump(image), Dump(ReferenceRead(second.data(), second.size()))) << second;
    }
}

using EAlloc = CImageBuilder::EAlloc;
// A read that could not keep every record fails, empty, and says so: a Save would
// otherwise write the records that were kept over the whole file.
TEST(HexReader, OutOfMemoryFailsWithAnEmptyImage)
{
    // what the file holds, which allocation fails, from which call of it on
    const std::tuple<const char*, std::string, EAlloc, int> kCases[] = {
        {"end index after a repeated record", Records({{0x10, 1}, {0x10, 1}, {0x30, 1}}),
         EAlloc::EndIndex, 1},
        {"segment in order", Records({{0x10, 1}, {0x20, 1}, {0x30, 1}}), EAlloc::Segment, 2},
        {"segment in both passes", Records({{0x30, 1}, {0x20, 1}, {0x10, 1}}), EAlloc::Segment, 2},
        {"block past the pool", Records({{0x00, 16}, {0x10, 16}, {0x20, 16}}), EAlloc::Block, 2},
    };
    CTempDir dir;
    for (const auto& [pszName, text, eFailing, nFromCall] : kCases)
    {
        dir.Write("f.hex", text);
        int nCalls = 0;
        CReadSeams seams;
        seams.failAllocation = [&](EAlloc e) { return e == eFailing && ++nCalls >= nFromCall; };
        MemoryImage image;
        CHexReadStatus status;
        EXPECT_FALSE(ReadHexFile(image, dir.File("f.hex").c_str(), &status, &seams)) << pszName;
        EXPECT_TRUE(status.bOutOfMemory) << pszName;
        EXPECT_EQ(image.GetCount(), 0) << pszName;
    }
}

} // namespace
