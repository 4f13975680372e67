#include "HexParser.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

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

// Byte values of every pair of characters, indexed by the two characters as they
// lie in memory (first character in the low byte).
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

const CPairTable& Pairs()
{
    static const CPairTable table;
    return table;
}

inline uint8_t PairAt(const uint8_t* pTable, const char* p)
{
    return pTable[static_cast<unsigned char>(p[0]) | static_cast<unsigned char>(p[1]) << 8];
}

// The length of a piece as a C string: up to its first NUL.
int CStringLength(const char* p, int nLen)
{
    const void* pNul = std::memchr(p, 0, static_cast<size_t>(nLen));
    return pNul ? static_cast<int>(static_cast<const char*>(pNul) - p) : nLen;
}

inline unsigned DigitAt(const char* p, int nCol)
{
    return kDigits.value[static_cast<unsigned char>(p[nCol])];
}

// A fixed-column field of a line piece; columns at or past nLen read as 0.
unsigned Field(const char* pPiece, int nLen, int nCol, int nDigits)
{
    unsigned v = 0;
    for (int k = 0; k < nDigits; ++k)
        v = v * 16 + (nCol + k < nLen ? DigitAt(pPiece, nCol + k) : 0);
    return v;
}

constexpr int kMaxPiece = CHexTextReader::kLineBufferSize - 1;
} // namespace

int CHexParser::ParseHex(const char* pszText, int nDigits) const
{
    int v = 0;
    for (int k = 0; k < nDigits; ++k)
        v = static_cast<int>(static_cast<unsigned>(v) * 16 + DigitAt(pszText, k));
    return v;
}

CHexTextReader::CHexTextReader(MemoryImage& image) : m_image(image), m_pPairs(Pairs().value) {}

void CHexTextReader::HandlePiece(const char* pPiece, int nLen)
{
    // the line ends at a NUL, as a C string would
    nLen = CStringLength(pPiece, nLen);
    // CR LF is one line break; the CR then stands in the LF's column, both read as 0
    if (nLen >= 2 && pPiece[nLen - 1] == '\n' && pPiece[nLen - 2] == '\r')
        --nLen;
    if (nLen < 8 || pPiece[0] != ':')
        return;

    int n;
    uint32_t dwOffset;
    unsigned nType;
    if (nLen >= 9)
    {
        n = PairAt(m_pPairs, pPiece + 1);
        dwOffset = static_cast<uint32_t>(PairAt(m_pPairs, pPiece + 3)) << 8 | PairAt(m_pPairs, pPiece + 5);
        nType = PairAt(m_pPairs, pPiece + 7);
    }
    else
    {
        n = static_cast<int>(Field(pPiece, nLen, 1, 2));
        dwOffset = Field(pPiece, nLen, 3, 4);
        nType = Field(pPiece, nLen, 7, 2);
    }
    switch (nType)
    {
    case 0:
    {
        uint8_t bytes[256];
        int j = 0;
        if (9 + 2 * n <= nLen)
        {
            const uint8_t* pTable = m_pPairs;
            for (const char* p = pPiece + 9; j < n; ++j, p += 2)
                bytes[j] = PairAt(pTable, p);
        }
        else
        {
            for (int p = 9; j < n && p < nLen; ++j, p += 2)
                bytes[j] = static_cast<uint8_t>(Field(pPiece, nLen, p, 2));
            // bytes for which the line holds no digits
            std::memset(bytes + j, 0, static_cast<size_t>(n - j));
        }
        m_image.AddBytes(dwOffset + m_dwLinearBase + m_dwSegmentBase, bytes, n);
        break;
    }
    case 2:
        m_dwSegmentBase = Field(pPiece, nLen, 9, 4) * 16u;
        break;
    case 4:
        m_dwLinearBase = Field(pPiece, nLen, 9, 4) << 16;
        break;
    default:
        break;
    }
}

void CHexTextReader::Feed(const char* pData, size_t nLen)
{
    const char* p = pData;
    const char* const pEnd = pData + nLen;

    // complete the piece left over from the previous chunk
    if (m_nLineLen > 0)
    {
        const size_t nRoom = static_cast<size_t>(kMaxPiece - m_nLineLen);
        const size_t nAvail = std::min(nRoom, static_cast<size_t>(pEnd - p));
        const void* pLf = std::memchr(p, '\n', nAvail);
        const size_t nTake = pLf ? static_cast<size_t>(static_cast<const char*>(pLf) - p) + 1 : nAvail;
        std::memcpy(m_line + m_nLineLen, p, nTake);
        m_nLineLen += static_cast<int>(nTake);
        p += nTake;
        if (!pLf && m_nLineLen < kMaxPiece)
            return;
        HandlePiece(m_line, m_nLineLen);
        m_nLineLen = 0;
    }

    // pieces end after a line feed or after 999 characters, as fgets would cut them
    while (p < pEnd)
    {
        const size_t nAvail = std::min(static_cast<size_t>(kMaxPiece), static_cast<size_t>(pEnd - p));
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

void CHexTextReader::Finish()
{
    if (m_nLineLen > 0)
        HandlePiece(m_line, m_nLineLen);
    m_nLineLen = 0;
}

bool ReadHexText(MemoryImage& image, const char* pData, size_t nLen)
{
    image.DeleteAll();
    CHexTextReader reader(image);
    reader.Feed(pData, nLen);
    reader.Finish();
    image.Coalesce();
    return image.GetCount() > 0;
}

bool ReadHexFile(MemoryImage& image, const char* pszPath)
{
    // cleared before the file is opened, so a failed read never leaves old data behind
    image.DeleteAll();
    const int fd = ::open(pszPath, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
#ifdef POSIX_FADV_SEQUENTIAL
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
    CHexTextReader reader(image);
    static constexpr size_t kChunk = 1 << 20;
    char* pBuf = new char[kChunk];
    for (;;)
    {
        const ssize_t nRead = ::read(fd, pBuf, kChunk);
        if (nRead < 0 && errno == EINTR)
            continue;
        // a read error ends the file like its end does, keeping what was read
        if (nRead <= 0)
            break;
        reader.Feed(pBuf, static_cast<size_t>(nRead));
    }
    delete[] pBuf;
    ::close(fd);
    reader.Finish();
    image.Coalesce();
    return image.GetCount() > 0;
}
