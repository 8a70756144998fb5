#pragma once
// A document for the text-carrying element kinds: a spooled-file page with
// known text on the source side and fixed-pitch host fonts in the output
// page's font list.

#include "designer/elements/tests/ElementTestKinds.h"

#include "designer/document/Page.h"
#include "designer/document/SpooledFile.h"
#include "designer/resources/fonts/AS400Font.h"
#include "designer/resources/fonts/FontManager.h"
#include "platform/framework/Collections.h"

#include <initializer_list>
#include <memory>

class TextElementFixture : public ElementDocFixture
{
protected:
    // The rectangle of 1-based cells on a page, right and bottom exclusive.
    static kwvd::Rect Cells(const CPage& page, int left, int top, int right, int bottom)
    {
        const int cw = page.GetCellWidth();
        const int ch = page.GetCellHeight();
        return kwvd::Rect((left - 1) * cw, (top - 1) * ch, (right - 1) * cw, (bottom - 1) * ch);
    }
    kwvd::Rect SourceCells(int left, int top, int right, int bottom) const
    {
        return Cells(*doc->GetSourcePage(), left, top, right, bottom);
    }
    kwvd::Rect OutputCells(int left, int top, int right, int bottom) const
    {
        return Cells(*doc->GetOutputPage(), left, top, right, bottom);
    }

    // Lines 1, 2, ... of page 1; element 0 of a page is never a line.
    void SetSpooledPage(std::initializer_list<const char*> lines)
    {
        auto* page = new CStringArray;
        page->Add(QString());
        for (const char* line : lines)
            page->Add(QString::fromLatin1(line));
        ASSERT_NE(doc->GetSpooledFile(), nullptr);
        ASSERT_TRUE(doc->GetSpooledFile()->SetPage(page, 1));
    }

    CFontManager& OutputFonts() const { return *doc->GetOutputPage()->GetFontManager(); }

    // A fixed-pitch font whose characters advance `advance` output pixels,
    // put at the index.
    CAS400Font* AddFixedFont(int index, int advance)
    {
        // 1000 font units show as 72 pixels.
        const DWORD width = static_cast<DWORD>(advance * 1000 / 72 + 1);
        auto font = std::make_unique<CAS400Font>(QStringLiteral("C0S0CR10"), QStringLiteral("T1V10037"), 11, 37, 0,
                                                 CAS400Font::FF_MODERN, QStringLiteral("Courier"), width, 120, FALSE,
                                                 FALSE, FALSE, FALSE, QStringLiteral("QFNTCPL"), QString(), FALSE);
        font->GetCharWidths(1);
        EXPECT_EQ(font->GetCharWidthTable().front(), advance);
        OutputFonts().GetFontList().SetPrimaryFont(index, font.get());
        fonts.push_back(std::move(font));
        return fonts.back().get();
    }

    void TearDown() override
    {
        // The elements leave their fonts before the records go.
        ElementDocFixture::TearDown();
        fonts.clear();
    }

    std::vector<std::unique_ptr<CAS400Font>> fonts;
};
