#include "HexParser.h"

int CHexParser::ParseHex(const char* pszText, int nDigits) const
{
    unsigned v = 0;
    for (int k = 0; k < nDigits; ++k)
        v = v * 16 + DigitValue(static_cast<unsigned char>(pszText[k]));
    return static_cast<int>(v);
}
