// The lenient reader, one case per odd input line: what is read, not that it fails. Every
// case is read from memory, from a file, with CR LF line ends, and fed in chunks.
#include "TestSupport.h"

namespace
{

struct LinesCase
{
    const char* pszName;
    std::string text;
    std::vector<std::string> segments; // empty: the read fails
};

void PrintTo(const LinesCase& c, std::ostream* pOut)
{
    *pOut << c.pszName;
}

// ":0100000011" padded with F to 999 characters: one full piece of the line buffer
const std::string kPiece999 = ":0100000011" + std::string(988, 'F');

const LinesCase kCases[] = {
    // bases
    {"LinearBase", ":020000040001F9\n:04100000DEADBEEFB4\n:00000001FF\n", {"00011000 4 DEADBEEF"}},
    {"SegmentBase", ":020000021000EC\n:01001000559A\n", {"00010010 1 55"}},
    {"BothBasesAdded", ":020000021000EC\n:020000040001F9\n:0100100055\n", {"00020010 1 55"}},
    {"SegmentRecordKeepsLinearBase",
     ":020000040001F9\n:020000021000EC\n:01001000AA\n:020000020000FC\n:01002000BB\n",
     {"00010020 1 BB", "00020010 1 AA"}},
    {"LinearRecordKeepsSegmentBase",
     ":020000021000EC\n:020000040001F9\n:01000000AA\n:020000040000FA\n:01000000BB\n",
     {"00010000 1 BB", "00020000 1 AA"}},
    {"BasesAddModulo2To32", ":02000004FFFFFC\n:02000002F0000C\n:0100100011\n", {"000E0010 1 11"}},
    {"SegmentRunsPastTheTop",
     ":02000004FFFFFC\n:04FFFE00AABBCCDD\n:020000040000FA\n:0100020011\n",
     {"FFFFFFFE 5 AABBCCDD11"}},
    {"BaseRecordByteCountIgnored",
     ":00000002100000\n:0100100055\n:FF0000040001\n:01000000AA\n",
     {"00010010 1 55", "00020000 1 AA"}},
    {"BaseValueCutByLineEnd", ":0200000412\n:0100000041\n", {"12000000 1 41"}},
    {"BaseValueNotFromEarlierLine",
     ":02000003FFFFFFFFFFFF\n:00000004\n:01000000AA\n",
     {"00000000 1 AA"}},
    {"SegmentValueNotFromEarlierLine",
     ":02000003FFFFFFFFFFFF\n:00000002\n:01000000AA\n",
     {"00000000 1 AA"}},
    // digits: any case; anything else, bytes >= 0x80 included, is 0
    {"MixedCaseDigits", ":04A0b000DeAdBeEf00\n", {"0000A0B0 4 DEADBEEF"}},
    {"NonHexInCountAddressAndData", ":G21Z200041G2\n", {"00001020 2 4102"}},
    {"HighBytesInTypeAndData",
     ":010000\xB0\xB4\xC1"
     "1\n",
     {"00000000 1 01"}},
    // checksum and byte count
    {"WrongChecksumIsLoaded", ":0100000041FF\n", {"00000000 1 41"}},
    {"CountLargerReadsChecksumThenBreak", ":0300000041BE\n", {"00000000 3 41BE00"}},
    {"CountLargerOnLastLineWithoutBreak", ":0300000041BE", {"00000000 3 41BE00"}},
    {"CountFFOnShortLine", ":FF000000\n", {"00000000 255 " + std::string(510, '0')}},
    {"CountSmallerIgnoresTheRest", ":01000000414243\n", {"00000000 1 41"}},
    {"DataNotFromEarlierLine",
     ":1000000000112233445566778899AABBCCDDEEFF78\n:04001000AB\n",
     {"00000000 20 00112233445566778899AABBCCDDEEFFAB000000"}},
    {"ZeroCountRecordMakesAnEmptySegment", ":00123400BA\n", {"00001234 0"}},
    // record types
    {"RecordsAfterEndOfFile", ":00000001FF\n:0100000041\n", {"00000000 1 41"}},
    {"StartRecordsIgnored",
     ":0400000300001000E9\n:0400000512345678E8\n:0100000041\n",
     {"00000000 1 41"}},
    {"UnknownTypesIgnored",
     ":0100000641\n:01000aff41\n:0100000A41\n:0100000041\n",
     {"00000000 1 41"}},
    // which lines are records: a ":" first, at least 8 characters with the break
    {"LineWithoutColonSkipped", " :0100000041BE\n", {}},
    {"BlankAndCommentLinesSkipped", "\n\n; comment\n:0100000041\n", {"00000000 1 41"}},
    {"SevenWithBreakSkipped", ":00000\n", {}},
    {"EightWithBreakRead", ":000000\n", {"00000000 0"}},
    {"SevenWithoutBreakSkipped", ":000000", {}},
    {"EightWithoutBreakRead", ":0000000", {"00000000 0"}},
    {"CrBeforeLfBelongsToTheBreak", ":00000\r\n", {}},
    {"CrInsideTheLineIsACharacter", ":01\r0000041\n", {"00000000 1 41"}},
    {"CrAtTheEndWithoutLfIsACharacter", ":000000\r", {"00000000 0"}},
    {"NulEndsTheLine",
     std::string(":01000000\0"
                 "41\n:0100100042\n",
                 25),
     {"00000000 1 00", "00000010 1 42"}},
    // lines longer than the line buffer are read as pieces of 999 characters
    {"Line999ThenRecord", kPiece999 + "\n:0100200033\n", {"00000000 1 11", "00000020 1 33"}},
    {"Line1000", kPiece999 + ":\n:0100200033\n", {"00000000 1 11", "00000020 1 33"}},
    {"Line1010SecondPieceIsARecord",
     kPiece999 + ":0100100022\n",
     {"00000000 1 11", "00000010 1 22"}},
    {"Line1500SecondPieceRunsOut",
     kPiece999 + ":FF010000" + std::string(492, '5') + "\n",
     {"00000000 1 11", "00000100 255 " + std::string(492, '5') + std::string(18, '0')}},
    {"Line2009ThirdPieceIsARecord",
     std::string(999, 'X') + ":0100300044" + std::string(988, 'F') + ":0100400055\n",
     {"00000030 1 44", "00000040 1 55"}},
    {"SecondPieceNotFromTheFirst",
     ":02000003" + std::string(990, 'F') + ":00000004\n:01000000AA\n",
     {"00000000 1 AA"}},
    {"SecondPieceStartingWithCrSkipped", kPiece999 + "\r:0100100022\n", {"00000000 1 11"}},
    {"Line998WithCrLf",
     kPiece999.substr(0, 998) + "\r\n:0100200033\r\n",
     {"00000000 1 11", "00000020 1 33"}},
    {"Line999WithCrLf", kPiece999 + "\r\n:0100200033\r\n", {"00000000 1 11", "00000020 1 33"}},
};

class HexReaderLines : public testing::TestWithParam<LinesCase>
{
};

// With LF or CR LF line ends, whole or fed one byte at a time.
TEST_P(HexReaderLines, ReadsTheRecordsItHolds)
{
    const auto& [pszName, text, expected] = GetParam();
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

INSTANTIATE_TEST_SUITE_P(Cases, HexReaderLines, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.pszName); });

} // namespace
