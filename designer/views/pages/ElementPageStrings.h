#pragma once
// The texts of the element property sheet and its General page: the
// caption, the placeholder page, the two titles of the position group and
// the labels of dialogs 126 and 131. Harmless to call again.

#include "platform/framework/Types.h"

struct ElementPageString
{
    enum : UINT {
        PositionAbsolute = 338,
        PositionRelative = 340,
        SheetCaption = 342,
    };
};

void RegisterElementPageStrings();
