// Times the HEX reader and writer on one file. Every measurement runs in a child
// process of its own, so the peak resident size reported belongs to that step alone.
//   hexbench FILE [REPEAT]      prints key=value lines; times are the best of REPEAT runs
//   hexbench --verify FILE      compares the image read with the reference reader's (quadratic)
#include "HexReader.h"
#include "HexWriter.h"
#include "Reference.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <string>

namespace
{
// What a child sends back through its pipe.
struct ChildResult
{
    bool bOk = false;
    double dSeconds = 0;
    double dCpuSeconds = 0;
    int nSegments = 0;
    uint64_t nDataBytes = 0;
    uint64_t nOutBytes = 0;
};

struct Measurement
{
    ChildResult result;
    long nPeakRssKiB = 0;
};

enum class Step
{
    Idle,
    Read,
    Write
};

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// user and system time of this process: steadier than wall time on a busy machine
double CpuSeconds()
{
    struct timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

uint64_t FileSize(const char* pszPath)
{
    struct stat st;
    return stat(pszPath, &st) == 0 ? static_cast<uint64_t>(st.st_size) : 0;
}

uint64_t DataBytes(const MemoryImage& image)
{
    uint64_t n = 0;
    for (int i = 0; i < image.GetCount(); i++)
        n += static_cast<uint64_t>(image.GetAt(i)->m_nSize);
    return n;
}

std::string TempOutputPath()
{
    const char* pszDir = std::getenv("TMPDIR");
    return std::string(pszDir ? pszDir : "/tmp") + "/hexbench-" + std::to_string(getpid()) + ".hex";
}

ChildResult RunStep(Step step, const char* pszPath)
{
    ChildResult r;
    r.bOk = true;
    if (step == Step::Idle)
        return r;
    MemoryImage image;
    auto start = std::chrono::steady_clock::now();
    double dCpuStart = CpuSeconds();
    r.bOk = ReadHexFile(image, pszPath);
    r.dSeconds = SecondsSince(start);
    r.dCpuSeconds = CpuSeconds() - dCpuStart;
    r.nSegments = image.GetCount();
    r.nDataBytes = DataBytes(image);
    if (step == Step::Write && r.bOk)
    {
        const std::string out = TempOutputPath();
        start = std::chrono::steady_clock::now();
        dCpuStart = CpuSeconds();
        r.bOk = WriteHexFile(image, out.c_str());
        r.dSeconds = SecondsSince(start);
        r.dCpuSeconds = CpuSeconds() - dCpuStart;
        r.nOutBytes = FileSize(out.c_str());
        unlink(out.c_str());
    }
    return r;
}

Measurement MeasureInChild(Step step, const char* pszPath)
{
    Measurement m;
    int fds[2];
    if (pipe(fds) != 0)
        return m;
    const pid_t pid = fork();
    if (pid == 0)
    {
        close(fds[0]);
        const ChildResult r = RunStep(step, pszPath);
        const bool bSent = write(fds[1], &r, sizeof r) == static_cast<ssize_t>(sizeof r);
        _exit(bSent ? 0 : 1);
    }
    close(fds[1]);
    if (pid > 0 &&
        read(fds[0], &m.result, sizeof m.result) != static_cast<ssize_t>(sizeof m.result))
        m.result.bOk = false;
    close(fds[0]);
    int status = 0;
    struct rusage usage = {};
    if (pid > 0 && wait4(pid, &status, 0, &usage) == pid)
        m.nPeakRssKiB = usage.ru_maxrss;
    if (pid < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        m.result.bOk = false;
    return m;
}

Measurement Best(Step step, const char* pszPath, int nRepeat)
{
    Measurement best = MeasureInChild(step, pszPath);
    for (int i = 1; i < nRepeat && best.result.bOk; i++)
    {
        const Measurement m = MeasureInChild(step, pszPath);
        const long nPeak = std::max(best.nPeakRssKiB, m.nPeakRssKiB);
        if (!m.result.bOk || m.result.dSeconds < best.result.dSeconds)
            best = m;
        best.nPeakRssKiB = nPeak;
    }
    return best;
}

int Verify(const char* pszPath)
{
    std::ifstream in(pszPath, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    MemoryImage image;
    ReadHexFile(image, pszPath);
    const auto start = std::chrono::steady_clock::now();
    const ImageCopy expected = ReferenceRead(text.data(), text.size());
    const double dSeconds = SecondsSince(start);
    const bool bSame = CopyImage(image) == expected;
    std::printf("verify=%s\nreference_s=%.2f\nreference_segments=%zu\n",
                bSame ? "identical" : "DIFFERENT", dSeconds, expected.size());
    return bSame ? 0 : 1;
}

double MegabytesPerSecond(uint64_t nBytes, double dSeconds)
{
    return dSeconds > 0 ? static_cast<double>(nBytes) / 1e6 / dSeconds : 0;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: hexbench FILE [REPEAT] | hexbench --verify FILE\n");
        return 2;
    }
    if (std::string(argv[1]) == "--verify")
        return argc > 2 ? Verify(argv[2]) : 2;
    const char* pszPath = argv[1];
    const int nRepeat = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;
    const uint64_t nText = FileSize(pszPath);

    const Measurement idle = MeasureInChild(Step::Idle, pszPath);
    const Measurement rd = Best(Step::Read, pszPath, nRepeat);
    const Measurement wr = rd.result.bOk ? Best(Step::Write, pszPath, nRepeat) : Measurement();
    std::printf("file=%s\ntext_bytes=%ju\nidle_rss_kib=%ld\n", pszPath,
                static_cast<uintmax_t>(nText), idle.nPeakRssKiB);
    std::printf("read_ok=%d\nread_s=%.4f\nread_cpu_s=%.4f\nread_mbps=%.1f\nsegments=%d\n"
                "data_bytes=%ju\nread_rss_kib=%ld\n",
                rd.result.bOk ? 1 : 0, rd.result.dSeconds, rd.result.dCpuSeconds,
                MegabytesPerSecond(nText, rd.result.dSeconds), rd.result.nSegments,
                static_cast<uintmax_t>(rd.result.nDataBytes), rd.nPeakRssKiB);
    // what the image may cost: 1.5 times its bytes and 64 bytes per segment; the peak
    // of the whole process, and what the read added to the bare process
    const double dBudget =
        1.5 * static_cast<double>(rd.result.nDataBytes) + 64.0 * rd.result.nSegments;
    auto ratio = [&](long nKiB)
    { return dBudget > 0 ? static_cast<double>(nKiB) * 1024 / dBudget : 0; };
    std::printf("budget_kib=%.0f\nread_budget_ratio=%.2f\nread_added_budget_ratio=%.2f\n",
                dBudget / 1024, ratio(rd.nPeakRssKiB), ratio(rd.nPeakRssKiB - idle.nPeakRssKiB));
    std::printf("write_ok=%d\nwrite_s=%.4f\nwrite_cpu_s=%.4f\nwrite_mbps=%.1f\nout_bytes=%ju\n"
                "write_rss_kib=%ld\n",
                wr.result.bOk ? 1 : 0, wr.result.dSeconds, wr.result.dCpuSeconds,
                MegabytesPerSecond(wr.result.nOutBytes, wr.result.dSeconds),
                static_cast<uintmax_t>(wr.result.nOutBytes), wr.nPeakRssKiB);
    return rd.result.bOk && wr.result.bOk ? 0 : 1;
}
