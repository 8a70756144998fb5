#pragma once
// Writes one QDX file: the EBCDIC marker "QDX1", then one MO:DCA image object
// whose IOCA image holds four 8-bit CMYK planes. A subclass encodes the planes.

#include "filters/common/FilterRecords.h"
#include "filters/qdx/ImageBuffer.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

class CQdxWriter
{
public:
    static constexpr int kNoPlane = 255;
    static constexpr std::size_t kSegmentLimit = 32000;
    static constexpr int kDefaultResolution = 3000; // units per ten inches: 300 dpi

    virtual ~CQdxWriter();

    // Resolutions in units per ten inches (0 keeps the default); quality for JPEG.
    virtual void Begin(const std::string& fileName, const BitmapInfoHeader& bitmap, int xRes, int yRes, int quality);
    virtual void WriteBlock(std::int32_t rowCount, std::int64_t bytesPerRow, const std::uint8_t* rows);
    virtual void Finish();
    virtual std::uint8_t CompressionId() const = 0;
    virtual void EncodePlane(int plane) = 0;
    virtual void SetUp(const BitmapInfoHeader& bitmap);
    virtual void SetResolutions(int xRes, int yRes);
    virtual void SetActivePlane(int plane);
    virtual void WriteMarker();
    virtual void WriteHeader();
    virtual void WriteEnd();
    virtual void StartSegment();
    virtual void FillImageSegmentHeader();

    void SetProgress(std::function<void(double)> progress) { m_progress = std::move(progress); }
    // Closes the file if still open; false when a write was lost.
    bool Close();

protected:
    // The encoders' byte output: counted into image data segments.
    void PutByte(std::uint8_t byte)
    {
        m_segment.push_back(byte);
        if (m_segment.size() == kSegmentLimit) {
            FillImageSegmentHeader();
            StartSegment();
        }
    }
    void Report(double fraction) const
    {
        if (m_progress)
            m_progress(fraction);
    }
    // Rounds the size to encode from the image's (the JPEG writer to multiples of 8).
    virtual int EncodedSize(int size) const { return size; }

    int m_width = 0;
    int m_height = 0;
    int m_encodedWidth = 0;
    int m_encodedHeight = 0;
    CImageBuffer m_buffer;

private:
    void WriteRaw(const std::uint8_t* data, std::size_t size);
    void WriteRaw(std::initializer_list<std::uint8_t> bytes) { WriteRaw(bytes.begin(), bytes.size()); }

    std::FILE* m_file = nullptr;
    int m_activePlane = kNoPlane;
    std::vector<std::uint8_t> m_segment; // the open data segment, header included
    int m_xRes = kDefaultResolution;
    int m_yRes = kDefaultResolution;
    std::function<void(double)> m_progress;
};
