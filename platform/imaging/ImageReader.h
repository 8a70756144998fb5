#pragma once
// Reads image files: BMP, PNG, JPEG and GIF through Qt's readers with the
// depth and resolution taken from the file's own header, TIFF (every page,
// G3 and G4) through libtiff, MMR through the import filter PT31MMR.

#include "platform/imaging/PictraImage.h"

#include <string>

class ImageReader
{
public:
    // Fills image with the page of the file; false when it cannot be read.
    static bool Read(const std::string& path, int page, PictraImage* image);
    static ImageFileFormat Detect(const std::string& path);
};
