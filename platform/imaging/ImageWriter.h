#pragma once
// Writes an image as an option block prescribes: TIFF (G4 for bilevel
// images) and MMR by the core itself, QDX and PNG through the export
// filters. Every format goes through the safe file save: a temporary file
// beside the target replaces it only when the whole file was written.

#include "filters/common/OptionBlock.h"
#include "platform/imaging/PictraImage.h"

#include <string>

class ImageWriter
{
public:
    // fileName is the target exactly as the caller wrote it.
    static bool Save(const PictraImage& image, OptionBlockHandle options, const std::string& fileName);

    // The image converted for the export filters: 1, 4, 8 or 24 bits.
    static QImage ExportPixels(const PictraImage& image, int depth);
};
