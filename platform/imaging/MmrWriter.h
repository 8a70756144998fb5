#pragma once
// Writes MMR files: the marker C6 D9, then per page one IOCA image segment
// holding the page's T.6 data. See MmrWriter.cpp for the byte layout.

#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

class MmrWriter
{
public:
    // The bytes of one page for a 1-bit image (any palette order: the darker
    // entry is black). Resolutions in pixels per ten inches; the segment is
    // named by pageNumber, counted from 1. False when the size or a
    // resolution does not fit the segment's 16-bit fields, or the page
    // number is below 1.
    static bool EncodePage(const QImage& mono, int xResolution, int yResolution, int pageNumber,
                           std::vector<std::uint8_t>* page, std::string* error);

    // The pages (begin-segment fields) of a whole MMR file, walked field by
    // field; -1 when the file has no marker or a field runs past its end.
    static int CountPages(const std::vector<std::uint8_t>& file);

    // T.6 data of the image with its end-of-facsimile-block, from libtiff's
    // G4 encoder; black pixels coded as black runs.
    static bool EncodeG4(const QImage& mono, std::vector<std::uint8_t>* data);

    // The file's leading marker.
    static std::vector<std::uint8_t> Marker() { return {0xC6, 0xD9}; }
};
