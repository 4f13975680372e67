// The chunk scanner every way of reading HEX text shares. Text is cut into pieces of at
// most 999 characters: after a line feed or after 999 characters. A piece ends at a NUL,
// a CR directly before its LF belongs to the line break, and columns at or past its end
// read as the digit 0.
#pragma once

#include "HexParser.h"
#include "ImageBuilder.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace hexscan
{
constexpr int kLineBufferSize = 1000;
constexpr int kMaxPiece = kLineBufferSize - 1;

// byte value of two characters, indexed by the first in the low byte
const uint8_t* PairTable();

inline uint8_t PairAt(const uint8_t* pPairs, const char* p)
{
    return pPairs[static_cast<unsigned char>(p[0]) | static_cast<unsigned char>(p[1]) << 8];
}

// a fixed-column field of a piece; columns at or past nLen read as 0
inline unsigned Field(const char* pPiece, int nLen, int nCol, int nDigits)
{
    unsigned v = 0;
    for (int k = 0; k < nDigits; ++k)
        v = v * 16 + (nCol + k < nLen
                          ? CHexParser::DigitValue(static_cast<unsigned char>(pPiece[nCol + k]))
                          : 0);
    return v;
}

// The n data bytes of a data record; bytes for which the line holds no digits are 0.
inline void DecodeData(const uint8_t* pPairs, const char* pPiece, int nLen, int n, uint8_t* pOut)
{
    int j = 0;
    if (9 + 2 * n <= nLen)
    {
        for (const char* p = pPiece + 9; j < n; ++j, p += 2)
            pOut[j] = PairAt(pPairs, p);
        return;
    }
    for (int p = 9; j < n && p < nLen; ++j, p += 2)
        pOut[j] = static_cast<uint8_t>(Field(pPiece, nLen, p, 2));
    std::memset(pOut + j, 0, static_cast<size_t>(n - j));
}

// Reads records from text fed in chunks of any size and hands every data record to
// the sink: sink.Data(address, piece, piece length, byte count). The sink decodes
// the bytes only when it needs them.
template <class TSink> class CScanner
{
public:
    explicit CScanner(TSink& sink) : m_sink(sink), m_pPairs(PairTable()) {}

    void Feed(const char* pData, size_t nLen)
    {
        const char* p = pData;
        const char* const pEnd = pData + nLen;
        if (m_nLineLen > 0 && !CompleteHeldPiece(p, pEnd))
            return;
        while (p < pEnd)
        {
            const size_t nAvail =
                std::min(static_cast<size_t>(kMaxPiece), static_cast<size_t>(pEnd - p));
            const void* pLf = std::memchr(p, '\n', nAvail);
            if (pLf)
            {
                const int nPiece = static_cast<int>(static_cast<const char*>(pLf) - p) + 1;
                HandlePiece(p, nPiece);
                p += nPiece;
            }
            else if (nAvail == static_cast<size_t>(kMaxPiece))
            {
                HandlePiece(p, kMaxPiece);
                p += kMaxPiece;
            }
            else
            {
                std::memcpy(m_line, p, nAvail);
                m_nLineLen = static_cast<int>(nAvail);
                return;
            }
        }
    }

    // a last line without line break
    void Finish()
    {
        if (m_nLineLen > 0)
            HandlePiece(m_line, m_nLineLen);
        m_nLineLen = 0;
    }

    // the last start-address record so far
    const CStartAddress& StartAddress() const { return m_start; }

private:
    // completes a piece that the previous chunk cut; false while it is still open
    bool CompleteHeldPiece(const char*& p, const char* pEnd)
    {
        const size_t nRoom = static_cast<size_t>(kMaxPiece - m_nLineLen);
        const size_t nAvail = std::min(nRoom, static_cast<size_t>(pEnd - p));
        const void* pLf = std::memchr(p, '\n', nAvail);
        const size_t nTake =
            pLf ? static_cast<size_t>(static_cast<const char*>(pLf) - p) + 1 : nAvail;
        std::memcpy(m_line + m_nLineLen, p, nTake);
        m_nLineLen += static_cast<int>(nTake);
        p += nTake;
        if (!pLf && m_nLineLen < kMaxPiece)
            return false;
        HandlePiece(m_line, m_nLineLen);
        m_nLineLen = 0;
        return true;
    }

    void HandlePiece(const char* pPiece, int nLen)
    {
        // the line ends at a NUL, as a C string would
        if (const void* pNul = std::memchr(pPiece, 0, static_cast<size_t>(nLen)))
            nLen = static_cast<int>(static_cast<const char*>(pNul) - pPiece);
        // CR LF is one line break; the CR then stands in the LF's column, both read as 0
        if (nLen >= 2 && pPiece[nLen - 1] == '\n' && pPiece[nLen - 2] == '\r')
            --nLen;
        if (nLen < 8 || pPiece[0] != ':')
            return;

        unsigned n, nType;
        uint32_t dwOffset;
        if (nLen >= 9)
        {
            n = PairAt(m_pPairs, pPiece + 1);
            dwOffset = static_cast<uint32_t>(PairAt(m_pPairs, pPiece + 3)) << 8 |
                       PairAt(m_pPairs, pPiece + 5);
            nType = PairAt(m_pPairs, pPiece + 7);
        }
        else
        {
            n = Field(pPiece, nLen, 1, 2);
            dwOffset = Field(pPiece, nLen, 3, 4);
            nType = Field(pPiece, nLen, 7, 2);
        }
        if (nType == 0)
            m_sink.Data(dwOffset + m_dwLinearBase + m_dwSegmentBase, pPiece, nLen,
                        static_cast<int>(n));
        else if (nType == 2)
            m_dwSegmentBase = Field(pPiece, nLen, 9, 4) * 16u;
        else if (nType == 4)
            m_dwLinearBase = Field(pPiece, nLen, 9, 4) << 16;
        else if (nType == 3 || nType == 5)
        {
            m_start.nType = static_cast<uint8_t>(nType);
            DecodeData(m_pPairs, pPiece, nLen, 4, m_start.bytes);
        }
    }

    TSink& m_sink;
    const uint8_t* m_pPairs;
    uint32_t m_dwLinearBase = 0;
    uint32_t m_dwSegmentBase = 0;
    CStartAddress m_start;
    // a piece cut by the end of a chunk: at most 999 characters
    char m_line[kLineBufferSize];
    int m_nLineLen = 0;
};
// Adds every data record to the image; stops once a record could not be kept.
struct CImageSink
{
    CImageBuilder& builder;
    const uint8_t* pPairs = PairTable();
    void Data(uint32_t dwAddress, const char* pPiece, int nLen, int n)
    {
        uint8_t bytes[256];
        DecodeData(pPairs, pPiece, nLen, n, bytes);
        builder.AddBytes(dwAddress, bytes, n);
    }
    bool WantsMore() const { return !builder.LostRecords(); }
};
} // namespace hexscan
