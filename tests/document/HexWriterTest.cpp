// The writer's exact output, its records at 64 KiB boundaries, and reading it back:
// tests/data/writer/NAME.segments is written as NAME.out.hex.
#include "TestSupport.h"

namespace
{

class HexWriterCases : public testing::TestWithParam<std::string>
{
};

// Written exactly, and read back at their own addresses (empty segments leave nothing).
TEST_P(HexWriterCases, WriteExactlyAndReadBack)
{
    const ImageCopy segments = Undump(Lines(ReadFileText(DataFile("writer/" + GetParam() + ".segments"))));
    MemoryImage image;
    FillImage(image, segments);
    const std::string text = FormatHexText(image);
    EXPECT_EQ(text, ReadFileText(DataFile("writer/" + GetParam() + ".out.hex")));
    MemoryImage back;
    ReadHexText(back, text.data(), text.size());
    ImageCopy expected;
    for (const SegmentCopy& s : segments)
        if (!s.bytes.empty())
            expected.push_back(s);
    EXPECT_EQ(Segments(back), expected);
}

INSTANTIATE_TEST_SUITE_P(Files, HexWriterCases, testing::ValuesIn(CaseNames("writer", ".segments")),
                         [](const auto& info) { return info.param; });

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
