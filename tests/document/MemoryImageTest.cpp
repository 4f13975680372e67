// The segment table: growth, access, and how AddBytes and Coalesce shape it.
#include "TestSupport.h"

#include <climits>
#include <sstream>

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

// The rules on examples (the model tests check them on random tables). Steps:
// "A<address>:<bytes>" AddBytes, "X<address>:<bytes>" Add of a ready segment, "C" Coalesce.
struct OpsCase
{
    const char* pszName;
    const char* pszSteps;
    std::vector<std::string> segments;
};

void PrintTo(const OpsCase& c, std::ostream* pOut)
{
    *pOut << c.pszName;
}

const OpsCase kOpsCases[] = {
    {"FirstSegmentInTableOrderIsExtended",
     "A2:C2C3 A0:00010203 C A2:B2B3 A4:04",
     {"00000000 5 0001020304", "00000002 2 C2C3", "00000002 2 B2B3"}},
    {"SegmentAddedWholeIsExtended", "X20:2021 A22:22", {"00000020 3 202122"}},
    // starts 2 (first), 2 (second), 1 end as 1, 2 (second), 2 (first)
    {"EqualStartsKeepTheExchangeSortOrder",
     "A2:A1 A2:B1 A1:C1C2 C",
     {"00000001 2 C1C2", "00000002 1 B1", "00000002 1 A1"}},
    {"WrappedSegmentSortsLastAndDoesNotMerge",
     "AFFFFFFFF:FF00 A1:01 A0:00 C",
     {"00000000 1 00", "FFFFFFFF 3 FF0001"}},
};

class MemoryImageOps : public testing::TestWithParam<OpsCase>
{
};

TEST_P(MemoryImageOps, LeaveTheExpectedTable)
{
    MemoryImage image;
    std::istringstream steps(GetParam().pszSteps);
    for (std::string step; steps >> step;)
    {
        const size_t nColon = step.find(':');
        if (nColon == std::string::npos)
        {
            image.Coalesce();
            continue;
        }
        const auto dwAddress = static_cast<uint32_t>(std::stoll(step.substr(1, nColon - 1), nullptr, 16));
        const Bytes bytes = FromHex(step.substr(nColon + 1));
        if (step[0] == 'A')
            image.AddBytes(dwAddress, bytes.data(), static_cast<int>(bytes.size()));
        else
            FillImage(image, {{dwAddress, bytes}});
    }
    EXPECT_EQ(Dump(image), GetParam().segments);
}

INSTANTIATE_TEST_SUITE_P(Cases, MemoryImageOps, testing::ValuesIn(kOpsCases),
                         [](const auto& info) { return std::string(info.param.pszName); });

} // namespace
