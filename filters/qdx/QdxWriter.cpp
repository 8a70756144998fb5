#include "filters/qdx/QdxWriter.h"

#include "filters/qdx/QdxError.h"

namespace {

constexpr int kMaxField = 65535; // the format's 2-byte size and resolution fields

std::uint8_t Hi(int v)
{
    return static_cast<std::uint8_t>(v >> 8);
}
std::uint8_t Lo(int v)
{
    return static_cast<std::uint8_t>(v);
}

} // namespace

CQdxWriter::~CQdxWriter()
{
    Close();
}

bool CQdxWriter::Close()
{
    if (!m_file)
        return true;
    const bool ok = std::fclose(m_file) == 0;
    m_file = nullptr;
    return ok;
}

void CQdxWriter::SetResolutions(int xRes, int yRes)
{
    if (xRes < 0 || xRes > kMaxField || yRes < 0 || yRes > kMaxField)
        throw CQdxError("Resolution does not fit the qdx format: "
                        + std::to_string(xRes < 0 || xRes > kMaxField ? xRes : yRes));
    if (xRes != 0)
        m_xRes = xRes;
    if (yRes != 0)
        m_yRes = yRes;
}

void CQdxWriter::Begin(const std::string& fileName, const BitmapInfoHeader& bitmap, int xRes, int yRes, int)
{
    SetResolutions(xRes, yRes);
    if (bitmap.biSize != sizeof(BitmapInfoHeader) || bitmap.biWidth <= 0 || bitmap.biHeight <= 0)
        throw CQdxError("Invalid bitmap header.");
    if (bitmap.biWidth > kMaxField || bitmap.biHeight > kMaxField)
        throw CQdxError("Image size does not fit the qdx format: " + std::to_string(bitmap.biWidth) + " x "
                        + std::to_string(bitmap.biHeight));
    // Refused before the file exists, so that a refusal leaves nothing behind.
    CImageBuffer::Check(bitmap);
    m_file = std::fopen(fileName.c_str(), "wb");
    if (!m_file)
        throw CQdxError("Failed to create output file: " + fileName);
    SetUp(bitmap);
}

void CQdxWriter::SetUp(const BitmapInfoHeader& bitmap)
{
    m_width = bitmap.biWidth;
    m_height = bitmap.biHeight;
    m_encodedWidth = EncodedSize(m_width);
    m_encodedHeight = EncodedSize(m_height);
    m_buffer.Init(bitmap, m_encodedWidth, m_encodedHeight);
}

void CQdxWriter::WriteBlock(std::int32_t rowCount, std::int64_t bytesPerRow, const std::uint8_t* rows)
{
    m_buffer.WriteBlock(rowCount, bytesPerRow, rows, m_encodedWidth - m_width);
}

void CQdxWriter::WriteRaw(const std::uint8_t* data, std::size_t size)
{
    if (!m_file || std::fwrite(data, 1, size, m_file) != size)
        throw CQdxError("Error writing export file.");
}

void CQdxWriter::WriteMarker()
{
    WriteRaw({0xD8, 0xC4, 0xE7, 0xF1}); // "QDX1" in EBCDIC
}

// Structured fields 1 to 7 (149 bytes) and the image content field 8 (69 bytes).
void CQdxWriter::WriteHeader()
{
    const int w = m_width;
    const int h = m_height;
    const int xr = m_xRes;
    const int yr = m_yRes;
    // Begin Image Object "IO100000"
    WriteRaw({0x5A, 0x00, 0x10, 0xD3, 0xA8, 0xFB, 0x00, 0x00, 0x01, 0xC9, 0xD6, 0xF1, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0});
    // Begin Object Environment Group "OEG00001"
    WriteRaw({0x5A, 0x00, 0x10, 0xD3, 0xA8, 0xC7, 0x00, 0x00, 0x02, 0xD6, 0xC5, 0xC7, 0xF0, 0xF0, 0xF0, 0xF0, 0xF1});
    // Object Area Descriptor: position, units (ten inches), area size
    WriteRaw({0x5A, 0x00,   0x1C,   0xD3,   0xA6,   0x6B, 0x00, 0x00, 0x03, 0x03,  0x43,  0x01, 0x08,  0x4B, 0x00,
              0x00, Hi(xr), Lo(xr), Hi(yr), Lo(yr), 0x09, 0x4C, 0x02, 0x00, Hi(w), Lo(w), 0x00, Hi(h), Lo(h)});
    // Object Area Position: offset 0, orientations 0 and 90 degrees
    WriteRaw({0x5A, 0x00, 0x20, 0xD3, 0xAC, 0x6B, 0x00, 0x00, 0x04, 0x01, 0x17, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
              0x00, 0x00, 0x2D, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2D, 0x00, 0x01});
    // Map Image Object
    WriteRaw({0x5A, 0x00, 0x0D, 0xD3, 0xAB, 0xFB, 0x00, 0x00, 0x05, 0x00, 0x05, 0x03, 0x04, 0x10});
    // Image Data Descriptor, function set 45
    WriteRaw({0x5A,   0x00,   0x15,   0xD3,  0xA6,  0xFB,  0x00,  0x00, 0x06, 0x00, Hi(xr),
              Lo(xr), Hi(yr), Lo(yr), Hi(w), Lo(w), Hi(h), Lo(h), 0xF7, 0x02, 0x01, 0x2D});
    // End Object Environment Group
    WriteRaw({0x5A, 0x00, 0x10, 0xD3, 0xA9, 0xC7, 0x00, 0x00, 0x07, 0xD6, 0xC5, 0xC7, 0xF0, 0xF0, 0xF0, 0xF0, 0xF1});
    // Image Picture Data: begin segment, image content, tile, encoding, CMYK bands
    WriteRaw({0x5A,  0x00,
              0x44,  0xD3,
              0xEE,  0xFB,
              0x00,  0x00,
              0x08,  0x70,
              0x00,  0x91,
              0x01,  0xFF,
              0xFE,  0xBB,
              0x00,  0x02,
              0x00,  0x00,
              0x8C,  0x00,
              0xB5,  0x08,
              0x00,  0x00,
              0x00,  0x00,
              0x00,  0x00,
              0x00,  0x00,
              0xB6,  0x09,
              0x00,  0x00,
              Hi(w), Lo(w),
              0x00,  0x00,
              Hi(h), Lo(h),
              0x01,  0x95,
              0x03,  CompressionId(),
              0x01,  0x00,
              0x96,  0x01,
              0x20,  0x98,
              0x05,  0x04,
              0x08,  0x08,
              0x08,  0x08,
              0x9B,  0x09,
              0x00,  0x04,
              0x00,  0x00,
              0x00,  0x08,
              0x08,  0x08,
              0x08});
}

void CQdxWriter::WriteEnd()
{
    // Image Picture Data: end tile, end image content, end segment
    WriteRaw({0x5A, 0x00, 0x0E, 0xD3, 0xEE, 0xFB, 0x00, 0x00, 0x0D, 0x8D, 0x00, 0x93, 0x00, 0x71, 0x00});
    // End Image Object "IO100001"
    WriteRaw({0x5A, 0x00, 0x10, 0xD3, 0xA9, 0xFB, 0x00, 0x00, 0x0E, 0xC9, 0xD6, 0xF1, 0xF0, 0xF0, 0xF0, 0xF0, 0xF1});
}

void CQdxWriter::StartSegment()
{
    const auto band = static_cast<std::uint8_t>(m_activePlane + 1);
    // Lengths are filled in when the segment ends.
    m_segment.assign({0x5A, 0x00, 0x00, 0xD3, 0xEE, 0xFB, 0x00, 0x00, 0x09, 0xFE, 0x9C, 0x00, 0x00, band, 0x00, 0x00});
}

void CQdxWriter::FillImageSegmentHeader()
{
    if (m_segment.empty())
        return;
    const int length = static_cast<int>(m_segment.size()) - 1;
    const int imageData = length - 12;
    m_segment[1] = Hi(length);
    m_segment[2] = Lo(length);
    m_segment[11] = Hi(imageData);
    m_segment[12] = Lo(imageData);
    WriteRaw(m_segment.data(), m_segment.size());
    m_segment.clear();
}

void CQdxWriter::SetActivePlane(int plane)
{
    FillImageSegmentHeader();
    m_activePlane = plane;
    if (plane != kNoPlane)
        StartSegment();
}

void CQdxWriter::Finish()
{
    WriteMarker();
    WriteHeader();
    for (int plane = 0; plane < CImageBuffer::kPlanes; ++plane) {
        SetActivePlane(plane);
        EncodePlane(plane);
    }
    SetActivePlane(kNoPlane);
    WriteEnd();
    if (!Close())
        throw CQdxError("Error writing export file.");
}
