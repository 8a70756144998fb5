#include "filters/mmr/MmrImage.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace kwvd::mmr {
namespace {

constexpr int kScanWindow = 512;
constexpr int kPageHeaderSize = 34;

int BigEndian16(const std::uint8_t* p)
{
    return (p[0] << 8) | p[1];
}

} // namespace

MmrImage::MmrImage(std::string fileName, FilterFileHandle file, std::int64_t baseOffset, const IoCallbacks& io)
    : m_fileName(std::move(fileName)), m_file(file), m_baseOffset(baseOffset), m_io(io)
{
    // Without any page the image is an empty fax-wide page.
    m_current.width = 1728;
    m_current.height = 0;
    m_current.xResolution = 200;
    m_current.yResolution = 200;
}

bool MmrImage::SeekTo(std::int64_t position)
{
    if (!m_io.seek || position < 0)
        return false;
    return m_io.seek(m_file, m_baseOffset + position, kFilterSeekSet) == m_baseOffset + position;
}

bool MmrImage::ReadAt(std::int64_t position, std::uint8_t* buffer, std::int64_t count, std::int64_t* got)
{
    *got = 0;
    if (!m_io.read || !SeekTo(position))
        return false;
    while (*got < count) {
        const std::int64_t n = m_io.read(m_file, buffer + *got, count - *got);
        if (n <= 0 || n > count - *got)
            break;
        *got += n;
    }
    return true;
}

void MmrImage::ScanPages()
{
    m_pages.clear();
    std::int64_t scan = 0;
    std::uint8_t window[kScanWindow];
    while (static_cast<int>(m_pages.size()) < kMaxPages) {
        std::int64_t got = 0;
        if (!ReadAt(scan, window, kScanWindow, &got) || got < 2)
            break;
        std::int64_t found = -1;
        for (std::int64_t i = 0; i + 1 < got; ++i) {
            if (window[i] == 0x70 && window[i + 1] == 0x04) {
                found = i;
                break;
            }
        }
        if (found < 0)
            break;
        const std::int64_t headerAt = scan + found;
        std::uint8_t header[kPageHeaderSize];
        if (!ReadAt(headerAt, header, kPageHeaderSize, &got) || got < kPageHeaderSize)
            break;
        MmrPage page;
        page.xResolution = BigEndian16(header + 12);
        page.yResolution = BigEndian16(header + 14);
        page.width = BigEndian16(header + 16);
        page.height = BigEndian16(header + 18);
        page.firstBlockLength = BigEndian16(header + 32);
        page.dataPosition = headerAt + kPageHeaderSize;
        page.dataLength = page.firstBlockLength;
        std::int64_t next = page.dataPosition + page.firstBlockLength;
        for (;;) {
            std::uint8_t block[4];
            if (!ReadAt(next, block, 4, &got) || got < 4 || block[0] != 0xFE || block[1] != 0x92)
                break;
            const int length = BigEndian16(block + 2);
            page.dataLength += length + 4;
            next += length + 4;
        }
        m_pages.push_back(page);
        scan = page.dataPosition + page.dataLength;
    }
    if (!m_pages.empty()) {
        m_page = 0;
        m_current = m_pages.front();
    }
    m_row = 0;
    m_decoderReady = false;
}

bool MmrImage::SeekToPage()
{
    m_decoderReady = false;
    return SeekTo(m_current.dataPosition);
}

int MmrImage::SetPage(int page)
{
    if (page < 0 || page >= PageCount())
        return kResultPageOutOfRange;
    const MmrPage& chosen = m_pages[static_cast<std::size_t>(page)];
    // A page without rows or columns cannot be described as a bitmap.
    if (chosen.width <= 0 || chosen.height <= 0)
        return kResultBadRow;
    m_page = page;
    m_current = chosen;
    m_row = 0;
    SeekToPage();
    return kResultOk;
}

void MmrImage::ResetDecoder()
{
    m_decoderReady = SeekTo(m_current.dataPosition);
    m_decoder.Reset(&m_io, m_file, m_current.width, m_current.firstBlockLength, m_current.dataLength);
}

bool MmrImage::DecodeRow(std::uint8_t* row)
{
    if (!m_decoderReady || !m_fileOpen)
        return false;
    if (!m_decoder.DecodeRow(row)) {
        // The window now sits somewhere inside a row: start over next time.
        m_decoderReady = false;
        return false;
    }
    return true;
}

int MmrImage::SetRow(std::int64_t row)
{
    if (m_current.width <= 0 || row < 0 || row >= m_current.height)
        return kResultBadRow;
    std::int64_t skip = 0;
    if (m_decoderReady && row > 0 && row >= m_row) {
        skip = row - m_row;
    } else {
        ResetDecoder();
        if (!m_decoderReady)
            return kResultBadRow;
        skip = row;
    }
    std::vector<std::uint8_t> scratch(static_cast<std::size_t>(BitmapRowBytes()) + 3);
    for (std::int64_t i = 0; i < skip; ++i) {
        if (!DecodeRow(scratch.data()))
            return kResultBadRow;
    }
    m_row = row;
    return kResultOk;
}

int MmrImage::ReadRows(std::uint8_t* buffer, std::int64_t rowCount, std::int64_t bytesPerRow, std::int64_t byteOffset,
                       ImportProgressBlock* progress)
{
    const std::int64_t rowBytes = BitmapRowBytes();
    if (!buffer || rowCount < 0 || bytesPerRow <= 0 || byteOffset < 0)
        return kResultBadRow;
    if (rowCount == 0)
        return kResultOk;
    if (rowCount > std::numeric_limits<std::int64_t>::max() / bytesPerRow)
        return kResultBadRow;
    if (m_current.height <= 0 || m_row > m_current.height - rowCount)
        return kResultBadRow;
    const bool inPlace = bytesPerRow >= rowBytes;
    if (!inPlace && byteOffset > rowBytes - bytesPerRow)
        return kResultBadRow;
    if (!m_decoderReady) {
        const int positioned = SetRow(m_row);
        if (positioned != kResultOk)
            return positioned;
    }

    std::vector<std::uint8_t> scratch;
    if (!inPlace)
        scratch.assign(static_cast<std::size_t>(rowBytes) + 3, 0);
    const std::size_t decodedBytes = static_cast<std::size_t>((m_current.width + 7) / 8);
    for (std::int64_t i = 0; i < rowCount; ++i) {
        std::uint8_t* target = buffer + (rowCount - 1 - i) * bytesPerRow;
        if (inPlace) {
            if (!DecodeRow(target))
                return kResultBadRow;
            std::memset(target + decodedBytes, 0, static_cast<std::size_t>(rowBytes) - decodedBytes);
        } else {
            if (!DecodeRow(scratch.data()))
                return kResultBadRow;
            std::memcpy(target, scratch.data() + byteOffset, static_cast<std::size_t>(bytesPerRow));
        }
        ++m_row;
        if (progress && progress->callback) {
            progress->since += bytesPerRow;
            if (progress->since > progress->step) {
                progress->done += progress->since;
                if (progress->done > progress->total)
                    progress->done = progress->total;
                const int percent =
                    progress->total > 0 ? static_cast<int>(progress->done * 100 / progress->total) : 100;
                progress->since = progress->step > 0 ? progress->since % progress->step : 0;
                if (progress->callback(progress->firstValue, percent, progress->userData) == 0)
                    return kResultCancelled;
            }
        }
    }
    return kResultOk;
}

int MmrImage::BuildBitmapHeader(ImportImageInfo* info)
{
    if (!info)
        return kResultNoMemory;
    const std::size_t size = sizeof(BitmapInfoHeader) + 2 * sizeof(RgbQuad);
    auto* header = static_cast<BitmapInfoHeader*>(std::calloc(1, size));
    if (!header)
        return kResultNoMemory;
    header->biSize = sizeof(BitmapInfoHeader);
    header->biWidth = m_current.width;
    header->biHeight = m_current.height;
    header->biPlanes = 1;
    header->biBitCount = 1;
    header->biCompression = 0;
    header->biSizeImage = static_cast<std::uint32_t>(BitmapRowBytes() * m_current.height);
    header->biXPelsPerMeter = static_cast<std::int32_t>(m_current.xResolution * 39.37) / 10;
    header->biYPelsPerMeter = static_cast<std::int32_t>(m_current.yResolution * 39.37) / 10;
    auto* palette = reinterpret_cast<RgbQuad*>(header + 1);
    palette[0] = RgbQuad{0, 0, 0, 0};
    palette[1] = RgbQuad{255, 255, 255, 0};
    info->bitmapHeader = header;
    info->reserved = 0;
    info->width = m_current.width;
    info->height = m_current.height;
    info->pageCount = PageCount();
    return kResultOk;
}

void MmrImage::CloseFile()
{
    if (m_fileOpen && m_io.close)
        m_io.close(m_file);
    m_fileOpen = false;
    m_decoderReady = false;
}

int MmrImage::Reopen()
{
    if (!m_fileOpen) {
        FilterFileHandle file = 0;
        if (!m_io.open || m_io.open(m_fileName.c_str(), kFilterOpenRead, &file) != 1)
            return kResultOpenFailed;
        m_file = file;
        m_fileOpen = true;
    }
    SeekToPage();
    return kResultOk;
}

} // namespace kwvd::mmr
