// Golden files: NAME.hex is read into the table in NAME.segments (one line per segment,
// "ADDRESS SIZE BYTES") and written as NAME.out.hex, byte for byte.
#include "TestSupport.h"

namespace
{

const char* const kFixtures[] = {
    "small", "linear", "segment-base", "firmware", "ties", "crossing", "odd-lines", "long-lines",
};

class GoldenFile : public testing::TestWithParam<const char*>
{
protected:
    std::string Path(const char* pszSuffix) const
    {
        return DataFile(GetParam() + std::string(pszSuffix));
    }
};

TEST_P(GoldenFile, ReadsTheExpectedSegments)
{
    const std::vector<std::string> expected = Lines(ReadFileText(Path(".segments")));
    ASSERT_FALSE(expected.empty());
    MemoryImage image;
    ASSERT_TRUE(ReadHexFile(image, Path(".hex").c_str()));
    EXPECT_EQ(Dump(image), expected);
}

// Written exactly, and the file written reads back as the same image.
TEST_P(GoldenFile, WritesTheExpectedTextAndRoundTrips)
{
    MemoryImage image;
    ASSERT_TRUE(ReadHexFile(image, Path(".hex").c_str()));
    const std::string expected = ReadFileText(Path(".out.hex"));
    EXPECT_EQ(FormatHexText(image), expected);
    CTempDir dir;
    ASSERT_TRUE(WriteHexFile(image, dir.File("out.hex").c_str()));
    EXPECT_EQ(ReadFileText(dir.File("out.hex")), expected);
    MemoryImage back;
    ASSERT_TRUE(ReadHexFile(back, dir.File("out.hex").c_str()));
    EXPECT_EQ(Segments(back), Segments(image));
}

INSTANTIATE_TEST_SUITE_P(Fixtures, GoldenFile, testing::ValuesIn(kFixtures),
                         [](const auto& info)
                         {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace
