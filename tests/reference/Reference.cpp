#include "Reference.h"

#include <algorithm>
#include <cctype>

namespace
{
constexpr size_t kMaxPiece = 999;

uint32_t End(const SegmentCopy& s)
{
    return s.dwAddress + static_cast<uint32_t>(s.bytes.size());
}

unsigned Digit(char c)
{
    const int lower = std::tolower(static_cast<unsigned char>(c));
    if (lower >= '0' && lower <= '9')
        return static_cast<unsigned>(lower - '0');
    if (lower >= 'a' && lower <= 'f')
        return static_cast<unsigned>(lower - 'a' + 10);
    return 0;
}

// Columns at or past the end of the line read as the digit 0.
unsigned Field(const std::string& line, size_t nCol, int nDigits)
{
    unsigned v = 0;
    for (size_t k = 0; k < static_cast<size_t>(nDigits); k++)
        v = v * 16 + (nCol + k < line.size() ? Digit(line[nCol + k]) : 0);
    return v;
}

class CReferenceReader
{
public:
    void Line(const std::string& line)
    {
        if (line.size() < 8 || line[0] != ':')
            return;
        const unsigned n = Field(line, 1, 2);
        const unsigned nOffset = Field(line, 3, 4);
        switch (Field(line, 7, 2))
        {
        case 0:
        {
            std::vector<uint8_t> bytes(n, 0);
            for (size_t j = 0, p = 9; j < n && p < line.size(); j++, p += 2)
                bytes[j] = static_cast<uint8_t>(Field(line, p, 2));
            ReferenceAddBytes(m_image, nOffset + m_dwLinearBase + m_dwSegmentBase, bytes);
            break;
        }
        case 2:
            m_dwSegmentBase = Field(line, 9, 4) * 16;
            break;
        case 4:
            m_dwLinearBase = Field(line, 9, 4) * 65536;
            break;
        }
    }
    ImageCopy Finish()
    {
        ReferenceCoalesce(m_image);
        return std::move(m_image);
    }

private:
    ImageCopy m_image;
    uint32_t m_dwLinearBase = 0;
    uint32_t m_dwSegmentBase = 0;
};

// What text mode hands to the program: every CR LF becomes LF.
std::string TextMode(const char* pData, size_t nLen)
{
    std::string text;
    text.reserve(nLen);
    for (size_t i = 0; i < nLen; i++)
        if (!(pData[i] == '\r' && i + 1 < nLen && pData[i + 1] == '\n'))
            text += pData[i];
    return text;
}

void LinearBase(std::string& text, uint32_t dwAddress)
{
    const uint8_t page[2] = {static_cast<uint8_t>(dwAddress >> 24), static_cast<uint8_t>(dwAddress >> 16)};
    AppendRecord(text, 0x04, 0, page, 2);
}
} // namespace

void ReferenceAddBytes(ImageCopy& image, uint32_t dwAddress, const std::vector<uint8_t>& bytes)
{
    for (SegmentCopy& s : image)
        if (End(s) == dwAddress)
        {
            s.bytes.insert(s.bytes.end(), bytes.begin(), bytes.end());
            return;
        }
    image.push_back({dwAddress, bytes});
}

void ReferenceCoalesce(ImageCopy& image)
{
    const size_t n = image.size();
    for (size_t i = 0; i + 1 < n; i++)
        for (size_t j = i + 1; j < n; j++)
            if (image[i].dwAddress > image[j].dwAddress)
                std::swap(image[i], image[j]);
    ImageCopy merged;
    for (SegmentCopy& s : image)
    {
        if (!merged.empty() && End(merged.back()) == s.dwAddress)
            merged.back().bytes.insert(merged.back().bytes.end(), s.bytes.begin(), s.bytes.end());
        else
            merged.push_back(std::move(s));
    }
    image = std::move(merged);
}

ImageCopy ReferenceRead(const char* pData, size_t nLen)
{
    const std::string text = TextMode(pData, nLen);
    CReferenceReader reader;
    for (size_t p = 0; p < text.size();)
    {
        // fgets: up to and including the line feed, at most 999 characters
        size_t nPiece = std::min(kMaxPiece, text.size() - p);
        const size_t nLf = text.find('\n', p);
        if (nLf != std::string::npos && nLf - p < nPiece)
            nPiece = nLf - p + 1;
        // the program sees the piece as a C string
        const std::string piece = text.substr(p, nPiece);
        reader.Line(piece.substr(0, piece.find('\0')));
        p += nPiece;
    }
    return reader.Finish();
}

void AppendRecord(std::string& text, uint8_t nType, uint16_t nOffset, const uint8_t* pBytes, size_t n)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    uint8_t sum = 0;
    auto put = [&](uint8_t b) {
        text += kDigits[b >> 4];
        text += kDigits[b & 0x0F];
        sum = static_cast<uint8_t>(sum + b);
    };
    text += ':';
    put(static_cast<uint8_t>(n));
    put(static_cast<uint8_t>(nOffset >> 8));
    put(static_cast<uint8_t>(nOffset));
    put(nType);
    for (size_t i = 0; i < n; i++)
        put(pBytes[i]);
    put(static_cast<uint8_t>(0x100 - sum));
    text += "\r\n";
}

std::string ReferenceWrite(const ImageCopy& image)
{
    const bool bExtended = std::any_of(image.begin(), image.end(), [](const SegmentCopy& s) {
        return s.dwAddress > 0xFFFF || s.dwAddress + s.bytes.size() > 0x10000;
    });
    std::string text;
    for (const SegmentCopy& s : image)
    {
        if (bExtended)
            LinearBase(text, s.dwAddress);
        for (size_t k = 0; k < s.bytes.size();)
        {
            const uint32_t dwAddress = s.dwAddress + static_cast<uint32_t>(k);
            const uint32_t dwLow = dwAddress & 0xFFFF;
            if (k > 0 && dwLow == 0)
                LinearBase(text, dwAddress);
            const size_t n = std::min<size_t>({16, s.bytes.size() - k, 0x10000 - dwLow});
            AppendRecord(text, 0x00, static_cast<uint16_t>(dwLow), s.bytes.data() + k, n);
            k += n;
        }
    }
    return text + ":00000001FF\r\n";
}
