// Running out of memory while blocks grow: records are dropped, never half stored.
#include "ImageBuilder.h"
#include "TestSupport.h"

#include <sys/resource.h>
#include <unistd.h>

namespace
{

#ifdef __SANITIZE_ADDRESS__
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
constexpr uint32_t kRecord = 1u << 20;

// Bytes of the whole image, or -1 when a segment is not whole: a byte not the one
// written at its address (record i holds run[(i * 31) % 256 ...]).
long long WholeBytes(const MemoryImage& image)
{
    long long qwTotal = 0;
    for (int i = 0; i < image.GetCount(); ++i)
    {
        const MemorySegment* p = image.GetAt(i);
        for (uint32_t k = 0; k < static_cast<uint32_t>(p->m_nSize); ++k)
            if (p->m_pBytes[k] != static_cast<uint8_t>(((p->m_dwAddress + k) >> 20) * 31 + p->m_dwAddress + k))
                return -1;
        qwTotal += p->m_nSize;
    }
    return qwTotal;
}

// In a child: 512 MiB of 1 MiB records in one ascending run under an address-space
// limit 128 MiB above the start. Exit code 0 when all went well, 3 when the limit
// could not be set or did not bite.
int AppendUnderLimit()
{
    const Bytes run = ByteRun(0, kRecord + 256);
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
    if (kAddressSanitizer)
        GTEST_SKIP() << "the address sanitizer cannot run under an address space limit";
    const int nStatus = RunInChild(AppendUnderLimit, false);
    if (nStatus == 3)
        GTEST_SKIP() << "could not limit the address space";
    EXPECT_EQ(nStatus, 0) << "-1: the child was killed";
}

} // namespace
