#include "HexRecordWriter.h"

namespace
{
constexpr size_t kBufferSize = 1 << 20;
constexpr char kDigits[] = "0123456789ABCDEF";
} // namespace

CHexRecordWriter::~CHexRecordWriter()
{
    if (m_pFile)
        std::fclose(m_pFile);
}

bool CHexRecordWriter::Open(const std::string& path)
{
    m_pFile = std::fopen(path.c_str(), "wb");
    m_buffer.resize(kBufferSize);
    m_nUsed = 0;
    m_dwPage = 0x10000;
    m_bFailed = m_pFile == nullptr;
    return !m_bFailed;
}

void CHexRecordWriter::WriteData(uint32_t dwAddress, const uint8_t* pBytes, int n)
{
    const uint32_t dwPage = dwAddress >> 16;
    if (dwPage != m_dwPage)
        WriteLinearBase(dwPage);
    Reserve(64);
    uint8_t sum = 0;
    m_buffer[m_nUsed++] = ':';
    PutByte(static_cast<uint8_t>(n), sum);
    PutByte(static_cast<uint8_t>(dwAddress >> 8), sum);
    PutByte(static_cast<uint8_t>(dwAddress), sum);
    PutByte(0x00, sum);
    for (int i = 0; i < n; i++)
        PutByte(pBytes[i], sum);
    EndLine(sum);
}

void CHexRecordWriter::WriteLinearBase(uint32_t dwPage)
{
    Reserve(64);
    uint8_t sum = 0;
    m_buffer[m_nUsed++] = ':';
    PutByte(0x02, sum);
    PutByte(0x00, sum);
    PutByte(0x00, sum);
    PutByte(0x04, sum);
    PutByte(static_cast<uint8_t>(dwPage >> 8), sum);
    PutByte(static_cast<uint8_t>(dwPage), sum);
    EndLine(sum);
    m_dwPage = dwPage;
}

void CHexRecordWriter::WriteEndOfFile()
{
    Reserve(64);
    for (char c : std::string(":00000001FF\r\n"))
        m_buffer[m_nUsed++] = c;
}

void CHexRecordWriter::PutByte(uint8_t b, uint8_t& sum)
{
    m_buffer[m_nUsed++] = kDigits[b >> 4];
    m_buffer[m_nUsed++] = kDigits[b & 0x0F];
    sum = static_cast<uint8_t>(sum + b);
}

void CHexRecordWriter::EndLine(uint8_t sum)
{
    uint8_t ignored = 0;
    PutByte(static_cast<uint8_t>(0x100 - sum), ignored);
    m_buffer[m_nUsed++] = '\r';
    m_buffer[m_nUsed++] = '\n';
}

void CHexRecordWriter::Reserve(size_t n)
{
    if (m_nUsed + n > m_buffer.size())
        Flush();
}

void CHexRecordWriter::Flush()
{
    if (m_pFile && m_nUsed > 0 && std::fwrite(m_buffer.data(), 1, m_nUsed, m_pFile) != m_nUsed)
        m_bFailed = true;
    m_nUsed = 0;
}

bool CHexRecordWriter::Close()
{
    Flush();
    if (m_pFile && std::fclose(m_pFile) != 0)
        m_bFailed = true;
    m_pFile = nullptr;
    return !m_bFailed;
}
