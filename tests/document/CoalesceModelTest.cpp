// AddBytes, the image builder and Coalesce against the reference model (first segment in
// table order that ends at the address; exchange sort; merge of touching neighbours), on
// random tables full of ties, shared ends, neighbours and empty segments.
#include "ImageBuilder.h"
#include "TestSupport.h"

#include <random>

namespace
{

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

TEST(CoalesceModel, RandomTablesWithManyTies)
{
    // tables, most segments per table, width of the address window
    const int kShapes[][3] = {{5000, 12, 15}, {2000, 16, 4}, {60, 400, 80}};
    CRandom random(1);
    for (const auto& [nTables, nMaxCount, nWindow] : kShapes)
        for (int t = 0; t < nTables && !HasFatalFailure(); ++t)
        {
            ImageCopy model(random.Pick(0, nMaxCount));
            for (SegmentCopy& s : model)
                s = {random.Address(nWindow), random.Payload()};
            MemoryImage image;
            FillImage(image, model);
            image.Coalesce();
            const std::vector<std::string> before = Dump(model);
            ReferenceCoalesce(model);
            ASSERT_EQ(Dump(image), Dump(model)) << "table " << t << ", before:\n" << testing::PrintToString(before);
        }
}

TEST(CoalesceModel, RandomOperationSequences)
{
    CRandom random(5);
    for (int t = 0; t < 2000; ++t)
    {
        MemoryImage image;
        ImageCopy model;
        for (int nStep = 0; nStep < 40; ++nStep)
        {
            const int nKind = random.Pick(0, 99);
            if (nKind < 75)
            {
                const SegmentCopy s = {random.Address(24), random.Payload()};
                image.AddBytes(s.dwAddress, s.bytes.data(), static_cast<int>(s.bytes.size()));
                ReferenceAddBytes(model, s.dwAddress, s.bytes);
            }
            else if (nKind < 87)
            {
                image.Coalesce();
                ReferenceCoalesce(model);
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

// One builder for a whole sequence: ascending runs first, then records that go back,
// share ends with many segments and extend them again; the finished table has the
// capacity adding its entries one by one gives.
TEST(CoalesceModel, BuilderSequences)
{
    CRandom random(9);
    for (int t = 0; t < 300; ++t)
    {
        MemoryImage image;
        ImageCopy model;
        {
            CImageBuilder builder(image);
            const int nInOrder = random.Pick(0, 30);
            uint32_t dwNext = 0;
            for (int nStep = 0; nStep < 300; ++nStep)
            {
                SegmentCopy s = {random.Address(40), random.Payload()};
                if (nStep < nInOrder)
                    s.dwAddress = dwNext += static_cast<uint32_t>(random.Pick(0, 1) * 3);
                dwNext = s.dwAddress + static_cast<uint32_t>(s.bytes.size());
                builder.AddBytes(s.dwAddress, s.bytes.data(), static_cast<int>(s.bytes.size()));
                ReferenceAddBytes(model, s.dwAddress, s.bytes);
            }
            builder.Finish();
        }
        ASSERT_EQ(Dump(image), Dump(model)) << "sequence " << t;
        EXPECT_EQ(image.GetCapacity(), (image.GetCount() + 6) / 7 * 7);
    }
}

} // namespace
