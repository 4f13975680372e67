// The dump's bytes in chunks: shared slices of the caller's bytes until written to.
#include "HexBuffer.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

namespace
{
// An edit copies or moves at most about two chunks, wherever it is.
constexpr int kChunk = 64 * 1024;
constexpr int kMaxPrivate = 2 * kChunk;
// Room a chunk gets when it grows, so that typing Insert repeatedly does not copy each time.
constexpr int kSlack = 4096;

// Inserted zeros share this until written to: inserting a large selection costs no memory.
const unsigned char s_zeros[kChunk] = {};
} // namespace

void* (*CHexBuffer::s_pfnAlloc)(size_t) = std::malloc;

CHexBuffer::~CHexBuffer()
{
    ReleaseChunks();
}

void CHexBuffer::ReleaseChunks()
{
    ++m_nVersion;
    for (SChunk& chunk : m_chunks)
        std::free(chunk.pOwn);
    m_chunks.clear();
    m_starts.clear();
    m_nLength = 0;
}

void CHexBuffer::Clear()
{
    ReleaseChunks();
    m_pOwner.reset();
}

void CHexBuffer::Share(const unsigned char* pBytes, int nLen, std::shared_ptr<const void> pOwner)
{
    Clear();
    if (pBytes == nullptr || nLen <= 0)
        return;
    try
    {
        const size_t nChunks = static_cast<size_t>(nLen - 1) / kChunk + 1;
        m_chunks.reserve(nChunks);
        m_starts.reserve(nChunks);
    }
    catch (const std::bad_alloc&)
    {
        return;
    }
    for (int nOffset = 0; nOffset < nLen; nOffset += kChunk)
        m_chunks.push_back({pBytes + nOffset, nullptr, std::min(kChunk, nLen - nOffset), 0});
    m_pOwner = std::move(pOwner);
    m_nLength = nLen;
    Renumber(0);
}

bool CHexBuffer::Copy(const unsigned char* pBytes, int nLen)
{
    Share(pBytes, nLen, nullptr);
    for (SChunk& chunk : m_chunks)
    {
        if (!MakePrivate(chunk, 0))
        {
            Clear();
            return false;
        }
    }
    return true;
}

size_t CHexBuffer::FindChunk(int nPos) const
{
    return static_cast<size_t>(std::upper_bound(m_starts.begin(), m_starts.end(), nPos) -
                               m_starts.begin()) -
           1;
}

unsigned char CHexBuffer::At(int nPos) const
{
    const size_t i = FindChunk(nPos);
    return m_chunks[i].pBytes[nPos - m_starts[i]];
}

int CHexBuffer::Read(int nPos, int nCount, unsigned char* pDst) const
{
    if (nPos < 0 || nPos >= m_nLength || nCount <= 0)
        return 0;
    nCount = std::min(nCount, m_nLength - nPos);
    int nDone = 0;
    for (size_t i = FindChunk(nPos); nDone < nCount; ++i)
    {
        const int nOffset = static_cast<int>(nPos + nDone - m_starts[i]);
        const int n = std::min(m_chunks[i].nLen - nOffset, nCount - nDone);
        std::memcpy(pDst + nDone, m_chunks[i].pBytes + nOffset, static_cast<size_t>(n));
        nDone += n;
    }
    return nDone;
}

// Gives the chunk a block of its own with room for nExtra more bytes; unchanged on failure.
bool CHexBuffer::MakePrivate(SChunk& chunk, int nExtra)
{
    const int nNeed = chunk.nLen + nExtra;
    if (chunk.pOwn != nullptr && chunk.nCap >= nNeed)
        return true;
    // a growing chunk gets some room, never past the size at which it would be split
    const int nCap = nExtra == 0 ? nNeed : std::max(nNeed, std::min(nNeed + kSlack, kMaxPrivate));
    auto* pNew = static_cast<unsigned char*>(s_pfnAlloc(static_cast<size_t>(nCap)));
    if (pNew == nullptr)
        return false;
    std::memcpy(pNew, chunk.pBytes, static_cast<size_t>(chunk.nLen));
    std::free(chunk.pOwn);
    chunk.pOwn = pNew;
    chunk.pBytes = pNew;
    chunk.nCap = nCap;
    return true;
}

void CHexBuffer::Renumber(size_t nFrom)
{
    m_starts.resize(m_chunks.size());
    long long nStart = nFrom == 0 ? 0 : m_starts[nFrom - 1] + m_chunks[nFrom - 1].nLen;
    for (size_t i = nFrom; i < m_chunks.size(); ++i)
    {
        m_starts[i] = nStart;
        nStart += m_chunks[i].nLen;
    }
}

bool CHexBuffer::Set(int nPos, unsigned char byte)
{
    ++m_nVersion;
    if (nPos < 0 || nPos >= m_nLength)
        return false;
    const size_t i = FindChunk(nPos);
    SChunk& chunk = m_chunks[i];
    if (!MakePrivate(chunk, 0))
        return false;
    chunk.pOwn[nPos - m_starts[i]] = byte;
    return true;
}

// Makes a chunk start at nPos (nPos may be the length); *pIndex is that chunk's index.
// Needs room for one more chunk reserved; unchanged on failure.
bool CHexBuffer::SplitAt(int nPos, size_t* pIndex)
{
    if (nPos == m_nLength)
    {
        *pIndex = m_chunks.size();
        return true;
    }
    const size_t i = FindChunk(nPos);
    const int nOffset = static_cast<int>(nPos - m_starts[i]);
    if (nOffset == 0)
    {
        *pIndex = i;
        return true;
    }
    SChunk right{m_chunks[i].pBytes + nOffset, nullptr, m_chunks[i].nLen - nOffset, 0};
    if (m_chunks[i].pOwn != nullptr && !MakePrivate(right, 0))
        return false;
    m_chunks[i].nLen = nOffset;
    m_chunks.insert(m_chunks.begin() + static_cast<std::ptrdiff_t>(i) + 1, right);
    m_starts.insert(m_starts.begin() + static_cast<std::ptrdiff_t>(i) + 1, nPos);
    *pIndex = i + 1;
    return true;
}

bool CHexBuffer::InsertZeros(int nPos, int nCount)
{
    ++m_nVersion;
    if (nPos < 0 || nPos > m_nLength || nCount < 1 ||
        static_cast<long long>(m_nLength) + nCount > INT_MAX)
        return false;
    // a few bytes go into the chunk at the caret (the last chunk at the end)
    if (m_nLength > 0 && nCount <= kSlack)
    {
        const size_t i = nPos == m_nLength ? m_chunks.size() - 1 : FindChunk(nPos);
        SChunk& chunk = m_chunks[i];
        if (chunk.nLen + nCount <= kMaxPrivate)
        {
            if (!MakePrivate(chunk, nCount))
                return false;
            const int nOffset = static_cast<int>(nPos - m_starts[i]);
            std::memmove(chunk.pOwn + nOffset + nCount, chunk.pOwn + nOffset,
                         static_cast<size_t>(chunk.nLen - nOffset));
            std::memset(chunk.pOwn + nOffset, 0, static_cast<size_t>(nCount));
            chunk.nLen += nCount;
            m_nLength += nCount;
            Renumber(i + 1);
            return true;
        }
    }
    // otherwise new chunks of shared zeros, between the two halves of the chunk at nPos
    const size_t nNew = static_cast<size_t>(nCount - 1) / kChunk + 1;
    try
    {
        m_chunks.reserve(m_chunks.size() + nNew + 1);
        m_starts.reserve(m_chunks.size() + nNew + 1);
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    size_t nIndex = 0;
    if (!SplitAt(nPos, &nIndex))
        return false;
    const auto it = m_chunks.insert(m_chunks.begin() + static_cast<std::ptrdiff_t>(nIndex), nNew,
                                    SChunk{s_zeros, nullptr, kChunk, 0});
    (it + static_cast<std::ptrdiff_t>(nNew) - 1)->nLen =
        nCount - static_cast<int>(nNew - 1) * kChunk;
    m_nLength += nCount;
    Renumber(nIndex);
    return true;
}

bool CHexBuffer::Erase(int nPos, int nCount)
{
    ++m_nVersion;
    if (nPos < 0 || nCount < 1 || static_cast<long long>(nPos) + nCount > m_nLength)
        return false;
    const size_t i = FindChunk(nPos);
    const int nOffset = static_cast<int>(nPos - m_starts[i]);
    SChunk& chunk = m_chunks[i];
    // within one chunk that keeps some bytes: a shared one loses its head or tail for
    // free, otherwise the bytes after the gap move down
    const int nTail = chunk.nLen - nOffset - nCount;
    if (nTail >= 0 && nCount < chunk.nLen)
    {
        if (chunk.pOwn == nullptr && nOffset == 0)
            chunk.pBytes += nCount;
        else if (nTail > 0 && !MakePrivate(chunk, 0))
            return false;
        else if (nTail > 0)
            std::memmove(chunk.pOwn + nOffset, chunk.pOwn + nOffset + nCount,
                         static_cast<size_t>(nTail));
        chunk.nLen -= nCount;
        m_nLength -= nCount;
        Renumber(i + 1);
        return true;
    }
    // across chunks: cut at both ends and drop the chunks between
    try
    {
        m_chunks.reserve(m_chunks.size() + 2);
        m_starts.reserve(m_chunks.size() + 2);
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    size_t nFirst = 0;
    size_t nEnd = 0;
    if (!SplitAt(nPos, &nFirst))
        return false;
    // a failed second cut leaves the first one: the same bytes in one more chunk
    if (!SplitAt(nPos + nCount, &nEnd))
        return false;
    for (size_t k = nFirst; k < nEnd; ++k)
        std::free(m_chunks[k].pOwn);
    m_chunks.erase(m_chunks.begin() + static_cast<std::ptrdiff_t>(nFirst),
                   m_chunks.begin() + static_cast<std::ptrdiff_t>(nEnd));
    m_nLength -= nCount;
    Renumber(nFirst);
    return true;
}
