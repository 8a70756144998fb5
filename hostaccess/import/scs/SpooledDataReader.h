#pragma once
// One pass over a spooled file's data, byte by byte, as the line readers
// take it. The data comes in blocks of 1024 bytes from a byte source (the
// host, or a table in a test); the last 32 bytes seen stay behind the block
// so that a control straddling two blocks can be stepped back over without
// reading again. The reader also keeps the double-byte shift state, which
// runs on from line to line and page to page.

#include <array>
#include <cstddef>

// Where the bytes come from. A read delivers up to length bytes; it fails
// with false, and 0 bytes read is the end of the data.
class SpooledByteSource
{
public:
    virtual ~SpooledByteSource() = default;
    virtual bool Read(unsigned char* buffer, std::size_t length, std::size_t& bytesRead) = 0;
};

class SpooledDataReader
{
public:
    static constexpr std::size_t kBlockSize = 1024;
    static constexpr std::size_t kLookBackSize = 32;

    enum Status { kReading = 1, kEndOfData = 4, kReadFailed = 7 };
    enum ShiftState { kDoubleByte = 0, kSingleByte = 1 };

    explicit SpooledDataReader(SpooledByteSource& source);

    SpooledDataReader(const SpooledDataReader&) = delete;
    SpooledDataReader& operator=(const SpooledDataReader&) = delete;

    // The first block; false only when the read failed (an empty file is
    // the end of the data at once).
    bool ReadFirstBlock();

    // The bytes of the block in hand, for the data-type check and the raw
    // save of what was read already.
    const unsigned char* BlockData() const { return m_buffer.data() + kLookBackSize; }
    std::size_t BlockLength() const { return m_blockLength; }

    int GetStatus() const { return m_status; }

    // The byte at the position; 0 once the reader stopped.
    unsigned char Current() const;
    // The next byte, reading the next block at the end of this one. Fails at
    // the end of the data (status 4) or when a read fails (status 7).
    bool Advance();
    // One byte back, into the look-back area if need be; before the oldest
    // byte still held it fails with status 7.
    bool StepBack();

    int GetShiftState() const { return m_shiftState; }
    void SetShiftState(int state) { m_shiftState = state; }

private:
    bool ReadBlock();

    SpooledByteSource& m_source;
    // Look-back area, then the block.
    std::array<unsigned char, kLookBackSize + kBlockSize> m_buffer{};
    std::size_t m_blockLength = 0;
    // Bytes of the look-back area that hold data: fewer than 32 after the
    // first block, or after blocks shorter than the area.
    std::size_t m_lookBackLength = 0;
    std::size_t m_position = kLookBackSize;
    int m_status = kReading;
    int m_shiftState = kSingleByte;
};
