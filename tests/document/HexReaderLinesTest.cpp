// The lenient reader, one case per odd input line: tests/data/lines/NAME.hex reads to the
// table in NAME.segments (none: the read fails). What is read, not that it fails.
#include "TestSupport.h"

namespace
{

class HexReaderLines : public testing::TestWithParam<std::string>
{
};

// With LF or CR LF line ends, whole or fed one byte at a time.
TEST_P(HexReaderLines, ReadsTheRecordsItHolds)
{
    const std::string text = ReadFileText(DataFile("lines/" + GetParam() + ".hex"));
    const std::vector<std::string> expected = Lines(ReadFileText(DataFile("lines/" + GetParam() + ".segments")));
    for (const std::string& variant : {text, WithCrLf(text)})
    {
        MemoryImage image;
        EXPECT_EQ(ReadHexText(image, variant.data(), variant.size()), !expected.empty());
        EXPECT_EQ(Dump(image), expected);
        MemoryImage fed;
        CHexTextReader reader(fed);
        for (char ch : variant)
            reader.Feed(&ch, 1);
        reader.Finish();
        EXPECT_EQ(Dump(fed), expected) << "fed byte by byte";
    }
}

INSTANTIATE_TEST_SUITE_P(Files, HexReaderLines, testing::ValuesIn(CaseNames("lines", ".hex")),
                         [](const auto& info) { return info.param; });

} // namespace
