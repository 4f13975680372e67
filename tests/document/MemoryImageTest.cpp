// The segment table: growth, access, removal, and how AddBytes and Coalesce shape it.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <climits>

using namespace corvane_test;

namespace
{

TEST(MemoryImageTable, StartsEmpty)
{
    MemoryImage image;
    EXPECT_EQ(image.m_nCount, 0);
    EXPECT_EQ(image.m_nCapacity, 0);
    EXPECT_EQ(image.m_nGrowBy, 7);
    EXPECT_EQ(image.m_ppSegments, nullptr);
    EXPECT_EQ(image.GetCount(), 0);
    EXPECT_EQ(image.GetAt(0), nullptr);
    EXPECT_EQ(image.GetAt(-1), nullptr);
}

TEST(MemoryImageTable, AddGrowsCapacityBySevenEntries)
{
    struct Step
    {
        int nCount;
        int nCapacity;
    };
    constexpr Step kSteps[] = {{1, 7}, {7, 7}, {8, 14}, {14, 14}, {15, 21}, {21, 21}, {22, 28}};
    MemoryImage image;
    for (const Step& step : kSteps)
    {
        while (image.GetCount() < step.nCount)
            AddSegment(image, static_cast<uint32_t>(image.GetCount()), {});
        EXPECT_EQ(image.m_nCapacity, step.nCapacity) << "count " << step.nCount;
        for (int i = image.m_nCount; i < image.m_nCapacity; ++i)
            EXPECT_EQ(image.m_ppSegments[i], nullptr) << "spare entry " << i;
    }
    for (int i = 0; i < image.GetCount(); ++i)
        EXPECT_EQ(image.GetAt(i)->m_dwAddress, static_cast<uint32_t>(i));
}

TEST(MemoryImageTable, SetSizeFollowsTheGrowthRule)
{
    struct Case
    {
        std::vector<int> sizes;
        int nCount;
        int nCapacity;
    };
    const Case kCases[] = {
        {{1}, 1, 7},       {{7}, 7, 14},   {{10}, 10, 14}, {{3, 8}, 8, 10},
        {{3, 20}, 20, 24}, {{3, 7}, 7, 7}, {{5, 2}, 2, 7}, {{5, 0}, 0, 0},
    };
    for (const Case& c : kCases)
    {
        MemoryImage image;
        for (int n : c.sizes)
            EXPECT_TRUE(image.SetSize(n));
        EXPECT_EQ(image.GetCount(), c.nCount) << testing::PrintToString(c.sizes);
        EXPECT_EQ(image.m_nCapacity, c.nCapacity) << testing::PrintToString(c.sizes);
        EXPECT_EQ(image.m_ppSegments == nullptr, c.nCapacity == 0);
        for (int i = 0; i < image.m_nCapacity; ++i)
            EXPECT_EQ(image.m_ppSegments[i], nullptr);
    }
}

TEST(MemoryImageTable, SetAtGrowFillsTheGapWithNull)
{
    MemoryImage image;
    auto* p = new MemorySegment;
    image.SetAtGrow(9, p);
    EXPECT_EQ(image.GetCount(), 10);
    EXPECT_EQ(image.m_nCapacity, 14);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(image.GetAt(i), nullptr);
    EXPECT_EQ(image.GetAt(9), p);
    // DeleteAll skips the null entries
    image.DeleteAll();
    EXPECT_EQ(image.GetCount(), 0);
}

TEST(MemoryImageTable, GetAtOutOfRangeIsNull)
{
    MemoryImage image;
    FillImage(image, {{0x10, {1}}, {0x20, {2}}, {0x30, {3}}});
    for (int i : {-1, INT_MIN, 3, 4, 7, INT_MAX})
        EXPECT_EQ(image.GetAt(i), nullptr) << i;
    EXPECT_NE(image.GetAt(2), nullptr);

    // an entry past the count is out of range even while it still holds a segment
    ASSERT_TRUE(image.SetSize(2));
    EXPECT_EQ(image.GetAt(2), nullptr);
    ASSERT_TRUE(image.SetSize(3));
    EXPECT_EQ(image.GetAt(2)->m_dwAddress, 0x30u);
}

TEST(MemoryImageTable, RemoveAtShiftsLaterEntriesAndIgnoresBadIndexes)
{
    MemoryImage image;
    FillImage(image, {{0xA, {1}}, {0xB, {}}, {0xC, {3, 4}}, {0xD, {5}}});
    image.RemoveAt(-1);
    image.RemoveAt(4);
    EXPECT_EQ(image.GetCount(), 4);
    image.RemoveAt(1);
    EXPECT_EQ(Dump(image),
              (std::vector<std::string>{"0000000A 1 01", "0000000C 2 0304", "0000000D 1 05"}));
    image.RemoveAt(2);
    image.RemoveAt(0);
    EXPECT_EQ(Dump(image), std::vector<std::string>{"0000000C 2 0304"});
}

TEST(MemoryImageTable, DeleteAllReleasesTheTableAndForgetsSegmentEnds)
{
    MemoryImage image;
    image.AddBytes(0x10, ByteRun(1, 4).data(), 4);
    image.AddBytes(0x40, ByteRun(9, 4).data(), 4);
    image.DeleteAll();
    EXPECT_EQ(image.m_nCount, 0);
    EXPECT_EQ(image.m_nCapacity, 0);
    EXPECT_EQ(image.m_ppSegments, nullptr);
    // a record at a destroyed segment's end starts a segment of its own
    image.AddBytes(0x14, ByteRun(5, 2).data(), 2);
    EXPECT_EQ(Dump(image), std::vector<std::string>{"00000014 2 0506"});
}

TEST(MemoryImageTable, SwapExchangesContentsAndAppendState)
{
    MemoryImage a;
    MemoryImage b;
    a.AddBytes(0x100, ByteRun(1, 4).data(), 4);
    a.Swap(b);
    EXPECT_EQ(a.GetCount(), 0);
    b.AddBytes(0x104, ByteRun(5, 2).data(), 2);
    a.AddBytes(0x104, ByteRun(7, 1).data(), 1);
    EXPECT_EQ(Dump(b), std::vector<std::string>{"00000100 6 010203040506"});
    EXPECT_EQ(Dump(a), std::vector<std::string>{"00000104 1 07"});
}

TEST(MemoryImageSegments, EmptyRecordMakesASegmentWithoutBlock)
{
    MemoryImage image;
    image.AddBytes(0x1000, ByteRun(0, 16).data(), 16);
    image.AddBytes(0x2000, nullptr, 0);
    image.Coalesce();
    ASSERT_EQ(image.GetCount(), 2);
    EXPECT_EQ(image.GetAt(1)->m_dwAddress, 0x2000u);
    EXPECT_EQ(image.GetAt(1)->m_nSize, 0);
    EXPECT_EQ(image.GetAt(1)->m_pBytes, nullptr);
}

// One step on the image: AddBytes, Coalesce, RemoveAt, or Add of a ready segment.
struct Op
{
    char cKind; // 'A' AddBytes, 'C' Coalesce, 'R' RemoveAt(index in dwAddress), 'X' Add
    uint32_t dwAddress = 0;
    std::string bytes = "";
};

struct OpsCase
{
    const char* pszName;
    std::vector<Op> ops;
    std::vector<std::string> expected;
};

void Apply(MemoryImage& image, const Op& op)
{
    Bytes bytes = FromHex(op.bytes);
    switch (op.cKind)
    {
    case 'A':
        image.AddBytes(op.dwAddress, bytes.data(), static_cast<int>(bytes.size()));
        break;
    case 'C':
        image.Coalesce();
        break;
    case 'R':
        image.RemoveAt(static_cast<int>(op.dwAddress));
        break;
    case 'X':
        AddSegment(image, op.dwAddress, bytes);
        break;
    }
}

const OpsCase kOpsCases[] = {
    {"AscendingRecordsGrowOneSegment",
     {{'A', 0x00, "00010203"}, {'A', 0x04, "04050607"}, {'A', 0x08, "08090A0B"}},
     {"00000000 12 000102030405060708090A0B"}},
    {"DescendingRecordsStaySeparateWhileReading",
     {{'A', 0x08, "08090A0B"}, {'A', 0x04, "04050607"}, {'A', 0x00, "00010203"}},
     {"00000008 4 08090A0B", "00000004 4 04050607", "00000000 4 00010203"}},
    {"DescendingRecordsMergeInAddressOrder",
     {{'A', 0x08, "08090A0B"}, {'A', 0x04, "04050607"}, {'A', 0x00, "00010203"}, {'C'}},
     {"00000000 12 000102030405060708090A0B"}},
    {"ShuffledChainMergesWhole",
     {{'A', 0x05, ""},
      {'A', 0x30, "33"},
      {'A', 0x10, "1111"},
      {'A', 0x2F, "22"},
      {'A', 0x00, "00"},
      {'A', 0x12, "12"},
      {'A', 0x01, "01"},
      {'A', 0x02, "020202"},
      {'A', 0x05, "05"},
      {'C'}},
     {"00000000 6 000102020205", "00000010 3 111112", "0000002F 2 2233"}},
    {"SameRecordTwiceGivesTwoSegments",
     {{'A', 0x10, "AABB"}, {'A', 0x10, "AABB"}, {'C'}},
     {"00000010 2 AABB", "00000010 2 AABB"}},
    {"OverlapStays",
     {{'A', 0x00, "0001020304050607"}, {'A', 0x04, "A4A5A6A7"}, {'C'}},
     {"00000000 8 0001020304050607", "00000004 4 A4A5A6A7"}},
    {"FirstSegmentInTableOrderIsExtended",
     {{'A', 0x00, "00010203"}, {'A', 0x02, "B2B3"}, {'A', 0x04, "04"}},
     {"00000000 5 0001020304", "00000002 2 B2B3"}},
    {"TableOrderAfterCoalesceDecidesWhichIsExtended",
     {{'A', 0x02, "C2C3"}, {'A', 0x00, "00010203"}, {'C'}, {'A', 0x04, "04"}},
     {"00000000 5 0001020304", "00000002 2 C2C3"}},
    {"MergedSegmentIsExtendedAfterCoalesce",
     {{'A', 0x04, "0405"}, {'A', 0x00, "00010203"}, {'C'}, {'A', 0x06, "06"}},
     {"00000000 7 00010203040506"}},
    {"RemovedSegmentIsNotExtended",
     {{'A', 0x00, "00"}, {'A', 0x10, "10"}, {'R', 0}, {'A', 0x01, "01"}},
     {"00000010 1 10", "00000001 1 01"}},
    {"SegmentAddedWholeIsExtended",
     {{'X', 0x20, "2021"}, {'A', 0x22, "22"}},
     {"00000020 3 202122"}},
    {"EqualStartsKeepTheExchangeSortOrder",
     {{'A', 0x02, "A1"}, {'A', 0x02, "B1"}, {'A', 0x01, "C1C2"}, {'C'}},
     {"00000001 2 C1C2", "00000002 1 B1", "00000002 1 A1"}},
    {"EqualStartsMergeWithTheSecond",
     {{'A', 0x02, "A1"}, {'A', 0x02, "B1"}, {'A', 0x01, "C1"}, {'C'}},
     {"00000001 2 C1B1", "00000002 1 A1"}},
    {"EmptyRecordAtASegmentEndAddsNothing",
     {{'A', 0x1000, "0102"}, {'A', 0x1002, ""}, {'C'}},
     {"00001000 2 0102"}},
    {"EmptySegmentIsExtendedByTheNextRecord",
     {{'A', 0x2000, ""}, {'A', 0x2000, "0102"}},
     {"00002000 2 0102"}},
    {"EmptySegmentWherePreviousEndsIsAbsorbed",
     {{'A', 0x2000, ""}, {'A', 0x1FFE, "0102"}, {'C'}},
     {"00001FFE 2 0102"}},
    {"EmptySegmentAfterAnEqualStartStays",
     {{'A', 0x2000, "0102"}, {'A', 0x2000, ""}, {'C'}},
     {"00002000 2 0102", "00002000 0"}},
    {"SegmentEndWrapsToZero",
     {{'A', 0xFFFFFFFE, "FEFF0001"}, {'A', 0x00000002, "02"}},
     {"FFFFFFFE 5 FEFF000102"}},
    {"WrappedSegmentSortsLastAndDoesNotMerge",
     {{'A', 0xFFFFFFFF, "FF00"}, {'A', 0x00000001, "01"}, {'A', 0x00000000, "00"}, {'C'}},
     {"00000000 1 00", "FFFFFFFF 3 FF0001"}},
};

class MemoryImageOps : public testing::TestWithParam<OpsCase>
{
};

TEST_P(MemoryImageOps, GiveTheDesignedTable)
{
    MemoryImage image;
    for (const Op& op : GetParam().ops)
        Apply(image, op);
    ExpectConsistent(image);
    EXPECT_EQ(Dump(image), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, MemoryImageOps, testing::ValuesIn(kOpsCases),
                         [](const auto& info) { return std::string(info.param.pszName); });

} // namespace
