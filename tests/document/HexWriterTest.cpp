// The writer's exact output, its records at 64 KiB boundaries, and reading it back.
#include "TestSupport.h"

namespace
{

struct WriterCase
{
    const char* pszName;
    ImageCopy segments;
    std::vector<std::string> lines;
};

void PrintTo(const WriterCase& c, std::ostream* pOut)
{
    *pOut << c.pszName;
}

const WriterCase kCases[] = {
    {"EmptyImage", {}, {":00000001FF"}},
    {"ThreeBytesAt0100", {{0x0100, {1, 2, 3}}}, {":03010000010203F6", ":00000001FF"}},
    {"ExtendedAt11000",
     {{0x11000, {0xDE, 0xAD, 0xBE, 0xEF}}},
     {":020000040001F9", ":04100000DEADBEEFB4", ":00000001FF"}},
    {"TwentyBytesAt2340",
     {{0x2340, ByteRun(0, 20)}},
     {":10234000000102030405060708090A0B0C0D0E0F15", ":042350001011121343", ":00000001FF"}},
    {"HighBytesUpperCase", {{0, {0xFF, 0xAB, 0x80, 0x7F}}}, {":04000000FFAB807F53", ":00000001FF"}},
    {"StartAtFFFFNotExtended", {{0xFFFF, {0xAB}}}, {":01FFFF00AB56", ":00000001FF"}},
    {"EndAtBoundaryNotExtended",
     {{0xFFF0, ByteRun(0, 16)}},
     {":10FFF000000102030405060708090A0B0C0D0E0F89", ":00000001FF"}},
    {"EverySegmentGetsItsPage",
     {{0, {1}}, {0x10000, {2}}},
     {":020000040000FA", ":0100000001FE", ":020000040001F9", ":0100000002FD", ":00000001FF"}},
    {"SamePageRepeated",
     {{0x10000, {1}}, {0x10010, {2}}},
     {":020000040001F9", ":0100000001FE", ":020000040001F9", ":0100100002ED", ":00000001FF"}},
    {"EqualStartsBothWritten",
     {{0x10, {0x11}}, {0x10, {0x22}}},
     {":0100100011DE", ":0100100022CD", ":00000001FF"}},
    {"EmptySegmentOnlyItsPage",
     {{0x20000, {}}, {0x30000, {1}}},
     {":020000040002F8", ":020000040003F7", ":0100000001FE", ":00000001FF"}},
    {"EmptySegmentNothing", {{0x10, {}}}, {":00000001FF"}},
    {"CrossingFromThePageBelow",
     {{0xFFFF, {0xAA, 0xBB}}},
     {":020000040000FA", ":01FFFF00AA57", ":020000040001F9", ":01000000BB44", ":00000001FF"}},
    {"CrossingCutsTheRecord",
     {{0x1FFF5, ByteRun(0, 40)}},
     {":020000040001F9", ":0BFFF500000102030405060708090ACA", ":020000040002F8",
      ":100000000B0C0D0E0F101112131415161718191AC8", ":0D0010001B1C1D1E1F202122232425262736",
      ":00000001FF"}},
    {"PastTheTopWrapsToPageZero",
     {{0xFFFFFFF8, ByteRun(0, 16)}},
     {":02000004FFFFFC", ":08FFF8000001020304050607E5", ":020000040000FA",
      ":0800000008090A0B0C0D0E0F9C", ":00000001FF"}},
    {"OneCrossingSegmentExtendsAll",
     {{0, {1, 2}}, {0xFFF8, ByteRun(0, 16)}},
     {":020000040000FA", ":020000000102FB", ":020000040000FA", ":08FFF8000001020304050607E5",
      ":020000040001F9", ":0800000008090A0B0C0D0E0F9C", ":00000001FF"}},
};

class HexWriterCases : public testing::TestWithParam<WriterCase>
{
};

// Written exactly, and read back at their own addresses (empty segments leave nothing).
TEST_P(HexWriterCases, WriteExactlyAndReadBack)
{
    MemoryImage image;
    FillImage(image, GetParam().segments);
    const std::string text = FormatHexText(image);
    std::string expected;
    for (const std::string& line : GetParam().lines)
        expected += line + "\r\n";
    EXPECT_EQ(text, expected);
    MemoryImage back;
    ReadHexText(back, text.data(), text.size());
    ImageCopy segments;
    for (const SegmentCopy& s : GetParam().segments)
        if (!s.bytes.empty())
            segments.push_back(s);
    EXPECT_EQ(Segments(back), segments);
}

INSTANTIATE_TEST_SUITE_P(Cases, HexWriterCases, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.pszName); });

// A segment over several pages is written as the reference writer writes it.
TEST(HexWriterModel, SegmentOverSeveralPagesReadsBack)
{
    Bytes bytes(0x30000);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 7 + (i >> 16));
    const ImageCopy segments = {{0x0FFF8, bytes}};
    MemoryImage image;
    FillImage(image, segments);
    const std::string text = FormatHexText(image);
    EXPECT_EQ(text, ReferenceWrite(segments));
    MemoryImage back;
    ASSERT_TRUE(ReadHexText(back, text.data(), text.size()));
    EXPECT_EQ(Segments(back), segments);
}

} // namespace
