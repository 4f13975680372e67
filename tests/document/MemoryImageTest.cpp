// The segment table: how it grows and what GetAt gives; AddBytes, the image builder and
// Coalesce against the reference model (first segment in table order that ends at the
// address; exchange sort; merge of touching neighbours), on random tables full of ties,
// shared ends, neighbours and empty segments; running out of memory while blocks grow.
#include "CollidingEnds.h"
#include "ImageBuilder.h"
#include "SegmentEndIndex.h"
#include "TestSupport.h"

#include <climits>
#include <fstream>
#include <random>

#include <sys/resource.h>
#include <unistd.h>

namespace
{

TEST(MemoryImageTable, GrowsInStepsOfSevenAndGetAtStaysInside)
{
    // sizes set one after the other; count and capacity after the last
    const std::tuple<std::vector<int>, int, int> kCases[] = {
        {{1}, 1, 7},       {{7}, 7, 14},   {{10}, 10, 14}, {{3, 8}, 8, 10},
        {{3, 20}, 20, 24}, {{3, 7}, 7, 7}, {{5, 2}, 2, 7}, {{5, 0}, 0, 0}};
    for (const auto& [sizes, nCount, nCapacity] : kCases)
    {
        MemoryImage image;
        for (int n : sizes)
            EXPECT_TRUE(image.SetSize(n));
        EXPECT_EQ(std::make_pair(image.GetCount(), image.GetCapacity()),
                  std::make_pair(nCount, nCapacity))
            << testing::PrintToString(sizes);
    }
    MemoryImage image;
    auto* p = new MemorySegment;
    image.SetAtGrow(9, p);
    for (int i : {-1, INT_MIN, 0, 8, 10, 14, INT_MAX})
        EXPECT_EQ(image.GetAt(i), nullptr) << i;
    // an entry past the count is out of range even while it still holds a segment
    ASSERT_TRUE(image.SetSize(9));
    EXPECT_EQ(image.GetAt(9), nullptr);
    ASSERT_TRUE(image.SetSize(10));
    EXPECT_EQ(image.GetAt(9), p);
}

// Addresses from a narrow window so that starts repeat and segments touch.
class CRandom
{
public:
    explicit CRandom(uint32_t nSeed) : m_rng(nSeed) {}
    int Pick(int nLow, int nHigh) { return std::uniform_int_distribution<int>(nLow, nHigh)(m_rng); }
    // now and then near the top, so that ends wrap past 0xFFFFFFFF
    uint32_t Address(int nWindow)
    {
        return (Pick(0, 9) == 0 ? 0xFFFFFFF0u : 0u) + static_cast<uint32_t>(Pick(0, nWindow));
    }
    SegmentCopy Segment(int nWindow)
    {
        SegmentCopy s = {Address(nWindow), Bytes(Pick(0, 3) == 0 ? 0 : Pick(1, 4))};
        for (uint8_t& b : s.bytes)
            b = m_nTag++; // every byte tells which segment it came from
        return s;
    }

private:
    std::mt19937 m_rng;
    uint8_t m_nTag = 0;
};

// Builders fed an ascending run first, then records that go back, share ends with many
// segments and extend them again; ready segments added as they are, ties by the dozen;
// Coalesce, RemoveAt and DeleteAll in between.
TEST(CoalesceModel, RandomOperationSequences)
{
    CRandom random(5);
    for (int t = 0; t < 300; ++t)
    {
        MemoryImage image;
        ImageCopy model;
        for (int nStep = 0; nStep < 30; ++nStep)
        {
            const int nKind = random.Pick(0, 20);
            if (nKind < 12)
            {
                const int nInOrder = random.Pick(0, 10);
                uint32_t dwNext = 0;
                {
                    CImageBuilder builder(image);
                    for (int k = 0, n = random.Pick(1, 30); k < n; ++k)
                    {
                        SegmentCopy s = random.Segment(40);
                        if (k < nInOrder)
                            s.dwAddress = dwNext += static_cast<uint32_t>(random.Pick(0, 1) * 3);
                        else if (random.Pick(0, 3) == 0)
                            s.dwAddress = dwNext; // where the last record ended
                        dwNext = s.dwAddress + static_cast<uint32_t>(s.bytes.size());
                        builder.AddBytes(s.dwAddress, s.bytes.data(),
                                         static_cast<int>(s.bytes.size()));
                        ReferenceAddBytes(model, s.dwAddress, s.bytes);
                    }
                }
            }
            else if (nKind < 14)
            {
                ImageCopy ready(random.Pick(1, 40));
                for (SegmentCopy& s : ready)
                    s = random.Segment(random.Pick(0, 1) == 0 ? 4 : 80);
                FillImage(image, ready);
                model.insert(model.end(), ready.begin(), ready.end());
            }
            else if (nKind < 18)
            {
                image.Coalesce();
                ReferenceCoalesce(model);
            }
            else if (nKind < 20)
            {
                const int i = random.Pick(-1, static_cast<int>(model.size()));
                image.RemoveAt(i);
                if (i >= 0 && i < static_cast<int>(model.size()))
                    model.erase(model.begin() + i);
            }
            else
            {
                image.DeleteAll();
                model.clear();
            }
            ASSERT_EQ(Dump(image), Dump(model)) << "sequence " << t << ", step " << nStep;
        }
    }
}

constexpr uint32_t kRecord = 1u << 20;

// Bytes of the whole image, or -1 when a byte is not the one written at its address
// (record i holds run[(i * 31) % 256 ...]).
long long WholeBytes(const MemoryImage& image)
{
    long long qwTotal = 0;
    for (int i = 0; i < image.GetCount(); ++i)
    {
        const MemorySegment* p = image.GetAt(i);
        for (uint32_t k = 0; k < static_cast<uint32_t>(p->m_nSize); ++k)
            if (p->m_pBytes[k] !=
                static_cast<uint8_t>(((p->m_dwAddress + k) >> 20) * 31 + p->m_dwAddress + k))
                return -1;
        qwTotal += p->m_nSize;
    }
    return qwTotal;
}

// In a child: 512 MiB of 1 MiB records in one ascending run under an address-space limit
// 128 MiB above the start. 0 when records were dropped and every segment stayed whole, 3
// when the limit could not be set or did not bite.
int AppendUnderLimit()
{
    const Bytes run = Sequence(kRecord + 256);
    long nPages = 0;
    std::ifstream("/proc/self/statm") >> nPages;
    const rlim_t nLimit = static_cast<rlim_t>(nPages * sysconf(_SC_PAGESIZE)) + (128u << 20);
    const struct rlimit limit = {nLimit, nLimit};
    if (nPages == 0 || setrlimit(RLIMIT_AS, &limit) != 0)
        return 3;
    MemoryImage image;
    {
        CImageBuilder builder(image);
        for (uint32_t i = 0; i < 512; ++i)
            builder.AddBytes(i * kRecord, run.data() + (i * 31) % 256, static_cast<int>(kRecord));
    }
    const long long qwTotal = WholeBytes(image);
    if (qwTotal == 512LL * kRecord)
        return 3;
    image.Coalesce();
    return qwTotal > 0 && WholeBytes(image) == qwTotal ? 0 : 10;
}

TEST(MemoryImageLimits, AllocationFailureDropsRecordsAndKeepsSegmentsWhole)
{
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the address sanitizer cannot run under an address space limit";
#endif
    const int nStatus = RunInChild(AppendUnderLimit, false);
    if (nStatus == 3)
        GTEST_SKIP() << "could not limit the address space";
    EXPECT_EQ(nStatus, 0) << "-1: the child was killed";
}

// Ends picked to pile up under one fixed hash must not pile up in the index: its
// lookups stay a few slots each, whichever ends a file gives.
TEST(SegmentEndIndex, CraftedEndsStayCheapToFind)
{
    const std::vector<uint32_t> ends = CollidingEnds(20000);
    MemoryImage image;
    {
        CImageBuilder builder(image);
        for (uint32_t dwEnd : ends)
            builder.AddBytes(dwEnd - 1, Sequence(1).data(), 1);
    }
    EXPECT_LT(CSegmentEndIndex(image).Probes(), 8 * ends.size());
}

} // namespace
