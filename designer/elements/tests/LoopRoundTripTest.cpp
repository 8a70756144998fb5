#include "designer/document/Page.h"
#include "designer/elements/FormLoopElement.h"
#include "designer/elements/FormTextElement.h"
#include "tests/support/ArchiveBytes.h"

#include "ElementTestKinds.h"

#include <gtest/gtest.h>

#include <QSize>

namespace {

using kwvd::Rect;

// A Loop holding a Text element travels through its WVD object form: what
// a load brings back must store to the very same bytes, and both boxes of
// the Loop must come back where they were.
class LoopRoundTripTest : public ElementDocFixture
{
protected:
    void TearDown() override
    {
        doc->m_serialising = FALSE;
        ElementDocFixture::TearDown();
    }

    CFormLoopElement* AddLoopWithText(const Rect& box, int mode)
    {
        auto* loop = static_cast<CFormLoopElement*>(doc->CreateNewElement(FormElementType::Loop, 0, box, nullptr));
        EXPECT_NE(loop, nullptr);
        if (loop == nullptr)
            return nullptr;
        if (loop->SetLoopMode(mode))
            loop->ArrangeRects();
        auto* text = static_cast<CFormTextElement*>(doc->CreateNewElement(FormElementType::Text, 0, box, loop));
        EXPECT_NE(text, nullptr);
        if (text != nullptr)
            text->SetText(QStringLiteral("Total"));
        EXPECT_EQ(loop->GetChildCount(), 1);
        return loop;
    }

    Bytes StoreLoop(CFormLoopElement* loop)
    {
        return Store([&](CArchive& ar) {
            ar.m_pDocument = doc.get();
            ar.WriteObject(loop);
        });
    }

    CFormLoopElement* LoadLoop(const Bytes& bytes)
    {
        CFormLoopElement* loop = nullptr;
        Load(bytes, [&](CArchive& ar) {
            ar.m_pDocument = doc.get();
            loop = ar.ReadObject<CFormLoopElement>();
        });
        // A top-level element joins the document as the document's load does.
        if (loop != nullptr)
            doc->AddElement(loop, FALSE, nullptr);
        return loop;
    }
};

TEST_F(LoopRoundTripTest, StoreLoadStoreGivesTheSameBytesInEveryMode)
{
    struct Case
    {
        const char* name;
        int mode;
        Rect box;
        QSize inputPage;   // pixels; empty for the page a new document has
        bool outputCutsIt; // the output page's bottom ends the output block first
    };
    // Cells of 10 x 16 on both pages; a new document's pages end part-way
    // through a line, and a short spooled file makes a short input page.
    const Case cases[] = {
        {"fixed height, on the grid", LoopMode::FixedHeight, Rect(8, 16, 80, 48), {}, false},
        {"fixed height, off the grid", LoopMode::FixedHeight, Rect(13, 19, 77, 62), {}, false},
        {"fixed height, taller than the input page", LoopMode::FixedHeight, Rect(8, 16, 80, 48), QSize(180, 20), false},
        {"fixed height, past the page bottom", LoopMode::FixedHeight, Rect(0, 1088, 40, 1168), {}, true},
        {"fixed height, page bottom past half a line", LoopMode::FixedHeight, Rect(0, 1088, 40, 1168), QSize(827, 1130),
         true},
        {"to the page end", LoopMode::ToPageEnd, Rect(8, 16, 80, 48), {}, false},
        {"to the page end, page bottom past half a line", LoopMode::ToPageEnd, Rect(8, 16, 80, 48), QSize(827, 1130),
         false},
        {"to the document end", LoopMode::ToDocumentEnd, Rect(8, 32, 80, 80), QSize(180, 40), false},
    };
    CPage* input = doc->GetSourcePage();
    ASSERT_EQ(input->GetCellHeight(), 16);
    ASSERT_EQ(doc->GetOutputPage()->GetCellHeight(), 16);
    const QSize newPage(input->GetPixelWidth(), input->GetPixelHeight());
    doc->m_serialising = TRUE;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QSize page = c.inputPage.isEmpty() ? newPage : c.inputPage;
        input->SetPixelSize(page.width(), page.height());
        CFormLoopElement* loop = AddLoopWithText(c.box, c.mode);
        ASSERT_NE(loop, nullptr);
        const Rect source = loop->SourceRect();
        const Rect dest = loop->DestRect();
        if (c.mode == LoopMode::FixedHeight && !c.outputCutsIt) {
            EXPECT_EQ(dest.bottom - dest.top, source.bottom - source.top) << "as many output lines as input lines";
        }

        const Bytes first = StoreLoop(loop);
        CFormLoopElement* read = LoadLoop(first);
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(read->GetLoopMode(), c.mode);
        EXPECT_EQ(read->GetChildCount(), 1);
        EXPECT_EQ(read->SourceRect(), source);
        EXPECT_EQ(read->DestRect(), dest);
        EXPECT_EQ(StoreLoop(read), first);

        doc->DeleteElement(read, TRUE);
        doc->DeleteElement(loop, TRUE);
    }
}

} // namespace
