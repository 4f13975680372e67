// Coalesce and AddBytes against a direct transcription of the designed procedures (first
// segment in table order that ends at the address; exchange sort; merge of touching
// neighbours), on random small tables full of ties, neighbours and empty segments.
#include "TestSupport.h"

#include <random>

namespace
{

using Model = std::vector<SegmentData>;

uint32_t EndOf(const SegmentData& s)
{
    return s.dwAddress + static_cast<uint32_t>(s.bytes.size());
}

void ModelAddBytes(Model& model, uint32_t dwAddress, const Bytes& bytes)
{
    auto it = std::find_if(model.begin(), model.end(),
                           [&](const SegmentData& s) { return EndOf(s) == dwAddress; });
    if (it == model.end())
        model.push_back({dwAddress, bytes});
    else
        it->bytes.insert(it->bytes.end(), bytes.begin(), bytes.end());
}

void ModelCoalesce(Model& m)
{
    for (size_t i = 0; i + 1 < m.size(); ++i)
        for (size_t j = i + 1; j < m.size(); ++j)
            if (m[i].dwAddress > m[j].dwAddress)
                std::swap(m[i], m[j]);
    for (size_t i = 0; i + 1 < m.size();)
    {
        if (EndOf(m[i]) != m[i + 1].dwAddress)
            ++i;
        else
        {
            m[i].bytes.insert(m[i].bytes.end(), m[i + 1].bytes.begin(), m[i + 1].bytes.end());
            m.erase(m.begin() + static_cast<long>(i) + 1);
        }
    }
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
    Bytes Payload()
    {
        Bytes bytes(Pick(0, 3) == 0 ? 0 : Pick(1, 4));
        for (uint8_t& b : bytes)
            b = m_nTag++; // every byte tells which segment it came from
        return bytes;
    }

private:
    std::mt19937 m_rng;
    uint8_t m_nTag = 0;
};

void ExpectCoalesceLikeModel(Model model, const std::string& strWhat)
{
    const std::vector<std::string> before = Dump(model);
    MemoryImage image;
    FillImage(image, model);
    image.Coalesce();
    ModelCoalesce(model);
    ASSERT_EQ(Dump(image), Dump(model)) << strWhat << ", before:\n"
                                        << testing::PrintToString(before);
}

TEST(CoalesceModel, RandomTablesWithManyTies)
{
    // tables, most segments per table, width of the address window
    const int kShapes[][3] = {{5000, 12, 15}, {2000, 16, 4}, {60, 400, 80}};
    CRandom random(1);
    for (const auto& [nTables, nMaxCount, nWindow] : kShapes)
        for (int t = 0; t < nTables && !HasFatalFailure(); ++t)
        {
            Model model(random.Pick(0, nMaxCount));
            for (SegmentData& s : model)
                s = {random.Address(nWindow), random.Payload()};
            ExpectCoalesceLikeModel(model, "table " + std::to_string(t));
        }
}

// Distinct starts in any order, every second pair touching; and a sorted table with ties
// and empty segments, which needs no sorting at all.
TEST(CoalesceModel, LargeTablesOfDistinctOrSortedStarts)
{
    Model distinct, sorted;
    for (uint32_t k = 0; k < 1000; ++k)
        distinct.push_back({k * 8 + k % 2 * 4, Bytes(4, static_cast<uint8_t>(k))});
    for (uint32_t k = 0; k < 3000; ++k)
        sorted.push_back({k / 3 * 4, Bytes(k % 3 == 0 ? 4 : 0, static_cast<uint8_t>(k))});
    ExpectCoalesceLikeModel(sorted, "sorted");
    for (uint32_t t = 0; t < 10 && !HasFatalFailure(); ++t)
    {
        std::shuffle(distinct.begin(), distinct.end(), std::mt19937(t));
        ExpectCoalesceLikeModel(distinct, "shuffle " + std::to_string(t));
    }
}

TEST(CoalesceModel, RandomOperationSequences)
{
    CRandom random(5);
    for (int t = 0; t < 2000; ++t)
    {
        MemoryImage image;
        Model model;
        for (int nStep = 0; nStep < 40; ++nStep)
        {
            const int nKind = random.Pick(0, 99);
            if (nKind < 75)
            {
                const SegmentData s = {random.Address(24), random.Payload()};
                image.AddBytes(s.dwAddress, s.bytes.data(), static_cast<int>(s.bytes.size()));
                ModelAddBytes(model, s.dwAddress, s.bytes);
            }
            else if (nKind < 87)
            {
                image.Coalesce();
                ModelCoalesce(model);
            }
            else if (nKind < 97)
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

} // namespace
