#include "Reference.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace
{
uint32_t End(const SegmentCopy& s)
{
    return s.dwAddress + static_cast<uint32_t>(s.bytes.size());
}

// Any character that is not a hex digit, and every column past the end of the line, reads
// as the digit 0.
unsigned Field(const std::string& line, size_t nCol, size_t nDigits)
{
    static const char kDigits[] = "0123456789abcdef";
    unsigned v = 0;
    for (size_t k = nCol; k < nCol + nDigits; k++)
    {
        const int c = k < line.size() ? std::tolower(static_cast<unsigned char>(line[k])) : '0';
        const char* p = std::strchr(kDigits, c);
        v = v * 16 + (p ? static_cast<unsigned>(p - kDigits) : 0);
    }
    return v;
}
} // namespace

ImageCopy CopyImage(const MemoryImage& image, std::string* pProblem)
{
    ImageCopy copy;
    std::string problem;
    if (image.GetCount() > image.GetCapacity())
        problem = "count above capacity";
    if (image.GetAt(-1) || image.GetAt(image.GetCount()))
        problem = "GetAt outside the table is not null";
    for (int i = 0; i < image.GetCount() && problem.empty(); ++i)
    {
        const MemorySegment* p = image.GetAt(i);
        if (!p || p->m_nSize < 0 || (p->m_nSize > 0 && !p->m_pBytes))
            problem = "segment " + std::to_string(i) + " is null or lacks its block";
        else
            copy.push_back(
                {p->m_dwAddress, std::vector<uint8_t>(p->m_pBytes, p->m_pBytes + p->m_nSize)});
    }
    if (pProblem)
        *pProblem = problem;
    return copy;
}

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
    for (size_t i = 0; i < image.size(); i++)
        for (size_t j = i + 1; j < image.size(); j++)
            if (image[i].dwAddress > image[j].dwAddress)
                std::swap(image[i], image[j]);
    ImageCopy merged;
    for (SegmentCopy& s : image)
        if (!merged.empty() && End(merged.back()) == s.dwAddress)
            merged.back().bytes.insert(merged.back().bytes.end(), s.bytes.begin(), s.bytes.end());
        else
            merged.push_back(std::move(s));
    image = std::move(merged);
}

ImageCopy ReferenceRead(const char* pData, size_t nLen, CStartAddress* pStart)
{
    // text mode: every CR LF becomes LF
    std::string text;
    for (size_t i = 0; i < nLen; i++)
        if (!(pData[i] == '\r' && i + 1 < nLen && pData[i + 1] == '\n'))
            text += pData[i];
    ImageCopy image;
    uint32_t dwLinearBase = 0, dwSegmentBase = 0;
    for (size_t p = 0; p < text.size();)
    {
        // a piece: up to and including the line feed, at most 999 characters, ending at a NUL
        const size_t nLf = text.find('\n', p);
        const size_t nPiece =
            std::min({size_t{999}, text.size() - p, nLf == std::string::npos ? nLf : nLf - p + 1});
        const std::string piece = text.substr(p, nPiece);
        const std::string line = piece.substr(0, piece.find('\0'));
        p += nPiece;
        if (line.size() < 8 || line[0] != ':')
            continue;
        const unsigned n = Field(line, 1, 2), nType = Field(line, 7, 2);
        if (nType == 0)
        {
            std::vector<uint8_t> bytes(n, 0);
            for (size_t j = 0; j < n && 9 + 2 * j < line.size(); j++)
                bytes[j] = static_cast<uint8_t>(Field(line, 9 + 2 * j, 2));
            ReferenceAddBytes(image, Field(line, 3, 4) + dwLinearBase + dwSegmentBase, bytes);
        }
        else if (nType == 2)
            dwSegmentBase = Field(line, 9, 4) * 16;
        else if (nType == 4)
            dwLinearBase = Field(line, 9, 4) * 65536;
        else if ((nType == 3 || nType == 5) && pStart)
        {
            pStart->nType = static_cast<uint8_t>(nType);
            for (size_t j = 0; j < 4; j++)
                pStart->bytes[j] = static_cast<uint8_t>(Field(line, 9 + 2 * j, 2));
        }
    }
    ReferenceCoalesce(image);
    return image;
}

void AppendRecord(std::string& text, uint8_t nType, uint16_t nOffset, const uint8_t* pBytes,
                  size_t n)
{
    uint8_t sum = 0;
    auto put = [&](unsigned b)
    {
        text += "0123456789ABCDEF"[(b >> 4) & 15];
        text += "0123456789ABCDEF"[b & 15];
        sum = static_cast<uint8_t>(sum + b);
    };
    text += ':';
    for (const unsigned b :
         {unsigned(n), unsigned(nOffset >> 8), unsigned(nOffset & 0xFF), unsigned(nType)})
        put(b);
    for (size_t i = 0; i < n; i++)
        put(pBytes[i]);
    put(0x100u - sum);
    text += "\r\n";
}

std::string ReferenceWrite(const ImageCopy& image, const CStartAddress& start)
{
    const bool bExtended =
        std::any_of(image.begin(), image.end(),
                    [](const SegmentCopy& s)
                    { return s.dwAddress > 0xFFFF || s.dwAddress + s.bytes.size() > 0x10000; });
    std::string text;
    auto linearBase = [&](uint32_t dwAddress)
    {
        const uint8_t page[2] = {static_cast<uint8_t>(dwAddress >> 24),
                                 static_cast<uint8_t>(dwAddress >> 16)};
        AppendRecord(text, 0x04, 0, page, 2);
    };
    for (const SegmentCopy& s : image)
    {
        if (bExtended)
            linearBase(s.dwAddress);
        for (size_t k = 0; k < s.bytes.size();)
        {
            const uint32_t dwAddress = s.dwAddress + static_cast<uint32_t>(k);
            const uint32_t dwLow = dwAddress & 0xFFFF;
            if (k > 0 && dwLow == 0)
                linearBase(dwAddress);
            const size_t n = std::min<size_t>({16, s.bytes.size() - k, 0x10000 - dwLow});
            AppendRecord(text, 0x00, static_cast<uint16_t>(dwLow), s.bytes.data() + k, n);
            k += n;
        }
    }
    if (start.IsSet())
        AppendRecord(text, start.nType, 0, start.bytes, 4);
    return text + ":00000001FF\r\n";
}
