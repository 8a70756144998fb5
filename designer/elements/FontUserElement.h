#pragma once
// The kinds that print with one of the output page's fonts are listed as its
// users in the page's font manager, so that a font in use is never dropped.
// FontUserElement<Base> keeps that entry and the index together.

#include "designer/elements/FormElement.h"
#include "designer/resources/fonts/FontManager.h"
#include "platform/framework/Types.h"

template <class Base>
class FontUserElement : public Base
{
public:
    using Base::Base;

    int GetFontIndex() const { return m_fontIndex; }

protected:
    // Moves the element to the font's user list; without a page there is no
    // user list, so a valid index is kept for later.
    void MoveToFont(int index)
    {
        if (CFontManager* manager = this->OutputFontManager())
            m_fontIndex = manager->MoveFontUser(m_fontIndex, this, index);
        else
            m_fontIndex = index >= 0 && index < CFontManager::kMaxFonts ? index : 0;
    }

    // Back to the default font, which keeps no user list; the kinds call it
    // first in their destructors, while the element is whole.
    void LeaveFont()
    {
        if (m_fontIndex == 0)
            return;
        if (CFontManager* manager = this->OutputFontManager())
            manager->MoveFontUser(m_fontIndex, this, 0);
        m_fontIndex = 0;
    }

    int m_fontIndex = 0;
};
