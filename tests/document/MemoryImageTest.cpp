// The segment table: how it grows and what GetAt gives (CoalesceModelTest checks what
// AddBytes and Coalesce do to it).
#include "TestSupport.h"

#include <climits>

namespace
{

TEST(MemoryImageTable, AddGrowsCapacityBySevenEntries)
{
    constexpr int kSteps[][2] = {{0, 0}, {1, 7}, {7, 7}, {8, 14}, {14, 14}, {15, 21}, {22, 28}};
    MemoryImage image;
    for (const auto& [nCount, nCapacity] : kSteps)
    {
        while (image.GetCount() < nCount)
            FillImage(image, {{static_cast<uint32_t>(image.GetCount()), {}}});
        EXPECT_EQ(image.GetCapacity(), nCapacity) << "count " << nCount;
    }
    EXPECT_EQ(image.GetAt(21)->m_dwAddress, 21u);
}

TEST(MemoryImageTable, SetSizeFollowsTheGrowthRule)
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
        SCOPED_TRACE(testing::PrintToString(sizes));
        EXPECT_EQ(image.GetCount(), nCount);
        EXPECT_EQ(image.GetCapacity(), nCapacity);
        for (int i = 0; i < nCount; ++i)
            EXPECT_EQ(image.GetAt(i), nullptr);
    }
}

TEST(MemoryImageTable, GetAtIsNullOutsideTheCountAndInGaps)
{
    MemoryImage image;
    EXPECT_EQ(image.GetAt(0), nullptr);
    auto* p = new MemorySegment;
    image.SetAtGrow(9, p);
    EXPECT_EQ(image.GetCount(), 10);
    EXPECT_EQ(image.GetCapacity(), 14);
    for (int i : {-1, INT_MIN, 0, 8, 10, 14, INT_MAX})
        EXPECT_EQ(image.GetAt(i), nullptr) << i;
    // an entry past the count is out of range even while it still holds a segment
    ASSERT_TRUE(image.SetSize(9));
    EXPECT_EQ(image.GetAt(9), nullptr);
    ASSERT_TRUE(image.SetSize(10));
    EXPECT_EQ(image.GetAt(9), p);
    image.DeleteAll(); // skips the null entries
    EXPECT_EQ(image.GetCapacity(), 0);
}

} // namespace
