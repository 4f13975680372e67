// Running out of memory while blocks grow: records are dropped, never half stored.
#include "TestSupport.h"

#include <sys/resource.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define CORVANE_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CORVANE_TEST_ASAN 1
#endif
#endif

namespace
{

#ifndef CORVANE_TEST_ASAN
constexpr uint32_t kRecord = 1u << 20;

// Bytes of the whole image, or -1 when a segment is not whole: its size not covered by
// its block, or a byte not the one written at its address.
long long WholeBytes(const MemoryImage& image)
{
    long long qwTotal = 0;
    for (int i = 0; i < image.GetCount(); ++i)
    {
        const MemorySegment* p = image.GetAt(i);
        if (!p || p->m_nSize < 0 || (p->m_nSize > 0 && !p->m_pBytes))
            return -1;
        for (uint32_t k = 0; k < static_cast<uint32_t>(p->m_nSize); ++k)
        {
            const uint32_t dw = p->m_dwAddress + k; // record i holds run[(i * 31) % 256 ...]
            if (p->m_pBytes[k] != static_cast<uint8_t>((dw >> 20) * 31 + dw))
                return -1;
        }
        qwTotal += p->m_nSize;
    }
    return qwTotal;
}

// In a child: 512 MiB of 1 MiB records in one ascending run under an address-space
// limit 128 MiB above the start, then Coalesce and Trim. Exit code 0 when all went well.
int AppendUnderLimit()
{
    std::vector<uint8_t> run = ByteRun(0, kRecord + 256);
    long nPages = 0;
    FILE* f = std::fopen("/proc/self/statm", "r");
    if (!f || std::fscanf(f, "%ld", &nPages) != 1)
        return 3;
    std::fclose(f);
    const rlim_t nLimit = static_cast<rlim_t>(nPages * sysconf(_SC_PAGESIZE)) + (128u << 20);
    const struct rlimit limit = {nLimit, nLimit};
    if (setrlimit(RLIMIT_AS, &limit) != 0)
        return 3;
    MemoryImage image;
    for (uint32_t i = 0; i < 512; ++i)
        image.AddBytes(i * kRecord, run.data() + (i * 31) % 256, static_cast<int>(kRecord));
    const long long qwTotal = WholeBytes(image);
    if (qwTotal <= 0)
        return 10;
    if (qwTotal == 512LL * kRecord)
        return 4; // the limit did not bite
    image.Coalesce();
    image.Trim();
    return WholeBytes(image) == qwTotal ? 0 : 11;
}
#endif

TEST(MemoryImageLimits, AllocationFailureDropsRecordsAndKeepsSegmentsWhole)
{
#ifdef CORVANE_TEST_ASAN
    GTEST_SKIP() << "the address sanitizer cannot run under an address space limit";
#else
    const int nStatus = RunInChild(AppendUnderLimit, false);
    if (nStatus == 3 || nStatus == 4)
        GTEST_SKIP() << "could not limit the address space";
    EXPECT_EQ(nStatus, 0) << "-1: the child was killed";
#endif
}

} // namespace
