// Running out of memory while blocks grow: records are dropped, never half stored.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define CORVANE_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CORVANE_TEST_ASAN 1
#endif
#endif

using namespace corvane_test;

namespace
{

#ifndef CORVANE_TEST_ASAN
constexpr uint32_t kRecord = 1u << 20;
constexpr int kRecords = 512;

uint8_t Pattern(uint32_t dwAddress)
{
    return static_cast<uint8_t>((dwAddress >> 20) * 31 + (dwAddress & 0xFFFFF));
}

// 0 when every segment is whole: sizes covered by blocks, every byte where it belongs
int CheckImage(const MemoryImage& image, long long& qwTotal)
{
    qwTotal = 0;
    for (int i = 0; i < image.GetCount(); ++i)
    {
        const MemorySegment* p = image.GetAt(i);
        if (!p || p->m_nSize < 0 || (p->m_nSize > 0 && !p->m_pBytes))
            return 10;
        for (int32_t k = 0; k < p->m_nSize; ++k)
            if (p->m_pBytes[k] != Pattern(p->m_dwAddress + static_cast<uint32_t>(k)))
                return 11;
        qwTotal += p->m_nSize;
    }
    return 0;
}

long CurrentVirtualSize()
{
    long nPages = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r"))
    {
        if (std::fscanf(f, "%ld", &nPages) != 1)
            nPages = 0;
        std::fclose(f);
    }
    return nPages * sysconf(_SC_PAGESIZE);
}

// In a child: 512 MiB of 1 MiB records in one ascending run, under a limit of
// a quarter of that, then Coalesce and Trim. Exit code 0 when all went well.
int AppendUnderLimit()
{
    // record i is the slice at (i * 31) mod 256 of one repeating 0..255 run
    std::vector<uint8_t> run(kRecord + 256);
    for (size_t k = 0; k < run.size(); ++k)
        run[k] = static_cast<uint8_t>(k);
    MemoryImage image;
    const long nBase = CurrentVirtualSize();
    if (nBase == 0)
        return 3;
    struct rlimit limit = {static_cast<rlim_t>(nBase) + (128u << 20),
                           static_cast<rlim_t>(nBase) + (128u << 20)};
    if (setrlimit(RLIMIT_AS, &limit) != 0)
        return 3;
    for (int i = 0; i < kRecords; ++i)
    {
        const uint32_t dwAddress = static_cast<uint32_t>(i) * kRecord;
        image.AddBytes(dwAddress, run.data() + (i * 31) % 256, static_cast<int>(kRecord));
    }
    long long qwTotal = 0;
    if (int nBad = CheckImage(image, qwTotal))
        return nBad;
    if (qwTotal == 0)
        return 12;
    if (qwTotal == static_cast<long long>(kRecords) * kRecord)
        return 4; // the limit did not bite
    image.Coalesce();
    image.Trim();
    long long qwAfter = 0;
    if (int nBad = CheckImage(image, qwAfter))
        return 20 + nBad;
    return qwAfter == qwTotal ? 0 : 13;
}
#endif

TEST(MemoryImageLimits, AllocationFailureDropsRecordsAndKeepsSegmentsWhole)
{
#ifdef CORVANE_TEST_ASAN
    GTEST_SKIP() << "the address sanitizer cannot run under an address space limit";
#else
    const pid_t pid = fork();
    if (pid == 0)
        _exit(AppendUnderLimit());
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << "child ended by signal " << WTERMSIG(status);
    if (WEXITSTATUS(status) == 3 || WEXITSTATUS(status) == 4)
        GTEST_SKIP() << "could not limit the address space";
    EXPECT_EQ(WEXITSTATUS(status), 0);
#endif
}

} // namespace
