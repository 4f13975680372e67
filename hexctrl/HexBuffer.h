// The dump's bytes. Until the first edit they are the bytes the caller handed over, shared
// and never copied, kept alive by the caller's owner handle; an edit copies only the chunk
// it touches, so that typing, inserting and deleting cost the same in a segment of 256 MiB
// as in one of 256 bytes, and memory stays at the size of the data until the user edits.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

class CHexBuffer
{
public:
    // Allocation seam: tests make it fail to check that a failed edit changes nothing.
    static void* (*s_pfnAlloc)(size_t);

    CHexBuffer() = default;
    CHexBuffer(const CHexBuffer&) = delete;
    CHexBuffer& operator=(const CHexBuffer&) = delete;
    ~CHexBuffer();

    // Shows nLen bytes at pBytes without copying them; pOwner keeps them alive and
    // unchanged for as long as this buffer refers to them.
    void Share(const unsigned char* pBytes, int nLen, std::shared_ptr<const void> pOwner);
    // A private copy of the bytes, for callers that cannot promise to keep them.
    bool Copy(const unsigned char* pBytes, int nLen);
    void Clear();

    int GetLength() const { return m_nLength; }
    unsigned char At(int nPos) const;
    // Copies the bytes from nPos on, at most nCount, into pDst; returns how many it copied.
    int Read(int nPos, int nCount, unsigned char* pDst) const;

    // Each returns false, with the bytes unchanged, when memory runs out or the
    // positions are outside the data.
    bool Set(int nPos, unsigned char byte);
    bool InsertZeros(int nPos, int nCount);
    bool Erase(int nPos, int nCount);

    // Changes whenever the bytes may have: a picture of them drawn at one version stays right.
    unsigned long GetVersion() const { return m_nVersion; }
    // How many pieces the bytes are in: edits must keep this near length / chunk size.
    size_t GetChunkCount() const { return m_chunks.size(); }

private:
    // A run of bytes: a slice of the shared bytes (or of the shared zeros) until written
    // to, then a block of its own with room to grow.
    struct SChunk
    {
        const unsigned char* pBytes = nullptr;
        unsigned char* pOwn = nullptr; // equals pBytes once the chunk is private
        int nLen = 0;
        int nCap = 0;
    };

    size_t FindChunk(int nPos) const;
    bool MakePrivate(SChunk& chunk, int nExtra);
    bool SplitAt(int nPos, size_t* pIndex);
    void Renumber(size_t nFrom);
    void ReleaseChunks();

    std::vector<SChunk> m_chunks;
    std::vector<long long> m_starts; // offset of each chunk's first byte
    std::shared_ptr<const void> m_pOwner;
    int m_nLength = 0;
    unsigned long m_nVersion = 0;
};
