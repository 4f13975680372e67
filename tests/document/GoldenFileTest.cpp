// Golden files: NAME.hex is read into the table in NAME.segments (one line per
// segment, "ADDRESS SIZE BYTES") and written as NAME.out.hex, byte for byte.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace corvane_test;

namespace
{

const char* const kFixtures[] = {
    "small", "linear", "segment-base", "firmware", "ties", "crossing", "odd-lines", "long-lines",
};

std::vector<std::string> ExpectedSegments(const std::string& name)
{
    std::istringstream in(ReadFileBytes(DataPath(name + ".segments")));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class GoldenFile : public testing::TestWithParam<const char*>
{
protected:
    std::string Name() const { return GetParam(); }
    std::string HexPath() const { return DataPath(Name() + ".hex"); }
};

TEST_P(GoldenFile, ReadsTheExpectedSegments)
{
    const std::vector<std::string> expected = ExpectedSegments(Name());
    ASSERT_FALSE(expected.empty());
    MemoryImage image;
    ASSERT_TRUE(ReadHexFile(image, HexPath().c_str()));
    ExpectConsistent(image);
    EXPECT_EQ(Dump(image), expected);
}

TEST_P(GoldenFile, ReadsTheSameWithEitherLineEnd)
{
    std::string text = ReadFileBytes(HexPath());
    std::string lf;
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            lf += text[i];
    const std::vector<std::string> expected = ExpectedSegments(Name());
    for (const std::string& variant : {lf, WithCrLf(lf)})
    {
        MemoryImage image;
        ASSERT_TRUE(ReadHexText(image, variant.data(), variant.size()));
        EXPECT_EQ(Dump(image), expected);
    }
}

TEST_P(GoldenFile, WritesTheExpectedText)
{
    MemoryImage image;
    ASSERT_TRUE(ReadHexFile(image, HexPath().c_str()));
    const std::string expected = ReadFileBytes(DataPath(Name() + ".out.hex"));
    EXPECT_EQ(FormatHexText(image), expected);

    CTempDir dir;
    ASSERT_TRUE(WriteHexFile(image, dir.Path("out.hex").c_str()));
    EXPECT_EQ(ReadFileBytes(dir.Path("out.hex")), expected);
}

TEST_P(GoldenFile, RoundTripGivesTheSameImage)
{
    MemoryImage image;
    ASSERT_TRUE(ReadHexFile(image, HexPath().c_str()));
    CTempDir dir;
    ASSERT_TRUE(WriteHexFile(image, dir.Path("out.hex").c_str()));
    MemoryImage back;
    ASSERT_TRUE(ReadHexFile(back, dir.Path("out.hex").c_str()));
    EXPECT_EQ(Segments(back), Segments(image));
    EXPECT_EQ(FormatHexText(back), FormatHexText(image));
}

INSTANTIATE_TEST_SUITE_P(Fixtures, GoldenFile, testing::ValuesIn(kFixtures),
                         [](const auto& info)
                         {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace
