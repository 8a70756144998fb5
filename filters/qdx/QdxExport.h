#pragma once
// One QDX export, held behind PT31XQDX's state handle: the options read from
// the core's option block, the writer, and the last error text.

#include "filters/common/FilterRecords.h"
#include "filters/common/OptionBlock.h"
#include "filters/qdx/QdxWriter.h"

#include <memory>
#include <string>

class CQdxExport
{
public:
    enum Encoder {
        Jpeg = 0,
        Lzw = 1
    };

    // Reads the options through lookup (null: all defaults). Throws CQdxError.
    void Begin(const std::string& fileName, const BitmapInfoHeader& bitmap, OptionBlockHandle options,
               ImgXOptBlkGetFn lookup);
    void WriteBlock(std::int32_t rowCount, std::int64_t bytesPerRow, const std::uint8_t* rows,
                    ExportProgressBlock* progress);
    void End();

    Encoder EncoderKind() const { return m_encoder; }
    std::string m_lastError;

private:
    void Progress(double fraction);

    Encoder m_encoder = Jpeg;
    std::unique_ptr<CQdxWriter> m_writer;
    ExportProgressBlock* m_progress = nullptr; // the latest block the core handed over
};
