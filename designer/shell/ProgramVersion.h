#pragma once
// The program's version and the text the about box and the splash show.

#include "platform/framework/Types.h"

#include <QPixmap>
#include <QString>

#include <optional>

struct ProductVersion
{
    WORD major = 0;
    WORD minor = 0;
    WORD build = 0;
    WORD revision = 0;
};

// 6.27.59.28.
ProductVersion GetProductVersion();

// "Version 6  (build 27)" from the two numbers of the most significant half;
// without a version the fixed text of string 243.
QString GetVersionText(const std::optional<ProductVersion>& version);
QString GetVersionText();

// The picture behind the splash and at the top of the about box.
QPixmap DrawBrandBitmap();
