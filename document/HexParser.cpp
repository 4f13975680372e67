#include "HexParser.h"
#include "HexScan.h"

namespace
{
// Digit values by character; everything that is not a hex digit counts as 0,
// bytes of 0x80 and above included.
struct CDigitTable
{
    uint8_t value[256] = {};
    constexpr CDigitTable()
    {
        for (int c = '0'; c <= '9'; ++c)
            value[c] = static_cast<uint8_t>(c - '0');
        for (int c = 'a'; c <= 'f'; ++c)
        {
            value[c] = static_cast<uint8_t>(c - 'a' + 10);
            value[c - 'a' + 'A'] = static_cast<uint8_t>(c - 'a' + 10);
        }
    }
};
constexpr CDigitTable kDigits;

struct CPairTable
{
    uint8_t value[65536] = {};
    constexpr CPairTable()
    {
        for (int a = 0; a < 256; ++a)
            for (int b = 0; b < 256; ++b)
                value[a | b << 8] = static_cast<uint8_t>(kDigits.value[a] << 4 | kDigits.value[b]);
    }
};

} // namespace

namespace hexscan
{
const uint8_t* PairTable()
{
    static const CPairTable table;
    return table.value;
}

unsigned DigitValue(unsigned char c)
{
    return kDigits.value[c];
}
} // namespace hexscan

int CHexParser::ParseHex(const char* pszText, int nDigits) const
{
    int v = 0;
    for (int k = 0; k < nDigits; ++k)
        v = static_cast<int>(static_cast<unsigned>(v) * 16 + kDigits.value[static_cast<unsigned char>(pszText[k])]);
    return v;
}

struct CHexTextReader::CImpl
{
    explicit CImpl(MemoryImage& image) : sink{image}, scanner(sink) {}
    hexscan::CImageSink sink;
    hexscan::CScanner<hexscan::CImageSink> scanner;
};

CHexTextReader::CHexTextReader(MemoryImage& image) : m_pImpl(std::make_unique<CImpl>(image)) {}

CHexTextReader::~CHexTextReader() = default;

void CHexTextReader::Feed(const char* pData, size_t nLen)
{
    m_pImpl->scanner.Feed(pData, nLen);
}

void CHexTextReader::Finish()
{
    m_pImpl->scanner.Finish();
}
