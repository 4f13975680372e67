// Coalesce and AddBytes against a direct transcription of the designed procedures
// (first segment in table order that ends at the address; exchange sort; merge of
// touching neighbours), on many random small tables full of ties and neighbours.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <random>

using namespace corvane_test;

namespace
{

using Model = std::vector<SegmentData>;

uint32_t EndOf(const SegmentData& s)
{
    return s.dwAddress + static_cast<uint32_t>(s.bytes.size());
}

void ModelAddBytes(Model& model, uint32_t dwAddress, const Bytes& bytes)
{
    for (SegmentData& s : model)
    {
        if (EndOf(s) == dwAddress)
        {
            s.bytes.insert(s.bytes.end(), bytes.begin(), bytes.end());
            return;
        }
    }
    model.push_back({dwAddress, bytes});
}

void ModelCoalesce(Model& model)
{
    const int n = static_cast<int>(model.size());
    for (int i = 0; i <= n - 2; ++i)
        for (int j = i + 1; j <= n - 1; ++j)
            if (model[i].dwAddress > model[j].dwAddress)
                std::swap(model[i], model[j]);
    int i = 0;
    int last = n - 1;
    while (i < last)
    {
        if (EndOf(model[i]) == model[i + 1].dwAddress)
        {
            Bytes& a = model[i].bytes;
            a.insert(a.end(), model[i + 1].bytes.begin(), model[i + 1].bytes.end());
            model.erase(model.begin() + i + 1);
            --last;
        }
        else
        {
            ++i;
        }
    }
}

std::string Describe(const Model& model)
{
    std::string s;
    for (const SegmentData& seg : model)
        s += DumpLine(seg.dwAddress, seg.bytes) + "\n";
    return s;
}

// Small tables: addresses from a narrow window so starts repeat and segments touch.
class CTableMaker
{
public:
    explicit CTableMaker(uint32_t nSeed) : m_rng(nSeed) {}

    int Pick(int nLow, int nHigh) { return std::uniform_int_distribution<int>(nLow, nHigh)(m_rng); }

    uint32_t Address(int nWindow)
    {
        // now and then near the top, so ends wrap past 0xFFFFFFFF
        uint32_t dwBase = Pick(0, 9) == 0 ? 0xFFFFFFF0u : 0u;
        return dwBase + static_cast<uint32_t>(Pick(0, nWindow));
    }

    Bytes Payload(int nMax)
    {
        int n = Pick(0, 3) == 0 ? 0 : Pick(1, nMax);
        Bytes bytes(n);
        for (uint8_t& b : bytes)
            b = m_nTag++; // every byte tells which segment it came from
        return bytes;
    }

    Model Table(int nMaxCount, int nWindow)
    {
        Model model;
        const int n = Pick(0, nMaxCount);
        for (int i = 0; i < n; ++i)
        {
            uint32_t dwAddress = Address(nWindow);
            model.push_back({dwAddress, Payload(4)});
        }
        return model;
    }

private:
    std::mt19937 m_rng;
    uint8_t m_nTag = 0;
};

void ExpectCoalesceLikeModel(uint32_t nSeed, int nTables, int nMaxCount, int nWindow)
{
    CTableMaker maker(nSeed);
    for (int t = 0; t < nTables; ++t)
    {
        Model model = maker.Table(nMaxCount, nWindow);
        const Model before = model;
        MemoryImage image;
        FillImage(image, model);
        image.Coalesce();
        ModelCoalesce(model);
        ExpectConsistent(image);
        ASSERT_EQ(Segments(image), model) << "seed " << nSeed << " table " << t << ", before:\n"
                                          << Describe(before) << "expected:\n"
                                          << Describe(model);
    }
}

TEST(CoalesceModel, SmallTablesWithManyTies)
{
    ExpectCoalesceLikeModel(1, 5000, 12, 15);
}

TEST(CoalesceModel, TablesWithFewDistinctStarts)
{
    ExpectCoalesceLikeModel(2, 2000, 16, 4);
}

TEST(CoalesceModel, LargerTablesWithTies)
{
    ExpectCoalesceLikeModel(3, 60, 400, 80);
}

TEST(CoalesceModel, LargeTablesWithDistinctStarts)
{
    CTableMaker maker(4);
    for (int t = 0; t < 10; ++t)
    {
        // distinct starts in random order, every second pair touching
        Model model;
        for (uint32_t k = 0; k < 1000; ++k)
            model.push_back({k * 8 + static_cast<uint32_t>(k % 2) * 4, Bytes(4, uint8_t(k))});
        std::shuffle(model.begin(), model.end(), std::mt19937(t));
        MemoryImage image;
        FillImage(image, model);
        image.Coalesce();
        ModelCoalesce(model);
        ASSERT_EQ(Segments(image), model) << "shuffle " << t;
    }
}

TEST(CoalesceModel, AlreadySortedTableIsOnlyMerged)
{
    Model model;
    for (uint32_t k = 0; k < 3000; ++k)
        model.push_back({k / 3 * 4, Bytes(k % 3 == 0 ? 4 : 0, uint8_t(k))});
    MemoryImage image;
    FillImage(image, model);
    image.Coalesce();
    ModelCoalesce(model);
    ASSERT_EQ(Segments(image), model);
}

TEST(CoalesceModel, RandomOperationSequences)
{
    CTableMaker maker(5);
    for (int t = 0; t < 2000; ++t)
    {
        MemoryImage image;
        Model model;
        std::string log;
        for (int step = 0; step < 40; ++step)
        {
            const int nKind = maker.Pick(0, 99);
            if (nKind < 75)
            {
                uint32_t dwAddress = maker.Address(24);
                Bytes bytes = maker.Payload(4);
                image.AddBytes(dwAddress, bytes.data(), static_cast<int>(bytes.size()));
                ModelAddBytes(model, dwAddress, bytes);
                log += "AddBytes " + DumpLine(dwAddress, bytes) + "\n";
            }
            else if (nKind < 87)
            {
                image.Coalesce();
                ModelCoalesce(model);
                log += "Coalesce\n";
            }
            else if (nKind < 97)
            {
                int i = maker.Pick(-1, static_cast<int>(model.size()));
                image.RemoveAt(i);
                if (i >= 0 && i < static_cast<int>(model.size()))
                    model.erase(model.begin() + i);
                log += "RemoveAt " + std::to_string(i) + "\n";
            }
            else
            {
                image.DeleteAll();
                model.clear();
                log += "DeleteAll\n";
            }
            ASSERT_EQ(Segments(image), model) << "sequence " << t << ":\n" << log;
        }
    }
}

} // namespace
