#include "filters/qdx/QdxExport.h"

#include "filters/qdx/QdxError.h"
#include "filters/qdx/QdxJpegWriter.h"
#include "filters/qdx/QdxLzwWriter.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

bool Lookup(ImgXOptBlkGetFn lookup, OptionBlockHandle options, const char* key, std::string* value)
{
    if (!lookup)
        return false;
    char buffer[512];
    if (lookup(options, key, buffer, sizeof buffer) != 0)
        return false;
    *value = buffer;
    return true;
}

// A whole number, or nullopt-like false for text that is not one.
bool ParseNumber(const std::string& text, long long* number)
{
    errno = 0;
    char* end = nullptr;
    const long long n = std::strtoll(text.c_str(), &end, 10);
    if (end == text.c_str() || errno == ERANGE)
        return false;
    *number = n;
    return true;
}

// dpi x 10 from TIFF_XRES/TIFF_YRES, else from the bitmap's pixels per metre.
int Resolution(ImgXOptBlkGetFn lookup, OptionBlockHandle options, const char* key, std::int32_t pelsPerMeter)
{
    std::string text;
    long long value = 0;
    if (Lookup(lookup, options, key, &text)) {
        if (!ParseNumber(text, &value))
            return 0;
        value *= 10;
    } else {
        if (pelsPerMeter <= 0)
            return 0;
        value = (static_cast<long long>(pelsPerMeter) * 1000 + 3937 / 2) / 3937;
    }
    if (value < 0 || value > 65535)
        throw CQdxError("Resolution does not fit the qdx format: " + std::to_string(value));
    return static_cast<int>(value);
}

} // namespace

void CQdxExport::Begin(const std::string& fileName, const BitmapInfoHeader& bitmap, OptionBlockHandle options,
                       ImgXOptBlkGetFn lookup)
{
    int quality = 50;
    std::string text;
    long long number = 0;
    if (Lookup(lookup, options, "LOSSY_QUALITY", &text) && ParseNumber(text, &number))
        quality = static_cast<std::uint8_t>(number); // one byte, as the host's tools pass it
    const int xRes = Resolution(lookup, options, "TIFF_XRES", bitmap.biXPelsPerMeter);
    const int yRes = Resolution(lookup, options, "TIFF_YRES", bitmap.biYPelsPerMeter);
    m_encoder = Lookup(lookup, options, "QDX_COMPRESS", &text) && text.compare(0, 3, "LZW") == 0 ? Lzw : Jpeg;

    if (m_encoder == Lzw)
        m_writer = std::make_unique<CQdxLzwWriter>();
    else
        m_writer = std::make_unique<CQdxJpegWriter>();
    m_writer->SetProgress([this](double fraction) { Progress(fraction); });
    m_writer->Begin(fileName, bitmap, xRes, yRes, quality);
}

void CQdxExport::WriteBlock(std::int32_t rowCount, std::int64_t bytesPerRow, const std::uint8_t* rows,
                            ExportProgressBlock* progress)
{
    if (!m_writer)
        throw CQdxError("CImageBuffer Not Init in WriteBlock.");
    m_progress = progress;
    m_writer->WriteBlock(rowCount, bytesPerRow, rows);
}

void CQdxExport::End()
{
    if (!m_writer)
        throw CQdxError("CImageBuffer Not Init in WriteBlock.");
    m_writer->Finish();
}

void CQdxExport::Progress(double fraction)
{
    ExportProgressBlock* p = m_progress;
    if (!p)
        return;
    const auto advance = static_cast<std::int64_t>(static_cast<double>(p->total) * fraction) - p->done;
    if (advance > p->step) {
        p->done += advance;
        if (p->callback)
            p->callback(0, static_cast<int>(fraction * 100), p->userData);
    }
}
