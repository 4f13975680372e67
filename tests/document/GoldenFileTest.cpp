// Golden files in tests/data, its lines/ and writer/ folders: NAME.hex is read into the table
// in NAME.segments ("ADDRESS SIZE BYTES" a line; none: the read fails), and the table is
// written as NAME.out.hex, byte for byte.
#include "TestSupport.h"

#include <filesystem>

namespace
{

std::vector<std::string> CaseNames()
{
    std::vector<std::string> names;
    for (const char* pszFolder : {"", "lines/", "writer/"})
        for (const auto& entry : std::filesystem::directory_iterator(DataFile(pszFolder)))
            if (entry.path().extension() == ".segments")
                names.push_back(pszFolder + entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

// LF line ends become CR LF; a CR already before the LF is left alone.
std::string WithCrLf(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i)
        out += text[i] == '\n' && (i == 0 || text[i - 1] != '\r') ? "\r\n" : text.substr(i, 1);
    return out;
}

// A test name of the case's path: a slash or dash becomes an underscore.
std::string CaseName(const testing::TestParamInfo<std::string>& info)
{
    std::string name = info.param;
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
    return name;
}

using GoldenFile = testing::TestWithParam<std::string>;

// Read from the file, from text with CR LF line ends, and fed one byte at a time; written
// exactly, and read back at their own addresses (empty segments leave nothing).
TEST_P(GoldenFile, ReadWriteAndReadBack)
{
    const std::string path = DataFile(GetParam());
    const std::vector<std::string> expected = Lines(ReadFileText(path + ".segments"));
    MemoryImage image;
    if (std::filesystem::exists(path + ".hex"))
    {
        EXPECT_EQ(ReadHexFile(image, (path + ".hex").c_str()), !expected.empty());
        EXPECT_EQ(Dump(image), expected);
        const std::string text = ReadFileText(path + ".hex");
        for (const std::string& variant : {text, WithCrLf(text)})
        {
            MemoryImage whole, fed;
            EXPECT_EQ(ReadHexText(whole, variant.data(), variant.size()), !expected.empty());
            EXPECT_EQ(Dump(whole), expected);
            CHexTextReader reader(fed);
            for (char ch : variant)
                reader.Feed(&ch, 1);
            reader.Finish();
            EXPECT_EQ(Dump(fed), expected) << "fed byte by byte";
        }
    }
    else
        FillImage(image, Undump(expected));
    if (!std::filesystem::exists(path + ".out.hex"))
        return;
    const std::string text = FormatHexText(image);
    EXPECT_EQ(text, ReadFileText(path + ".out.hex"));
    ImageCopy kept = Undump(expected);
    std::erase_if(kept, [](const SegmentCopy& s) { return s.bytes.empty(); });
    MemoryImage back;
    ReadHexText(back, text.data(), text.size());
    EXPECT_EQ(Dump(back), Dump(kept));
}

INSTANTIATE_TEST_SUITE_P(Files, GoldenFile, testing::ValuesIn(CaseNames()), CaseName);

} // namespace
