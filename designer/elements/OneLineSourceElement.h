#pragma once
// The source box of a Variable or a Conditional is exactly one line of the
// spooled file: these helpers keep it so through every move and resize.
// OneLineSourceElement<Base> adds them to a kind whose base is CFormElement
// or a container.

#include "designer/document/DesignerDoc.h"
#include "designer/elements/FormElement.h"
#include "platform/framework/Rect.h"
#include "platform/framework/Types.h"

class CPage;

// Each side to its nearest grid line, the bottom one cell below the top,
// then onto the page. A null rectangle stays null. TRUE when it changed.
BOOL SnapRectToOneLine(const CPage& page, kwvd::Rect& rect);

template <class Base>
class OneLineSourceElement : public Base
{
public:
    using Base::Base;

    // Puts the source box on one line of the source page and announces it.
    void SnapToOneLine()
    {
        const CPage* page = this->SourcePage();
        if (page == nullptr || this->m_sourceRect.IsNull())
            return;
        SnapRectToOneLine(*page, this->m_sourceRect);
        this->Announce(DocumentHint::SourceRectChanged);
    }

protected:
    void StepSourceRect(const ElementStep& step, const CPage& page, const kwvd::Rect&) override
    {
        this->PutSourceOnGrid(step, page);
        SnapToOneLine();
    }
};
