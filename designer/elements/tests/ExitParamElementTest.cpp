#include "designer/document/Page.h"
#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/FormExitParamElement.h"
#include "designer/resources/fonts/AS400Font.h"
#include "designer/resources/fonts/FontManager.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/JvxBytes.h"

#include "ElementTestKinds.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using kwvd::Rect;

class ExitParamTest : public ElementDocFixture
{
protected:
    void SetUp() override
    {
        ElementDocFixture::SetUp();
        cw = doc->GetSourcePage()->GetCellWidth();
        ch = doc->GetSourcePage()->GetCellHeight();
        ASSERT_EQ(cw, doc->GetOutputPage()->GetCellWidth());
        ASSERT_EQ(ch, doc->GetOutputPage()->GetCellHeight());
    }

    Rect Cells(int left, int top, int right, int bottom) const
    {
        return Rect((left - 1) * cw, (top - 1) * ch, (right - 1) * cw, (bottom - 1) * ch);
    }

    CFormExitParamElement* Make(int side, const Rect& rect = {})
    {
        auto* element = doc->CreateNewElement(FormElementType::ExitParam, side, rect, nullptr);
        return dynamic_cast<CFormExitParamElement*>(element);
    }

    // A position parameter at columns 3 to 7 of line 4 whose return value
    // is printed at the same place.
    CFormExitParamElement* MakePrinting()
    {
        CFormExitParamElement* param = Make(PaneSide::Input, Cells(3, 4, 8, 5));
        EXPECT_NE(param, nullptr);
        param->SetIgnoreReturn(FALSE);
        return param;
    }

    // The record the element writes, read back as the host file would be.
    std::unique_ptr<CAPRTPDMRec> WriteRecord(CFormElement& element)
    {
        const Bytes line = StoreJvx(
            28, [&](CJVXArchive& ar) { element.ExportJVX(ar); }, nullptr, doc.get());
        JvxReader in(line, 28, nullptr, doc.get());
        auto record = std::make_unique<CAPRTPDMRec>(doc.get());
        record->ExchangeJVX(in.Archive());
        EXPECT_TRUE(record->IsValid());
        return record;
    }

    static Bytes ObjectHeader(int schema)
    {
        return Hex("FF FF") + Word(schema) + Word(21) + Ascii("CFormExitParamElement");
    }

    // Base part of an element without description at line 2, columns 3 to 5
    // on both sides, no offset.
    static Bytes BasePart(int schema)
    {
        Bytes bytes = Hex("FF FE FF 00") + Word(3) + Word(2) + Word(6) + Word(3) + Word(3) + Word(2) + Word(6) + Word(3)
                      + Word(0) + Word(0);
        if (schema > 3)
            bytes = bytes + Long(0) + Long(0);
        if (schema >= 3)
            bytes = bytes + Long(0) + Long(0) + Word(1);
        return bytes;
    }

    CFormExitParamElement* LoadObject(const Bytes& bytes)
    {
        CFormExitParamElement* element = nullptr;
        Load(bytes, [&](CArchive& ar) {
            ar.m_pDocument = doc.get();
            element = ar.ReadObject<CFormExitParamElement>();
        });
        return element;
    }

    int cw = 0;
    int ch = 0;
};

TEST_F(ExitParamTest, NewElementsByWhereTheyWereMade)
{
    CFormExitParamElement* inserted = Make(0);
    ASSERT_NE(inserted, nullptr);
    EXPECT_TRUE(inserted->GetUseData());
    EXPECT_TRUE(inserted->GetIgnoreReturn());
    EXPECT_EQ(inserted->GetParamNumber(), 1);
    EXPECT_EQ(inserted->GetDescription(), QStringLiteral("PARM1  "));
    EXPECT_TRUE(inserted->GetDestRect().IsNull());
    EXPECT_EQ(inserted->HitTestDest(QPoint(1, 1)), nullptr);
    // Even without a drawn rectangle it has a cell to be positioned from.
    EXPECT_EQ(inserted->SourceRect(), Cells(1, 1, 2, 2));

    // Drawn over two and a half lines: one line, snapped to the nearest cells.
    CFormExitParamElement* drawn = Make(PaneSide::Input, Rect(2 * cw + 2, ch + 1, 7 * cw - 3, 3 * ch + ch / 2));
    ASSERT_NE(drawn, nullptr);
    EXPECT_FALSE(drawn->GetUseData());
    EXPECT_EQ(drawn->GetDescription(), QStringLiteral("PARM1"));
    EXPECT_EQ(drawn->SourceRect(), Cells(3, 2, 8, 3));
    EXPECT_EQ(drawn->DestRect(), Cells(3, 2, 8, 3));
    EXPECT_EQ(drawn->GetGeneralPageDisableMask(), 15);
}

TEST_F(ExitParamTest, ParameterNumberAndDescription)
{
    CFormExitParamElement* param = Make(0);
    ASSERT_NE(param, nullptr);
    struct Case
    {
        const char* name;
        int number;
        BOOL accepted;
        int expected;
    };
    const Case cases[] = {
        {"seven is refused", 7, FALSE, 1}, {"three", 3, TRUE, 3},           {"the same again", 3, FALSE, 3},
        {"zero is a number", 0, TRUE, 0},  {"six is the last", 6, TRUE, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(param->SetParamNumber(c.number), c.accepted);
        EXPECT_EQ(param->GetParamNumber(), c.expected);
    }

    param->SetParamNumber(3);
    EXPECT_TRUE(param->SetData(QStringLiteral("ABC")));
    EXPECT_EQ(param->GetDescription(), QStringLiteral("PARM3  ABC"));
    // The description keeps within 50 characters; the data stays whole.
    param->SetData(QString(60, u'x'));
    EXPECT_EQ(param->GetDescription().size(), 50);
    EXPECT_EQ(param->GetData().size(), 60);
    // A position parameter shows no data.
    param->SetUseData(FALSE);
    param->SetParamNumber(2);
    EXPECT_EQ(param->GetDescription(), QStringLiteral("PARM2"));
    // A typed description stays.
    CFormElement::SetDescription(QStringLiteral("Customer"), param);
    param->SetAutoDescription(FALSE);
    param->SetParamNumber(4);
    EXPECT_EQ(param->GetDescription(), QStringLiteral("Customer"));
}

TEST_F(ExitParamTest, IgnoringTheReturnValueTakesTheDestinationAway)
{
    CFormExitParamElement* param = MakePrinting();
    const Rect dest = Cells(3, 4, 8, 5);
    EXPECT_EQ(param->GetDestRect(), dest);
    EXPECT_EQ(param->HitTestDest(QPoint(dest.left, dest.top)), param);
    EXPECT_EQ(param->GetGeneralPageDisableMask(), 2);

    EXPECT_FALSE(param->SetIgnoreReturn(FALSE));
    recorder.hints.clear();
    EXPECT_TRUE(param->SetIgnoreReturn(TRUE));
    EXPECT_EQ(recorder.HintNumbers(),
              (std::vector<LPARAM>{DocumentHint::DestRectChanged, DocumentHint::SelectionChanged}));
    EXPECT_TRUE(param->GetDestRect().IsNull());
    EXPECT_EQ(param->HitTestDest(QPoint(dest.left, dest.top)), nullptr);
    // Destination operations do nothing.
    param->MoveDest(cw, 0, ElementMoveFlags::Left, FALSE);
    param->ResizeDest(cw, 0, ElementMoveFlags::Right, FALSE);
    EXPECT_EQ(param->DestRect(), dest);
    EXPECT_TRUE(param->GetFollowsSource());

    const std::unique_ptr<CAPRTPDMRec> record = WriteRecord(*param);
    EXPECT_EQ(record->m_opcode.GetValue(), QStringLiteral("PARM"));
    EXPECT_TRUE(record->m_destSign.GetValue().isEmpty());
    EXPECT_EQ(record->m_destLine.GetShort(), 0);
    EXPECT_EQ(record->m_destFirstColumn.GetShort(), 0);
    EXPECT_EQ(record->m_destLastColumn.GetShort(), 0);
    EXPECT_EQ(record->m_sourceLine.GetShort(), 4);

    // The destination comes back where it was.
    EXPECT_TRUE(param->SetIgnoreReturn(FALSE));
    EXPECT_EQ(param->GetDestRect(), dest);
}

TEST_F(ExitParamTest, DestinationFollowsTheSourceUntilMovedAlone)
{
    struct Case
    {
        const char* name;
        bool ignore;
        bool unlinkFirst;
        int expectedDestShift; // cells
    };
    const Case cases[] = {
        {"linked", false, false, 1},
        {"moved alone before", false, true, 0},
        {"return value ignored", true, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFormExitParamElement* param = MakePrinting();
        param->SetIgnoreReturn(c.ignore ? TRUE : FALSE);
        if (c.unlinkFirst) {
            param->MoveDest(0, ch, ElementMoveFlags::Top, FALSE);
            param->MoveDest(0, -ch, ElementMoveFlags::Top, FALSE);
            EXPECT_FALSE(param->GetFollowsSource());
        }
        const Rect dest = param->DestRect();
        param->MoveSource(cw, 0, ElementMoveFlags::Left, FALSE);
        EXPECT_EQ(param->SourceRect(), Cells(4, 4, 9, 5));
        Rect expected = dest;
        expected.Offset(c.expectedDestShift * cw, 0);
        EXPECT_EQ(param->DestRect(), expected);
        EXPECT_EQ(param->GetFollowsSource(), c.unlinkFirst ? FALSE : TRUE);
    }
}

TEST_F(ExitParamTest, ResizesKeepBothSidesOneLineHigh)
{
    CFormExitParamElement* param = MakePrinting();
    param->ResizeSource(2 * cw, 3 * ch, ElementMoveFlags::Right | ElementMoveFlags::Bottom, TRUE);
    EXPECT_EQ(param->SourceRect(), Cells(3, 4, 5, 5));
    EXPECT_EQ(param->DestRect(), Cells(3, 4, 5, 5));
    EXPECT_TRUE(param->GetFollowsSource());

    param->ResizeDest(4 * cw, 0, ElementMoveFlags::Right, TRUE);
    EXPECT_EQ(param->DestRect(), Cells(3, 4, 7, 5));
    EXPECT_FALSE(param->GetFollowsSource());
}

TEST_F(ExitParamTest, SelectionRepaintsTheSideThatIsShown)
{
    struct Case
    {
        const char* name;
        BOOL ignore;
        LPARAM hint;
    };
    const Case cases[] = {
        {"return value ignored", TRUE, DocumentHint::SourceRectChanged},
        {"return value printed", FALSE, DocumentHint::ElementChanged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFormExitParamElement* param = MakePrinting();
        param->SetIgnoreReturn(c.ignore);
        recorder.hints.clear();
        EXPECT_TRUE(param->Select(TRUE));
        EXPECT_FALSE(param->Select(TRUE));
        EXPECT_TRUE(param->Select(FALSE));
        EXPECT_EQ(recorder.HintNumbers(), (std::vector<LPARAM>{c.hint, c.hint, c.hint}));
    }
}

TEST_F(ExitParamTest, RecordFieldsByKind)
{
    CFormExitParamElement* data = Make(0);
    data->SetParamNumber(2);
    data->SetData(QStringLiteral("abc"));
    data->SetAlignToGrid(TRUE);
    const std::unique_ptr<CAPRTPDMRec> record = WriteRecord(*data);
    EXPECT_EQ(record->m_data.GetValue(), QStringLiteral("abc"));
    EXPECT_TRUE(record->m_sourceSign.GetValue().isEmpty());
    EXPECT_EQ(record->m_sourceLine.GetShort(), 0);
    EXPECT_EQ(record->m_sourceFirstColumn.GetShort(), 0);
    EXPECT_EQ(record->m_sourceLastColumn.GetShort(), 0);
    EXPECT_EQ(record->m_lineCount.GetShort(), 0);
    EXPECT_EQ(record->m_paramNumber.GetShort(), 2);
    EXPECT_EQ(record->m_flag.GetValue(), QStringLiteral("1"));
    EXPECT_TRUE(record->m_fontIndex.GetValue().isEmpty());
}

TEST_F(ExitParamTest, RecordsAreReadBack)
{
    struct Case
    {
        const char* name;
        const char* data;
        int destLine;
        int number;
        const char* flag;
        const char* font;
        BOOL useData;
        BOOL ignore;
        int expectedNumber;
        BOOL align;
        const char* description;
    };
    const Case cases[] = {
        {"ignored, number refused", "", 0, 9, "", "", FALSE, TRUE, 0, FALSE, ""},
        {"data parameter printed", "XYZ", 6, 4, "1", "", TRUE, FALSE, 4, TRUE, "PARM4  XYZ"},
        {"font digit out of range", "", 2, 1, "", "Z", FALSE, FALSE, 1, FALSE, "PARM1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CAPRTPDMRec record(doc.get());
        record.m_opcode.SetValue(QStringLiteral("PARM"));
        record.m_data.SetValue(QString::fromLatin1(c.data));
        record.m_sourceLine.SetValue(3);
        record.m_sourceFirstColumn.SetValue(5);
        record.m_sourceLastColumn.SetValue(9);
        record.m_lineCount.SetValue(2);
        record.m_destLine.SetValue(c.destLine);
        record.m_destFirstColumn.SetValue(5);
        record.m_destLastColumn.SetValue(9);
        record.m_paramNumber.SetValue(c.number);
        record.m_flag.SetValue(QString::fromLatin1(c.flag));
        record.m_fontIndex.SetValue(QString::fromLatin1(c.font));
        CFormExitParamElement param(record);
        EXPECT_EQ(param.GetUseData(), c.useData);
        EXPECT_EQ(param.GetIgnoreReturn(), c.ignore);
        EXPECT_EQ(param.GetParamNumber(), c.expectedNumber);
        EXPECT_EQ(param.GetAlignToGrid(), c.align);
        EXPECT_EQ(param.GetFontIndex(), 0);
        EXPECT_EQ(param.GetDescription(), QString::fromLatin1(c.description));
        // Two lines in the record, one line in the element.
        EXPECT_EQ(param.SourceRect(), Cells(5, 3, 10, 4));
    }
}

// A data parameter's record has no source position; read back it passes
// data again even before any data was given, and writes the same line.
TEST_F(ExitParamTest, DataParameterRecordsReadBackAsData)
{
    const char16_t* const texts[] = {u"", u"XYZ"};
    for (const char16_t* text : texts) {
        SCOPED_TRACE(QString::fromUtf16(text).toStdString());
        CFormExitParamElement* param = Make(0, Cells(3, 4, 8, 5));
        ASSERT_NE(param, nullptr);
        ASSERT_TRUE(param->GetUseData());
        param->SetData(QString::fromUtf16(text));
        const Bytes first = StoreJvx(
            18, [&](CJVXArchive& ar) { param->ExportJVX(ar); }, nullptr, doc.get());
        doc->DeleteElement(param, FALSE);
        ASSERT_GE(first.size(), 20u);
        EXPECT_EQ(std::string(first.begin() + 10, first.begin() + 20), " 000000000");

        JvxReader in(first, 18, nullptr, doc.get());
        CAPRTPDMRec record(doc.get());
        record.ExchangeJVX(in.Archive());
        std::unique_ptr<CFormElement> read(record.CreateElement(in.Archive()));
        auto* back = dynamic_cast<CFormExitParamElement*>(read.get());
        ASSERT_NE(back, nullptr);
        EXPECT_TRUE(back->GetUseData());
        EXPECT_TRUE(back->GetIgnoreReturn());
        EXPECT_EQ(back->GetData(), QString::fromUtf16(text));
        EXPECT_EQ(StoreJvx(
                      18, [&](CJVXArchive& ar) { back->ExportJVX(ar); }, nullptr, doc.get()),
                  first);
    }
}

TEST_F(ExitParamTest, RecordRoundTripThroughTheArchive)
{
    CFormExitParamElement* param = MakePrinting();
    param->SetParamNumber(5);
    param->MoveDest(0, 2 * ch, ElementMoveFlags::Top, FALSE);
    const Bytes line = StoreJvx(
        28, [&](CJVXArchive& ar) { param->ExportJVX(ar); }, nullptr, doc.get());
    JvxReader in(line, 28, nullptr, doc.get());
    CAPRTPDMRec record(doc.get());
    record.ExchangeJVX(in.Archive());
    ASSERT_EQ(record.GetType(), FormElementType::ExitParam);
    std::unique_ptr<CFormElement> read(record.CreateElement(in.Archive()));
    auto* back = dynamic_cast<CFormExitParamElement*>(read.get());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetParamNumber(), 5);
    EXPECT_FALSE(back->GetUseData());
    EXPECT_FALSE(back->GetIgnoreReturn());
    EXPECT_EQ(back->SourceRect(), Cells(3, 4, 8, 5));
    EXPECT_EQ(back->DestRect(), Cells(3, 6, 8, 7));
}

TEST_F(ExitParamTest, WvdObjectIsWrittenFieldByField)
{
    CAPRTPDMRec record(doc.get());
    record.m_opcode.SetValue(QStringLiteral("PARM"));
    record.m_sourceLine.SetValue(2);
    record.m_sourceFirstColumn.SetValue(3);
    record.m_sourceLastColumn.SetValue(5);
    record.m_lineCount.SetValue(1);
    record.m_destLine.SetValue(2);
    record.m_destFirstColumn.SetValue(3);
    record.m_destLastColumn.SetValue(5);
    record.m_paramNumber.SetValue(2);
    record.m_data.SetValue(QStringLiteral("AB"));
    record.m_flag.SetValue(QStringLiteral("1"));
    CFormExitParamElement source(record);
    const Bytes stored = Store([&](CArchive& ar) { ar.WriteObject(&source); });
    const Bytes expected = ObjectHeader(20) + Text(u"PARM2  AB") + Word(3) + Word(2) + Word(6) + Word(3) + Word(3)
                           + Word(2) + Word(6) + Word(3) + Word(0) + Word(0) + Long(0) + Long(0) + Long(0) + Long(0)
                           + Word(1)
                           // follows, font, align, number, data, use data, ignore
                           + Word(1) + Long(0) + Long(1) + Long(2) + Text(u"AB") + Word(1) + Word(0);
    EXPECT_EQ(stored, expected);

    std::unique_ptr<CFormExitParamElement> back(LoadObject(stored));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetParamNumber(), 2);
    EXPECT_EQ(back->GetData(), QStringLiteral("AB"));
    EXPECT_TRUE(back->GetUseData());
    EXPECT_FALSE(back->GetIgnoreReturn());
    EXPECT_TRUE(back->GetAlignToGrid());
    EXPECT_EQ(back->SourceRect(), Cells(3, 2, 6, 3));
}

TEST_F(ExitParamTest, OlderWvdSchemasLeaveLaterFieldsAtTheirDefaults)
{
    struct Case
    {
        const char* name;
        int schema;
        Bytes own;
        int number;
        const char16_t* data;
        BOOL useData;
        BOOL ignore;
        BOOL align;
    };
    const Case cases[] = {
        {"schema 4", 4, Word(1) + Long(0), 1, u"", FALSE, FALSE, FALSE},
        {"schema 5", 5, Word(1) + Long(0) + Long(1), 1, u"", FALSE, FALSE, TRUE},
        {"schema 8", 8, Word(1) + Long(0) + Long(0) + Long(3) + Text(u"Q") + Word(1), 3, u"Q", TRUE, FALSE, FALSE},
        {"schema 10", 10, Word(0) + Long(0) + Long(0) + Long(6) + Text(u"") + Word(0) + Word(1), 6, u"", FALSE, TRUE,
         FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<CFormExitParamElement> param(LoadObject(ObjectHeader(c.schema) + BasePart(c.schema) + c.own));
        ASSERT_NE(param, nullptr);
        EXPECT_EQ(param->GetParamNumber(), c.number);
        EXPECT_EQ(param->GetData(), QString::fromUtf16(c.data));
        EXPECT_EQ(param->GetUseData(), c.useData);
        EXPECT_EQ(param->GetIgnoreReturn(), c.ignore);
        EXPECT_EQ(param->GetAlignToGrid(), c.align);
    }
}

TEST_F(ExitParamTest, TruncatedWvdObjectIsAnArchiveError)
{
    const Bytes whole = ObjectHeader(20) + BasePart(20) + Word(1) + Long(0) + Long(0) + Long(2) + Text(u"AB");
    const Bytes cut(whole.begin(), whole.end() - 3);
    EXPECT_THROW(LoadObject(cut), CArchiveException);
}

TEST_F(ExitParamTest, FontUsersFollowTheElement)
{
    CFontManager* fonts = doc->GetOutputPage()->GetFontManager();
    ASSERT_NE(fonts, nullptr);
    CAS400Font font;
    fonts->GetFontList().SetPrimaryFont(3, &font);
    {
        CFormExitParamElement* param = MakePrinting();
        EXPECT_TRUE(param->SetFontIndex(3));
        EXPECT_EQ(param->GetFontIndex(), 3);
        const std::unique_ptr<CAPRTPDMRec> record = WriteRecord(*param);
        EXPECT_EQ(record->m_fontIndex.GetValue(), QStringLiteral("3"));
        doc->DeleteElement(param, TRUE);
    }
    // Its last user gone, the index is free again.
    EXPECT_EQ(fonts->GetFontList().GetHolder(3), nullptr);
}

TEST_F(ExitParamTest, FindAndReplaceCoverTheData)
{
    CFormExitParamElement* param = Make(0);
    param->SetData(QStringLiteral("ORDER"));
    EXPECT_TRUE(param->Find(QStringLiteral("RDE")));
    EXPECT_FALSE(param->Find(QStringLiteral("rde")));
    EXPECT_TRUE(param->Replace(QStringLiteral("ORD"), QStringLiteral("INV")));
    EXPECT_EQ(param->GetData(), QStringLiteral("INVER"));
    EXPECT_EQ(param->GetDescription(), QStringLiteral("PARM1  INVER"));
    EXPECT_FALSE(param->Replace(QStringLiteral("none"), QStringLiteral("x")));
}

TEST_F(ExitParamTest, PageDataIsAppliedInOrder)
{
    CFormExitParamElement* param = Make(0);
    ExitParamPageData page;
    EXPECT_TRUE(param->UpdatePageData(page));
    EXPECT_FALSE(param->UpdatePageData(page));
    EXPECT_TRUE(page.useData);
    EXPECT_EQ(page.paramNumber, 1);

    page.column = 10;
    page.line = 7;
    page.width = 4;
    page.paramNumber = 5;
    EXPECT_TRUE(param->ApplyPageData(page, ExitParamPageBits::Position | ExitParamPageBits::Width
                                               | ExitParamPageBits::ParamNumber));
    EXPECT_FALSE(param->GetUseData());
    EXPECT_EQ(param->SourceRect(), Cells(10, 7, 14, 8));
    EXPECT_EQ(param->GetParamNumber(), 5);

    page.data = QStringLiteral("K");
    page.ignoreReturn = FALSE;
    EXPECT_TRUE(param->ApplyPageData(page, ExitParamPageBits::Data | ExitParamPageBits::IgnoreReturn));
    EXPECT_TRUE(param->GetUseData());
    EXPECT_FALSE(param->GetIgnoreReturn());
    EXPECT_EQ(param->GetDescription(), QStringLiteral("PARM5  K"));
    EXPECT_EQ(param->GetGeneralPageDisableMask(), 2);
    // While the return value was ignored the destination stayed where it was.
    EXPECT_EQ(param->DestRect(), Cells(1, 1, 2, 2));
}

} // namespace
