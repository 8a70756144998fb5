#pragma once
// One open MMR image of the import filter: its pages, the current page and
// row, and the decoder positioned in the page's data.

#include "filters/common/FilterRecords.h"
#include "filters/mmr/MmrDecoder.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kwvd::mmr {

struct MmrPage
{
    std::int64_t dataPosition = 0; // from the base offset
    std::int64_t dataLength = 0;   // first block, then each further block with its 4 header bytes
    std::int64_t firstBlockLength = 0;
    int width = 0;
    int height = 0;
    int xResolution = 0; // pixels per ten inches
    int yResolution = 0;
};

// Error numbers kept in the thread's last-error slot.
enum MmrError : int {
    kErrorCannotOpen = 1,
    kErrorNoMemory = 3,
    kErrorInvalidHandle = 4,
    kErrorPrintFromDll = 6,
    kErrorInvalidHeader = 7,
    kErrorNoSuchPage = 15,
};

// Result codes of the entries.
enum MmrResult : int {
    kResultOk = 1,
    kResultOpenFailed = 4,
    kResultPrintUnsupported = 5,
    kResultNoMemory = 6,
    kResultInvalidHandle = 8,
    kResultEscapeUnsupported = 9,
    kResultBadRow = 10,
    kResultPageOutOfRange = 16,
    kResultCancelled = 23,
};

class MmrImage
{
public:
    // More pages than this are not looked for.
    static constexpr int kMaxPages = 10000;

    MmrImage(std::string fileName, FilterFileHandle file, std::int64_t baseOffset, const IoCallbacks& io);

    // Finds the pages by the segment marker 70 04 within each next 512 bytes.
    void ScanPages();

    int SetPage(int page);
    int SetRow(std::int64_t row);
    int ReadRows(std::uint8_t* buffer, std::int64_t rowCount, std::int64_t bytesPerRow, std::int64_t byteOffset,
                 ImportProgressBlock* progress);
    int BuildBitmapHeader(ImportImageInfo* info);
    int Reopen();
    void CloseFile();

    int CurrentPage() const { return m_page; }
    int PageCount() const { return static_cast<int>(m_pages.size()); }
    const MmrPage& Page() const { return m_current; }
    std::int64_t BitmapRowBytes() const { return ::BitmapRowBytes(1, m_current.width); }

private:
    bool SeekTo(std::int64_t position);
    bool ReadAt(std::int64_t position, std::uint8_t* buffer, std::int64_t count, std::int64_t* got);
    bool SeekToPage();
    void ResetDecoder();
    bool DecodeRow(std::uint8_t* row);

    std::string m_fileName;
    FilterFileHandle m_file = 0;
    bool m_fileOpen = true;
    std::int64_t m_baseOffset = 0;
    IoCallbacks m_io{};

    std::vector<MmrPage> m_pages;
    MmrPage m_current; // the selected page, or the empty page of a file without any
    int m_page = 0;
    std::int64_t m_row = 0;
    bool m_decoderReady = false;
    MmrDecoder m_decoder;
};

} // namespace kwvd::mmr
