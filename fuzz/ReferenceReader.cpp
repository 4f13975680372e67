#include "ReferenceReader.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace
{
constexpr size_t kMaxPiece = 999;

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

uint32_t End(const SegmentCopy& s)
{
    return s.dwAddress + static_cast<uint32_t>(s.bytes.size());
}

class CReferenceImage
{
public:
    void AddBytes(uint32_t dwAddress, const std::vector<uint8_t>& bytes)
    {
        for (SegmentCopy& s : m_segments)
            if (End(s) == dwAddress)
            {
                s.bytes.insert(s.bytes.end(), bytes.begin(), bytes.end());
                return;
            }
        m_segments.push_back({dwAddress, bytes});
    }

    ImageCopy Coalesce()
    {
        const size_t n = m_segments.size();
        for (size_t i = 0; i + 1 < n; i++)
            for (size_t j = i + 1; j < n; j++)
                if (m_segments[i].dwAddress > m_segments[j].dwAddress)
                    std::swap(m_segments[i], m_segments[j]);
        // each segment is compared with its neighbour again after it absorbed one
        ImageCopy merged;
        for (SegmentCopy& s : m_segments)
        {
            if (!merged.empty() && End(merged.back()) == s.dwAddress)
                merged.back().bytes.insert(merged.back().bytes.end(), s.bytes.begin(),
                                           s.bytes.end());
            else
                merged.push_back(std::move(s));
        }
        return merged;
    }

private:
    ImageCopy m_segments;
};

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
            Data(line, n, nOffset);
            break;
        case 2:
            m_dwSegmentBase = Field(line, 9, 4) * 16;
            break;
        case 4:
            m_dwLinearBase = Field(line, 9, 4) * 65536;
            break;
        }
    }
    ImageCopy Finish() { return m_image.Coalesce(); }

private:
    void Data(const std::string& line, unsigned n, unsigned nOffset)
    {
        std::vector<uint8_t> bytes(n, 0);
        for (size_t j = 0, p = 9; j < n && p < line.size(); j++, p += 2)
            bytes[j] = static_cast<uint8_t>(Field(line, p, 2));
        m_image.AddBytes(nOffset + m_dwLinearBase + m_dwSegmentBase, bytes);
    }

    CReferenceImage m_image;
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
} // namespace

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
