// The digit rule of the HEX reader: every field of a record is read with it.
#pragma once

class CHexParser
{
public:
    // Value of one character: 0-9, a-f and A-F are hex digits; any other character,
    // bytes >= 0x80 included, counts as the digit 0.
    static constexpr unsigned DigitValue(unsigned char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10u;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10u;
        return 0;
    }
};
