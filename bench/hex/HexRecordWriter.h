// Buffered writer of Intel HEX records for the benchmark corpus: upper-case digits,
// correct checksums, CR LF line ends, and a 04 record whenever a record's 64 KiB page
// differs from the one in force.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class CHexRecordWriter
{
public:
    CHexRecordWriter() = default;
    ~CHexRecordWriter();
    CHexRecordWriter(const CHexRecordWriter&) = delete;
    CHexRecordWriter& operator=(const CHexRecordWriter&) = delete;

    bool Open(const std::string& path);
    // Writes one data record of 1 to 16 bytes that does not cross a 64 KiB boundary.
    void WriteData(uint32_t dwAddress, const uint8_t* pBytes, int n);
    void WriteEndOfFile();
    // Flushes and closes; false when any write failed.
    bool Close();

private:
    void WriteLinearBase(uint32_t dwPage);
    void PutByte(uint8_t b, uint8_t& sum);
    void EndLine(uint8_t sum);
    void Reserve(size_t n);
    void Flush();

    FILE* m_pFile = nullptr;
    std::vector<char> m_buffer;
    size_t m_nUsed = 0;
    // page of the last 04 record; above 0xFFFF until the first one is written
    uint32_t m_dwPage = 0x10000;
    bool m_bFailed = false;
};
