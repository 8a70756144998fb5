#include "tests/support/TextElementFixture.h"

#include "designer/document/APRTPDMRec.h"
#include "designer/elements/FormTextElement.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/JvxBytes.h"

#include <QImage>
#include <QPainter>

using kwvd::Rect;

namespace {

class TextElementTest : public TextElementFixture
{
protected:
    // Placed with one click at the cell, as the output pane does it.
    CFormTextElement* Place(int column, int line)
    {
        auto* element = static_cast<CFormTextElement*>(doc->CreateNewElement(
            FormElementType::Text, 2, OutputCells(column, line, column + 1, line + 1), nullptr));
        EXPECT_NE(element, nullptr);
        return element;
    }

    static void DrawOn(CFormElement& element)
    {
        QImage image(1000, 800, QImage::Format_RGB32);
        QPainter painter(&image);
        element.DrawDest(painter);
    }

    CAPRTPDMRec RecordOf(CFormTextElement& element)
    {
        CAPRTPDMRec record(doc.get());
        EXPECT_TRUE(element.ToRecord(record));
        return record;
    }
};

TEST_F(TextElementTest, BoxFollowsTheTextInItsFont)
{
    struct Case
    {
        const char* name;
        const char* text;
        int advance; // output pixels per character; 0 keeps the default font
        int widthAdjust;
        int columns; // of the box
    };
    // The cell is 10 pixels wide.
    const Case cases[] = {
        {"five letters in five cells", "TOTAL", 10, 0, 5},
        {"five letters measuring seven cells", "TOTAL", 14, 2, 7},
        {"no text is one cell wide", "", 10, 1, 1},
        {"no font measures nothing", "TOTAL", 0, 0, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int fontIndex = c.advance != 0 ? 1 : 0;
        if (fontIndex != 0)
            AddFixedFont(fontIndex, c.advance);
        CFormTextElement* e = Place(10, 5);
        ASSERT_NE(e, nullptr);
        e->SetText(QString::fromLatin1(c.text));
        e->SetFontIndex(fontIndex);
        DrawOn(*e);

        EXPECT_FALSE(e->NeedsFit());
        EXPECT_EQ(e->GetWidthAdjust(), c.widthAdjust);
        EXPECT_EQ(e->GetHeightAdjust(), 0);
        EXPECT_EQ(e->DestRect(), OutputCells(10, 5, 10 + c.columns, 6));
        if (qstrlen(c.text) == 0) {
            doc->DeleteElement(e, TRUE);
            continue;
        }
        // The record carries the text's own columns, without the adjust.
        CAPRTPDMRec record = RecordOf(*e);
        EXPECT_EQ(record.m_destFirstColumn.GetShort(), 10);
        EXPECT_EQ(record.m_destLastColumn.GetShort(), 10 + static_cast<int>(qstrlen(c.text)) - 1);
        EXPECT_EQ(record.m_destLine.GetShort(), 5);
        EXPECT_EQ(record.m_lineCount.GetShort(), 1);
        doc->DeleteElement(e, TRUE);
    }
}

TEST_F(TextElementTest, UndrawnTextIsFittedBeforeItsRecordIsWritten)
{
    AddFixedFont(1, 14);
    CFormTextElement* e = Place(10, 5);
    ASSERT_NE(e, nullptr);
    e->SetText(QStringLiteral("TOTAL"));
    e->SetFontIndex(1);
    ASSERT_TRUE(e->NeedsFit());

    const Bytes line = StoreJvx(28, [&](CJVXArchive& ar) { e->ExportJVX(ar); }, nullptr, doc.get());
    EXPECT_EQ(e->DestRect(), OutputCells(10, 5, 17, 6));

    JvxReader in(line, 28, nullptr, doc.get());
    CAPRTPDMRec record(doc.get());
    record.ExchangeJVX(in.Archive());
    ASSERT_TRUE(record.IsValid());
    EXPECT_EQ(record.m_opcode.GetValue(), QStringLiteral("MOVE"));
    EXPECT_EQ(record.m_data.GetValue(), QStringLiteral("TOTAL"));
    EXPECT_EQ(record.m_fontIndex.GetValue(), QStringLiteral("1"));
    EXPECT_EQ(record.m_destFirstColumn.GetShort(), 10);
    EXPECT_EQ(record.m_destLastColumn.GetShort(), 14);

    std::unique_ptr<CFormElement> read(record.CreateElement(in.Archive()));
    auto* text = dynamic_cast<CFormTextElement*>(read.get());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetText(), QStringLiteral("TOTAL"));
    EXPECT_EQ(text->GetFontIndex(), 1);
    EXPECT_TRUE(text->SourceRect().IsNull());
    text->FitDestToText();
    EXPECT_EQ(text->DestRect(), OutputCells(10, 5, 17, 6));
}

TEST_F(TextElementTest, AutomaticDescriptionFollowsTheText)
{
    CFormTextElement* e = Place(1, 1);
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->SetText(QStringLiteral("  Grand total  ")));
    EXPECT_EQ(e->GetDescription(), QStringLiteral("Grand total"));
    EXPECT_TRUE(e->IsAutoDescription());
    EXPECT_FALSE(e->SetText(QStringLiteral("  Grand total  ")));

    const QString longText(60, u'x');
    e->SetText(longText);
    EXPECT_EQ(e->GetDescription(), QString(50, u'x'));

    // Once the user named it, the text no longer does.
    CFormElement::SetDescription(QStringLiteral("Sum line"), e);
    e->SetAutoDescription(FALSE);
    e->SetText(QStringLiteral("TOTAL"));
    EXPECT_EQ(e->GetDescription(), QStringLiteral("Sum line"));
}

TEST_F(TextElementTest, FindAndReplaceCoverTheText)
{
    struct Case
    {
        const char* name;
        const char* description;
        const char* find;
        bool found;
        const char* text;        // after replacing with "SUB"
        const char* description2; // after replacing with "SUB"
    };
    // The text is "TOTAL DUE" in every row.
    const Case cases[] = {
        {"by the text alone", "Sum line", "TOT", true, "SUBAL DUE", "Sum line"},
        {"by the description alone", "Sum line", "Sum", true, "TOTAL DUE", "SUB line"},
        {"in both, both replaced", "TOTAL line", "TOTAL", true, "SUB DUE", "SUB line"},
        {"case counts", "Sum line", "tot", false, "TOTAL DUE", "Sum line"},
        {"nothing to find", "Sum line", "", false, "TOTAL DUE", "Sum line"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFormTextElement* e = Place(1, 1);
        ASSERT_NE(e, nullptr);
        e->SetText(QStringLiteral("TOTAL DUE"));
        e->SetAutoDescription(FALSE);
        CFormElement::SetDescription(QString::fromLatin1(c.description), e);
        const QString find = QString::fromLatin1(c.find);
        EXPECT_EQ(e->Find(find) != FALSE, c.found);
        EXPECT_EQ(e->Replace(find, QStringLiteral("SUB")) != FALSE, c.found);
        EXPECT_EQ(e->GetText(), QString::fromLatin1(c.text));
        EXPECT_EQ(e->GetDescription(), QString::fromLatin1(c.description2));
        doc->DeleteElement(e, TRUE);
    }
}

TEST_F(TextElementTest, ResizingOnlyRefits)
{
    CFormTextElement* e = Place(10, 5);
    ASSERT_NE(e, nullptr);
    e->SetText(QStringLiteral("TOTAL"));
    e->FitDestToText();
    const Rect before = e->DestRect();
    e->ResizeDest(50, 32, ElementMoveFlags::Right | ElementMoveFlags::Bottom, FALSE);
    EXPECT_EQ(e->DestRect(), before);
    EXPECT_TRUE(e->NeedsFit());
    DrawOn(*e);
    EXPECT_EQ(e->DestRect(), before);

    // An unselected element ignores a request meant for the selection.
    e->Select(FALSE);
    e->FitDestToText();
    e->ResizeDest(50, 32, ElementMoveFlags::Right | ElementMoveFlags::IfSelected, FALSE);
    EXPECT_FALSE(e->NeedsFit());
}

TEST_F(TextElementTest, WvdObjectByStoredSchema)
{
    AddFixedFont(2, 10);
    CFormTextElement* e = Place(3, 4);
    ASSERT_NE(e, nullptr);
    e->SetText(QStringLiteral("TOTAL"));
    e->SetFontIndex(2);
    TextPageData page;
    e->UpdatePage(page);
    page.alignToGrid = TRUE;
    e->ApplyPage(page, TextPageData::AlignToGrid);

    const Bytes bytes = Store([&](CArchive& ar) { e->Serialize(ar); });
    // The text as a wide archive string, then font index and align.
    const Bytes tail = Hex("FF FE FF 05 54 00 4F 00 54 00 41 00 4C 00 02 00 00 00 01 00 00 00");
    ASSERT_GE(bytes.size(), tail.size());
    EXPECT_EQ(Bytes(bytes.end() - static_cast<std::ptrdiff_t>(tail.size()), bytes.end()), tail);

    CFormTextElement current;
    Load(bytes, [&](CArchive& ar) {
        ar.m_pDocument = doc.get();
        current.Serialize(ar);
    });
    EXPECT_EQ(current.GetText(), QStringLiteral("TOTAL"));
    EXPECT_EQ(current.GetFontIndex(), 2);
    EXPECT_TRUE(current.GetAlignToGrid());
    EXPECT_TRUE(current.SourceRect().IsNull());
    EXPECT_EQ(current.DestRect(), OutputCells(3, 4, 8, 5));

    // Schema 4 objects end after the font index.
    CFormTextElement schema4;
    Load(Bytes(bytes.begin(), bytes.end() - 4), [&](CArchive& ar) {
        ar.m_pDocument = doc.get();
        ar.SetObjectSchema(4);
        schema4.Serialize(ar);
    });
    EXPECT_EQ(schema4.GetText(), QStringLiteral("TOTAL"));
    EXPECT_FALSE(schema4.GetAlignToGrid());

    CFormTextElement broken;
    EXPECT_THROW(Load(Bytes(bytes.begin(), bytes.end() - 12),
                      [&](CArchive& ar) {
                          ar.m_pDocument = doc.get();
                          broken.Serialize(ar);
                      }),
                 CArchiveException);
}

TEST_F(TextElementTest, PagesApplyInOrder)
{
    AddFixedFont(4, 10);
    CFormTextElement* e = Place(1, 1);
    ASSERT_NE(e, nullptr);
    TextPageData page;
    EXPECT_FALSE(e->UpdatePage(page));
    page.text = QStringLiteral("DUE");
    page.fontIndex = 4;
    EXPECT_TRUE(e->ApplyPage(page, TextPageData::Text | TextPageData::Font));
    EXPECT_EQ(e->GetText(), QStringLiteral("DUE"));
    EXPECT_EQ(e->GetFontIndex(), 4);
    EXPECT_FALSE(e->ApplyPage(page, TextPageData::Text | TextPageData::Font));
    // Bits not asked for are left alone.
    page.text = QStringLiteral("ignored");
    EXPECT_FALSE(e->ApplyPage(page, TextPageData::Font));
    EXPECT_EQ(e->GetText(), QStringLiteral("DUE"));
}

} // namespace
