// The dump's chunked bytes against a plain vector: random edits around chunk boundaries,
// failed allocations, and the shared bytes never written to.
#include "HexBuffer.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace
{
std::vector<unsigned char> Contents(const CHexBuffer& buffer)
{
    std::vector<unsigned char> bytes(static_cast<size_t>(buffer.GetLength()));
    EXPECT_EQ(buffer.Read(0, buffer.GetLength(), bytes.data()), buffer.GetLength());
    return bytes;
}

std::vector<unsigned char> Pattern(int nLen)
{
    std::vector<unsigned char> bytes(static_cast<size_t>(nLen));
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<unsigned char>(i * 7 + (i >> 9));
    return bytes;
}

struct SEditMix
{
    const char* pszName;
    int nLength;
    int nMaxCount; // largest insert or delete
};

const SEditMix s_mixes[] = {
    {.pszName = "SmallEditsInFiveChunks", .nLength = 300000, .nMaxCount = 8},
    {.pszName = "LargeInsertsAndDeletes", .nLength = 300000, .nMaxCount = 200000},
    {.pszName = "FromEmpty", .nLength = 0, .nMaxCount = 70000},
};

class HexBufferEdits : public testing::TestWithParam<SEditMix>
{
};

TEST_P(HexBufferEdits, MatchAVectorAndNeverWriteTheSharedBytes)
{
    const SEditMix& mix = GetParam();
    const std::vector<unsigned char> original = Pattern(mix.nLength);
    auto pOwner = std::make_shared<std::vector<unsigned char>>(original);
    std::weak_ptr<std::vector<unsigned char>> pWatch = pOwner;
    CHexBuffer buffer;
    buffer.Share(pOwner->data(), mix.nLength, pOwner);
    pOwner.reset();
    std::vector<unsigned char> model = original;
    std::mt19937 random(12345);
    for (int nStep = 0; nStep < 3000; ++nStep)
    {
        const int nLen = static_cast<int>(model.size());
        // half of the positions fall next to a chunk boundary
        int nPos = static_cast<int>(random() % (nLen + 1));
        if (random() % 2 != 0 && nLen > 65536)
            nPos = std::min(nLen, static_cast<int>(65536 * (1 + random() % (nLen / 65536))) - 2 +
                                      static_cast<int>(random() % 4));
        const int nCount = 1 + static_cast<int>(random() % mix.nMaxCount);
        switch (random() % 3)
        {
        case 0:
            if (nPos < nLen)
                model[static_cast<size_t>(nPos)] = static_cast<unsigned char>(nStep);
            EXPECT_EQ(buffer.Set(nPos, static_cast<unsigned char>(nStep)), nPos < nLen);
            break;
        case 1:
            model.insert(model.begin() + nPos, static_cast<size_t>(nCount), 0);
            ASSERT_TRUE(buffer.InsertZeros(nPos, nCount));
            break;
        default:
            const bool bFits = nPos + nCount <= nLen;
            if (bFits)
                model.erase(model.begin() + nPos, model.begin() + nPos + nCount);
            ASSERT_EQ(buffer.Erase(nPos, nCount), bFits);
        }
        ASSERT_EQ(buffer.GetLength(), static_cast<int>(model.size())) << "step " << nStep;
        if (nStep % 100 == 0 || nStep > 2990)
        {
            ASSERT_EQ(Contents(buffer), model) << "step " << nStep;
        }
    }
    for (int i = 0; i < 50 && !model.empty(); ++i)
    {
        const int nPos = static_cast<int>(random() % model.size());
        EXPECT_EQ(buffer.At(nPos), model[static_cast<size_t>(nPos)]);
    }
    EXPECT_LE(buffer.GetChunkCount(), model.size() / 65536 + 1000);
    if (mix.nLength == 0)
        return;
    ASSERT_FALSE(pWatch.expired()) << "the shared bytes must live while the buffer shows them";
    EXPECT_EQ(*pWatch.lock(), original) << "an edit reached the caller's bytes";
    buffer.Clear();
    EXPECT_TRUE(pWatch.expired());
}

INSTANTIATE_TEST_SUITE_P(Mixes, HexBufferEdits, testing::ValuesIn(s_mixes),
                         [](const auto& info) { return info.param.pszName; });

TEST(HexBufferTest, FailedAllocationsChangeNothing)
{
    const std::vector<unsigned char> original = Pattern(200000);
    CHexBuffer buffer;
    buffer.Share(original.data(), 200000, nullptr);
    ASSERT_TRUE(buffer.Set(70000, 1));
    const std::vector<unsigned char> before = Contents(buffer);
    CHexBuffer::s_pfnAlloc = [](size_t) -> void* { return nullptr; };
    EXPECT_FALSE(buffer.Set(5, 1)) << "a shared chunk";
    EXPECT_FALSE(buffer.InsertZeros(100, 3)) << "a shared chunk";
    EXPECT_FALSE(buffer.Erase(65000, 1000)) << "a cut through a private chunk";
    EXPECT_FALSE(buffer.Erase(100, 5)) << "a gap inside a shared chunk";
    CHexBuffer copy;
    EXPECT_FALSE(copy.Copy(original.data(), 100));
    CHexBuffer::s_pfnAlloc = std::malloc;
    EXPECT_EQ(Contents(buffer), before);
    EXPECT_EQ(copy.GetLength(), 0);
}

// Cutting a shared chunk's head or tail needs no memory: deleting a run at a chunk's
// edge in a huge segment must work even when nothing more can be allocated.
TEST(HexBufferTest, SharedChunksLoseHeadsAndTailsWithoutMemory)
{
    const std::vector<unsigned char> original = Pattern(300000);
    std::vector<unsigned char> model = original;
    CHexBuffer buffer;
    buffer.Share(original.data(), 300000, nullptr);
    CHexBuffer::s_pfnAlloc = [](size_t) -> void* { return nullptr; };
    for (int nChunk = 4; nChunk >= 1; --nChunk)
    {
        EXPECT_TRUE(buffer.Erase(65536 * nChunk, 10)) << "head of chunk " << nChunk;
        EXPECT_TRUE(buffer.Erase(65536 * nChunk - 7, 7)) << "tail of chunk " << nChunk - 1;
        model.erase(model.begin() + 65536 * nChunk, model.begin() + 65536 * nChunk + 10);
        model.erase(model.begin() + 65536 * nChunk - 7, model.begin() + 65536 * nChunk);
    }
    CHexBuffer::s_pfnAlloc = std::malloc;
    EXPECT_EQ(Contents(buffer), model);
}
} // namespace
