#pragma once
// A new document with the imaging toolkit (so that Image elements can be
// placed) and the pages an element adds, made without a sheet or widgets.

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/elements/ElementPages.h"
#include "designer/elements/FormElement.h"
#include "designer/views/pages/GeneralPropPage.h"
#include "tests/support/ImageDocFixture.h"
#include "tests/support/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// Takes the records an element hands out.
class RecordSink : public IElementPageSink
{
public:
    void AddPage(std::unique_ptr<CElementPageRecord> record) override { records.push_back(std::move(record)); }

    std::vector<std::unique_ptr<CElementPageRecord>> records;
};

class PageTest : public ::testing::Test
{
protected:
    PageTest() : image(env.WriteImage(env.Folder(QStringLiteral("images")), QStringLiteral("logo.bmp"), 64, 32)) {}

    CDesignerDoc& Doc() const { return *env.doc; }
    const CPage& Output() const { return *env.doc->GetOutputPage(); }

    // 1-based cells of the output page, right and bottom exclusive.
    kwvd::Rect Cells(int left, int top, int right, int bottom) const
    {
        const int cw = Output().GetCellWidth();
        const int ch = Output().GetCellHeight();
        return kwvd::Rect((left - 1) * cw, (top - 1) * ch, (right - 1) * cw, (bottom - 1) * ch);
    }

    // Made as a pane makes it: one change of its own.
    CFormElement* Make(int type, const kwvd::Rect& rect, CFormElement* anchor = nullptr, int side = PaneSide::Output)
    {
        if (type == FormElementType::Image)
            env.env.prompts->AnswerFile(image);
        CFormElement* element = nullptr;
        {
            CDocChangeGuard change(env.doc.get());
            element = Doc().CreateNewElement(type, side, rect, anchor);
        }
        // Only the page's own messages count.
        env.env.prompts->ClearRecorded();
        return element;
    }

    // The General page of the element, its dialog initialised as its view
    // would have it.
    static std::unique_ptr<CGeneralPropPage> GeneralPage(CFormElement* element)
    {
        RecordSink sink;
        element->AddPropertyPages(&sink);
        EXPECT_FALSE(sink.records.empty());
        auto* general = dynamic_cast<CGeneralPageRecord*>(sink.records.front().get());
        EXPECT_NE(general, nullptr);
        if (general == nullptr)
            return nullptr;
        sink.records.front().release();
        auto page = std::make_unique<CGeneralPropPage>(std::unique_ptr<CGeneralPageRecord>(general));
        page->OnInitDialog();
        return page;
    }

    // What the user typed into an edit, then the edit's notification.
    static void Type(CElementPropPage& page, int id, const QString& text,
                     PageNotification notification = PageNotification::Change)
    {
        page.Control(id).text = text;
        page.OnControlNotify(id, notification);
    }

    // The layout and the description history stay out of the user's store
    // and out of the tests running beside this one.
    ScopedRegistryFolder registry;
    imagetest::ImageDocEnvironment env;
    QString image;
};
