#pragma once
// The kind's own page (page 1) of an element, made as the sheet makes it
// and initialised as its view would, and the input page's cells.

#include "designer/views/pages/DataPositionBlock.h"
#include "designer/views/pages/tests/PageTestFixture.h"

#include <memory>

class DataPositionPageTest : public PageTest
{
public:
    template <class Page>
    static std::unique_ptr<Page> KindPage(CFormElement* element)
    {
        RecordSink sink;
        element->AddPropertyPages(&sink);
        EXPECT_EQ(sink.records.size(), 2u);
        if (sink.records.size() < 2)
            return nullptr;
        auto page = std::make_unique<Page>(std::move(sink.records[1]));
        page->OnInitDialog();
        return page;
    }

protected:
    const CPage& Input() const { return *env.doc->GetSourcePage(); }

    // 1-based cells of the input page, right and bottom exclusive.
    kwvd::Rect SourceCells(int left, int top, int right, int bottom) const
    {
        const int cw = Input().GetCellWidth();
        const int ch = Input().GetCellHeight();
        return kwvd::Rect((left - 1) * cw, (top - 1) * ch, (right - 1) * cw, (bottom - 1) * ch);
    }

    // What the user clicked.
    static void Click(CElementPropPage& page, int id)
    {
        if (id == 0)
            return;
        page.Control(id).check = 1;
        page.OnControlNotify(id, PageNotification::Clicked);
    }

    static bool Enabled(const CElementPropPage& page, int id)
    {
        const DialogControlState* state = page.FindControl(id);
        return state != nullptr && state->enabled;
    }
};
