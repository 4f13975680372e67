// The writer's exact output, its records at 64 KiB boundaries, and reading it back.
#include "TestSupport.h"

namespace
{

struct WriterCase
{
    const char* pszName;
    std::vector<SegmentData> segments;
    std::vector<std::string> lines;
};

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
    std::vector<SegmentData> segments;
    for (const SegmentData& s : GetParam().segments)
        if (!s.bytes.empty())
            segments.push_back(s);
    EXPECT_EQ(Segments(back), segments);
}

INSTANTIATE_TEST_SUITE_P(Cases, HexWriterCases, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.pszName); });

// The designed writer, with the boundary rule: a 04 record before each segment in extended
// mode and before the first data record of every further 64 KiB page. (The fuzz target
// compares the writer with it on random images.)
std::string ReferenceWrite(const std::vector<SegmentData>& segments)
{
    bool bExtended = false;
    for (const SegmentData& s : segments)
        bExtended |= s.dwAddress > 0xFFFF || s.dwAddress + s.bytes.size() > 0x10000;
    auto page = [](uint32_t dw) {
        return Record(4, 0, {uint8_t(dw >> 24), uint8_t(dw >> 16)}) + "\r\n";
    };
    std::string text;
    for (const SegmentData& s : segments)
    {
        if (bExtended)
            text += page(s.dwAddress);
        for (size_t k = 0; k < s.bytes.size();)
        {
            const uint32_t dw = s.dwAddress + static_cast<uint32_t>(k);
            if (k > 0 && (dw & 0xFFFF) == 0)
                text += page(dw);
            const size_t n = std::min<size_t>({16, s.bytes.size() - k, 0x10000 - (dw & 0xFFFF)});
            text += Record(0, dw & 0xFFFF, Bytes(&s.bytes[k], &s.bytes[k] + n)) + "\r\n";
            k += n;
        }
    }
    return text + ":00000001FF\r\n";
}

TEST(HexWriterModel, SegmentOverSeveralPagesReadsBack)
{
    Bytes bytes(0x30000);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 7 + (i >> 16));
    const std::vector<SegmentData> segments = {{0x0FFF8, bytes}};
    MemoryImage image;
    FillImage(image, segments);
    const std::string text = FormatHexText(image);
    EXPECT_EQ(text, ReferenceWrite(segments));
    MemoryImage back;
    ASSERT_TRUE(ReadHexText(back, text.data(), text.size()));
    EXPECT_EQ(Segments(back), segments);
}

} // namespace
