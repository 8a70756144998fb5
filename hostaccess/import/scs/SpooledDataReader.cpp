#include "hostaccess/import/scs/SpooledDataReader.h"

#include <algorithm>
#include <cstring>

SpooledDataReader::SpooledDataReader(SpooledByteSource& source) : m_source(source) {}

bool SpooledDataReader::ReadFirstBlock()
{
    m_lookBackLength = 0;
    m_blockLength = 0;
    m_status = kReading;
    m_shiftState = kSingleByte;
    ReadBlock();
    return m_status != kReadFailed;
}

bool SpooledDataReader::ReadBlock()
{
    std::size_t bytesRead = 0;
    if (!m_source.Read(m_buffer.data() + kLookBackSize, kBlockSize, bytesRead)) {
        m_status = kReadFailed;
        m_blockLength = 0;
        return false;
    }
    // A source that claims more than it was asked for is not believed.
    m_blockLength = std::min(bytesRead, kBlockSize);
    m_position = kLookBackSize;
    if (m_blockLength == 0) {
        m_status = kEndOfData;
        return false;
    }
    return true;
}

unsigned char SpooledDataReader::Current() const
{
    if (m_status != kReading || m_blockLength == 0)
        return 0;
    return m_buffer[m_position];
}

bool SpooledDataReader::Advance()
{
    if (m_status != kReading)
        return false;
    if (m_position + 1 < kLookBackSize + m_blockLength) {
        ++m_position;
        return true;
    }
    // The newest 32 bytes seen (the old look-back and this block lie side by
    // side in the buffer) stay behind the next block.
    const std::size_t kept = std::min(kLookBackSize, m_lookBackLength + m_blockLength);
    std::memmove(m_buffer.data() + kLookBackSize - kept, m_buffer.data() + kLookBackSize + m_blockLength - kept, kept);
    m_lookBackLength = kept;
    return ReadBlock();
}

bool SpooledDataReader::StepBack()
{
    if (m_status != kReading)
        return false;
    if (m_position <= kLookBackSize - m_lookBackLength) {
        m_status = kReadFailed;
        return false;
    }
    --m_position;
    return true;
}
