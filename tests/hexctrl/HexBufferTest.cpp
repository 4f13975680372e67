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
    buffer.Read(0, buffer.GetLength(), bytes.data());
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

using HexBufferEdits = testing::TestWithParam<SEditMix>;

TEST_P(HexBufferEdits, MatchAVectorAndNeverWriteTheSharedBytes)
{
    const SEditMix& mix = GetParam();
    auto pOwner = std::make_shared<std::vector<unsigned char>>(Pattern(mix.nLength));
    const std::weak_ptr<std::vector<unsigned char>> pWatch = pOwner;
    std::vector<unsigned char> model = *pOwner;
    CHexBuffer buffer;
    const unsigned char* pBytes = pOwner->data();
    buffer.Share(pBytes, mix.nLength, std::move(pOwner));
    std::mt19937 random(12345);
    for (int nStep = 0; nStep < 3000; ++nStep)
    {
        const int nLen = static_cast<int>(model.size());
        // half of the positions fall next to a chunk boundary
        int nPos = static_cast<int>(random() % (nLen + 1));
        if (random() % 2 != 0 && nLen > 65536)
            nPos = std::min(
                nLen, static_cast<int>(65536 * (1 + random() % (nLen / 65536)) - 2 + random() % 4));
        const int nCount = 1 + static_cast<int>(random() % mix.nMaxCount);
        bool bDone = false;
        bool bExpected = true;
        switch (random() % 3)
        {
        case 0:
            bDone = buffer.Set(nPos, static_cast<unsigned char>(nStep));
            bExpected = nPos < nLen;
            if (bExpected)
                model[static_cast<size_t>(nPos)] = static_cast<unsigned char>(nStep);
            break;
        case 1:
            bDone = buffer.InsertZeros(nPos, nCount);
            model.insert(model.begin() + nPos, static_cast<size_t>(nCount), 0);
            break;
        default:
            bDone = buffer.Erase(nPos, nCount);
            bExpected = nPos + nCount <= nLen;
            if (bExpected)
                model.erase(model.begin() + nPos, model.begin() + nPos + nCount);
        }
        ASSERT_EQ(bDone, bExpected) << "step " << nStep;
        ASSERT_EQ(Contents(buffer), model) << "step " << nStep;
    }
    EXPECT_LE(buffer.GetChunkCount(), model.size() / 65536 + 1000);
    EXPECT_EQ(pWatch.expired(), mix.nLength == 0) << "shared bytes live while shown";
    if (mix.nLength > 0)
    {
        EXPECT_EQ(*pWatch.lock(), Pattern(mix.nLength)) << "an edit reached the caller's bytes";
    }
    buffer.Clear();
    EXPECT_TRUE(pWatch.expired());
}

INSTANTIATE_TEST_SUITE_P(
    Mixes, HexBufferEdits,
    testing::Values(
        SEditMix{.pszName = "SmallEditsInFiveChunks", .nLength = 300000, .nMaxCount = 8},
        SEditMix{.pszName = "LargeEdits", .nLength = 300000, .nMaxCount = 200000},
        SEditMix{.pszName = "FromEmpty", .nLength = 0, .nMaxCount = 70000}),
    [](const auto& info) { return info.param.pszName; });

// With no memory left an edit changes nothing, except what needs none: cutting a shared
// chunk's head or tail.
TEST(HexBufferTest, WithoutMemory)
{
    const std::vector<unsigned char> original = Pattern(300000);
    std::vector<unsigned char> model = original;
    CHexBuffer buffer;
    buffer.Share(original.data(), 300000, nullptr);
    ASSERT_TRUE(buffer.Set(70000, 1));
    model[70000] = 1;
    CHexBuffer::s_pfnAlloc = [](size_t) -> void* { return nullptr; };
    EXPECT_FALSE(buffer.Set(5, 1)) << "a shared chunk";
    EXPECT_FALSE(buffer.InsertZeros(100, 3)) << "a shared chunk";
    EXPECT_FALSE(buffer.Erase(65000, 1000)) << "a cut through a private chunk";
    EXPECT_FALSE(buffer.Erase(100, 5)) << "a gap inside a shared chunk";
    for (const int nAt : {4 * 65536, 3 * 65536})
    {
        EXPECT_TRUE(buffer.Erase(nAt, 10)) << "head of a shared chunk";
        EXPECT_TRUE(buffer.Erase(nAt - 7, 7)) << "tail of a shared chunk";
        model.erase(model.begin() + nAt, model.begin() + nAt + 10);
        model.erase(model.begin() + nAt - 7, model.begin() + nAt);
    }
    CHexBuffer copy;
    EXPECT_FALSE(copy.Copy(original.data(), 100));
    CHexBuffer::s_pfnAlloc = std::malloc;
    EXPECT_EQ(Contents(buffer), model);
    EXPECT_EQ(copy.GetLength(), 0);
}
} // namespace
