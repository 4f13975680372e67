// Intel HEX output: 04, 00 and 01 records, upper-case digits, CR LF line ends.
#include "HexWriter.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
struct CHexPairs
{
    char pair[256][2] = {};
    constexpr CHexPairs()
    {
        const char* digits = "0123456789ABCDEF";
        for (int b = 0; b < 256; ++b)
        {
            pair[b][0] = digits[b >> 4];
            pair[b][1] = digits[b & 15];
        }
    }
};
constexpr CHexPairs kPairs;

// Collects the text in a large buffer and hands it on in big blocks.
class CRecordSink
{
public:
    explicit CRecordSink(std::function<bool(const char*, size_t)> flush)
        : m_flush(std::move(flush)), m_buf(new char[kSize])
    {
    }
    bool Flush()
    {
        if (m_nUsed > 0 && m_bOk)
            m_bOk = m_flush(m_buf.get(), m_nUsed);
        m_nUsed = 0;
        return m_bOk;
    }
    // room for one record of up to 255 data bytes
    char* Reserve()
    {
        if (m_nUsed + kMaxRecord > kSize)
            Flush();
        return m_buf.get() + m_nUsed;
    }
    void Commit(char* pEnd) { m_nUsed = static_cast<size_t>(pEnd - m_buf.get()); }
    bool Ok() const { return m_bOk; }

private:
    static constexpr size_t kSize = 1 << 20;
    static constexpr size_t kMaxRecord = 1 + 2 * (4 + 255 + 1) + 2;
    std::function<bool(const char*, size_t)> m_flush;
    std::unique_ptr<char[]> m_buf;
    size_t m_nUsed = 0;
    bool m_bOk = true;
};

char* PutByte(char* p, unsigned b)
{
    std::memcpy(p, kPairs.pair[b & 0xFF], 2);
    return p + 2;
}

char* PutLineEnd(char* p)
{
    p[0] = '\r';
    p[1] = '\n';
    return p + 2;
}

void WriteLinearAddress(CRecordSink& sink, uint32_t dwAddress)
{
    const unsigned hi = dwAddress >> 24, lo = (dwAddress >> 16) & 0xFF;
    char* p = sink.Reserve();
    std::memcpy(p, ":02000004", 9);
    p = PutByte(p + 9, hi);
    p = PutByte(p, lo);
    p = PutByte(p, 0x100 - ((0x06 + hi + lo) & 0xFF));
    sink.Commit(PutLineEnd(p));
}

void WriteData(CRecordSink& sink, uint32_t dwAddress, const uint8_t* pBytes, int c)
{
    const unsigned hi = (dwAddress >> 8) & 0xFF, lo = dwAddress & 0xFF;
    unsigned sum = static_cast<unsigned>(c) + hi + lo;
    char* p = sink.Reserve();
    *p++ = ':';
    p = PutByte(p, static_cast<unsigned>(c));
    p = PutByte(p, hi);
    p = PutByte(p, lo);
    *p++ = '0';
    *p++ = '0';
    for (int k = 0; k < c; ++k)
    {
        sum += pBytes[k];
        p = PutByte(p, pBytes[k]);
    }
    p = PutByte(p, 0x100 - (sum & 0xFF));
    sink.Commit(PutLineEnd(p));
}

// The start-address record the file gave, as it gave it, so the entry point survives a save.
void WriteStartAddress(CRecordSink& sink, const CStartAddress& start)
{
    if (!start.IsSet())
        return;
    unsigned sum = 4u + start.nType;
    char* p = sink.Reserve();
    std::memcpy(p, ":040000", 7);
    p = PutByte(p + 7, start.nType);
    for (uint8_t b : start.bytes)
    {
        sum += b;
        p = PutByte(p, b);
    }
    p = PutByte(p, 0x100 - (sum & 0xFF));
    sink.Commit(PutLineEnd(p));
}

// A segment whose bytes run into the next 64 KiB page, or past 0xFFFFFFFF.
bool CrossesPage(const MemorySegment* pSeg)
{
    return pSeg->m_nSize > 0 &&
           (pSeg->m_dwAddress & 0xFFFFu) + static_cast<uint64_t>(pSeg->m_nSize) > 0x10000u;
}

bool NeedsExtendedMode(const MemoryImage& image)
{
    for (int i = 0; i < image.GetCount(); ++i)
    {
        const MemorySegment* pSeg = image.GetAt(i);
        if (pSeg && (pSeg->m_dwAddress > 0xFFFF || CrossesPage(pSeg)))
            return true;
    }
    return false;
}

void WriteSegment(CRecordSink& sink, const MemorySegment* pSeg, bool bExtended)
{
    if (bExtended)
        WriteLinearAddress(sink, pSeg->m_dwAddress);
    for (int k = 0; k < pSeg->m_nSize;)
    {
        const uint32_t dwAddress = pSeg->m_dwAddress + static_cast<uint32_t>(k);
        // a data record carries only 16 address bits, so none may run into the next page
        const int nToPage = static_cast<int>(0x10000u - (dwAddress & 0xFFFFu));
        if (k > 0 && (dwAddress & 0xFFFFu) == 0)
            WriteLinearAddress(sink, dwAddress);
        const int c = std::min({16, pSeg->m_nSize - k, nToPage});
        WriteData(sink, dwAddress, pSeg->m_pBytes + k, c);
        k += c;
    }
}

bool WriteImage(const MemoryImage& image, CRecordSink& sink)
{
    const bool bExtended = NeedsExtendedMode(image);
    for (int i = 0; i < image.GetCount() && sink.Ok(); ++i)
    {
        if (const MemorySegment* pSeg = image.GetAt(i))
            WriteSegment(sink, pSeg, bExtended);
    }
    WriteStartAddress(sink, image.GetStartAddress());
    char* p = sink.Reserve();
    std::memcpy(p, ":00000001FF\r\n", 13);
    sink.Commit(p + 13);
    return sink.Flush();
}

bool WriteAll(int fd, const char* p, size_t n)
{
    while (n > 0)
    {
        const ssize_t k = ::write(fd, p, n);
        if (k < 0 && errno == EINTR)
            continue;
        if (k <= 0)
            return false;
        p += k;
        n -= static_cast<size_t>(k);
    }
    return true;
}

bool WriteToDescriptor(const MemoryImage& image, int fd)
{
    CRecordSink sink([fd](const char* p, size_t n) { return WriteAll(fd, p, n); });
    return WriteImage(image, sink);
}

// Owns one descriptor: every way out of a save closes it exactly once.
class CFileDescriptor
{
public:
    explicit CFileDescriptor(int fd) : m_fd(fd) {}
    ~CFileDescriptor() { Close(); }
    CFileDescriptor(const CFileDescriptor&) = delete;
    CFileDescriptor& operator=(const CFileDescriptor&) = delete;
    int Get() const { return m_fd; }
    bool Close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int m_fd;
};

// A temporary file beside the target, removed unless it was renamed over the target.
class CTempFile
{
public:
    explicit CTempFile(std::string strPath) : m_strPath(std::move(strPath)) {}
    ~CTempFile()
    {
        if (!m_bKept)
            ::unlink(m_strPath.c_str());
    }
    CTempFile(const CTempFile&) = delete;
    CTempFile& operator=(const CTempFile&) = delete;
    bool RenameTo(const std::string& strTarget)
    {
        m_bKept = ::rename(m_strPath.c_str(), strTarget.c_str()) == 0;
        return m_bKept;
    }

private:
    std::string m_strPath;
    bool m_bKept = false;
};

// The file a save really replaces: a symbolic link is followed, so the link stays. False
// (errno ELOOP) for a chain of links that does not end.
bool ResolveTarget(const char* pszPath, std::string& path)
{
    path = pszPath;
    for (int nHops = 0; nHops < 40; ++nHops)
    {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        char target[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
        if (n <= 0)
            return false;
        target[n] = 0;
        if (target[0] == '/')
            path = target;
        else
        {
            const size_t nSlash = path.rfind('/');
            path =
                (nSlash == std::string::npos ? std::string() : path.substr(0, nSlash + 1)) + target;
        }
    }
    errno = ELOOP;
    return false;
}

mode_t CurrentUmask()
{
    const mode_t m = ::umask(0);
    ::umask(m);
    return m;
}

bool IsDevice(mode_t mode)
{
    return S_ISCHR(mode) || S_ISBLK(mode);
}

// Only a device the user named is written in place (its write errors still count); a
// pipe, socket or folder is refused before an open could block on it.
bool WriteInPlace(const MemoryImage& image, const std::string& path)
{
    CFileDescriptor fd(::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat st;
    if (fd.Get() < 0 || ::fstat(fd.Get(), &st) != 0)
        return false;
    if (!IsDevice(st.st_mode))
    {
        errno = EINVAL;
        return false;
    }
    const int nFlags = ::fcntl(fd.Get(), F_GETFL);
    if (nFlags < 0 || ::fcntl(fd.Get(), F_SETFL, nFlags & ~O_NONBLOCK) != 0)
        return false;
    const bool bOk = WriteToDescriptor(image, fd.Get());
    return fd.Close() && bOk;
}

// ".NAME.XXXXXX" with NAME cut short, so that the temporary name fits wherever the target's does.
std::string TempPattern(const std::string& target)
{
    constexpr size_t kMaxStem = 64;
    const size_t nSlash = target.rfind('/');
    const std::string dir =
        nSlash == std::string::npos ? std::string() : target.substr(0, nSlash + 1);
    const std::string base = nSlash == std::string::npos ? target : target.substr(nSlash + 1);
    return dir + "." + base.substr(0, kMaxStem) + ".XXXXXX";
}

bool WriteReplacing(const MemoryImage& image, const std::string& target, const struct stat* pOld)
{
    std::string temp = TempPattern(target);
    CFileDescriptor fd(::mkstemp(temp.data()));
    if (fd.Get() < 0)
        return false;
    CTempFile tempFile(temp);
    if (::fchmod(fd.Get(), pOld ? (pOld->st_mode & 07777) : (0666 & ~CurrentUmask())) != 0)
        return false;
    if (pOld && ::geteuid() == 0)
        (void)::fchown(fd.Get(), pOld->st_uid, pOld->st_gid);
    // the old file is replaced only by one that is known to be on disk whole
    const bool bOk = WriteToDescriptor(image, fd.Get()) && ::fsync(fd.Get()) == 0;
    return fd.Close() && bOk && tempFile.RenameTo(target);
}
} // namespace

std::string FormatHexText(const MemoryImage& image)
{
    std::string text;
    CRecordSink sink(
        [&text](const char* p, size_t n)
        {
            text.append(p, n);
            return true;
        });
    WriteImage(image, sink);
    return text;
}

bool WriteHexFile(const MemoryImage& image, const char* pszPath)
{
    std::string target;
    if (!ResolveTarget(pszPath, target))
        return false;
    struct stat st;
    const bool bExists = ::stat(target.c_str(), &st) == 0;
    if (bExists && IsDevice(st.st_mode))
        return WriteInPlace(image, target);
    if (bExists && !S_ISREG(st.st_mode))
    {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return false;
    }
    // a file the user may not write stays as it is, although its folder would allow a rename
    if (bExists && ::access(target.c_str(), W_OK) != 0)
        return false;
    try
    {
        return WriteReplacing(image, target, bExists ? &st : nullptr);
    }
    catch (const std::bad_alloc&)
    {
        errno = ENOMEM;
        return false;
    }
}
