#include "tests/support/TextElementFixture.h"

#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/elements/FormBarcodeElement.h"
#include "designer/resources/barcodes/Barcode.h"
#include "designer/resources/barcodes/BarcodeManager.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/JvxBytes.h"

#include <QImage>
#include <QPainter>

using kwvd::Rect;

namespace {

class BarcodeElementTest : public TextElementFixture
{
protected:
    CBarcodeManager& Barcodes() const { return *doc->GetBarcodeManager(); }

    // Named definitions in slots 0 .. count - 1, as a "#C" section leaves
    // them; the first user keeps each alive.
    void AddDefinitions(int count)
    {
        for (int i = 0; i < count; ++i)
            ASSERT_EQ(Barcodes().Add(CBarcode(QStringLiteral("BC%1").arg(i))), i);
    }

    CFormBarcodeElement* Draw(const Rect& rect)
    {
        auto* element = static_cast<CFormBarcodeElement*>(
            doc->CreateNewElement(FormElementType::Barcode, PaneSide::Input, rect, nullptr));
        EXPECT_NE(element, nullptr);
        return element;
    }

    // The record written as a line and read back, as the importer meets it.
    CFormElement* ReadRecord(CAPRTPDMRec& written)
    {
        const Bytes line = StoreJvx(28, [&](CJVXArchive& ar) { written.ExchangeJVX(ar); });
        JvxReader in(line, 28, nullptr, doc.get());
        CAPRTPDMRec record(doc.get());
        record.ExchangeJVX(in.Archive());
        EXPECT_TRUE(record.IsValid());
        CFormElement* element = record.CreateElement(in.Archive());
        if (element != nullptr)
            doc->AddElement(element, TRUE, nullptr);
        return element;
    }

    CAPRTPDMRec RecordOf(CFormElement& element)
    {
        CAPRTPDMRec record(doc.get());
        EXPECT_TRUE(element.ToRecord(record));
        return record;
    }

    int CellWidth() const { return doc->GetSourcePage()->GetCellWidth(); }
    int CellHeight() const { return doc->GetSourcePage()->GetCellHeight(); }
};

TEST_F(BarcodeElementTest, RecordsAreReadAsTheRightKindAndDefinition)
{
    struct Case
    {
        const char* name;
        const char* opcode;
        const char* letter;
        const char* data;
        int type;
        int barcodeIndex; // barcode elements only
        BOOL useData;
    };
    const Case cases[] = {
        {"COPY without a letter is a source section", "COPY", "", "", FormElementType::Source, -1, FALSE},
        {"MOVE without a letter is a fixed text", "MOVE", "", "HELLO", FormElementType::Text, -1, FALSE},
        {"COPY with B reads the spooled file with definition 1", "COPY", "B", "", FormElementType::Barcode, 1, FALSE},
        {"MOVE with C prints its data with definition 2", "MOVE", "C", "4711", FormElementType::Barcode, 2, TRUE},
        {"BARC without a letter uses definition 0", "BARC", "", "", FormElementType::Barcode, 0, FALSE},
        {"a letter outside A to Z falls back to 0", "COPY", "a", "", FormElementType::Barcode, 0, FALSE},
    };
    AddDefinitions(3);
    // Keep every definition alive while rows come and go.
    CFormBarcodeElement* keep[3];
    for (int i = 0; i < 3; ++i) {
        keep[i] = Draw(SourceCells(1, 20 + i, 5, 21 + i));
        ASSERT_NE(keep[i], nullptr);
        ASSERT_TRUE(keep[i]->SetBarcodeIndex(i) || keep[i]->GetBarcodeIndex() == i);
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CAPRTPDMRec written(doc.get());
        written.m_opcode.SetValue(QString::fromLatin1(c.opcode));
        written.m_barcodeLetter.SetValue(QString::fromLatin1(c.letter));
        written.m_data.SetValue(QString::fromLatin1(c.data));
        written.m_sourceLine.SetValue(3);
        written.m_sourceFirstColumn.SetValue(5);
        written.m_sourceLastColumn.SetValue(14);
        written.m_lineCount.SetValue(1);
        written.m_destLine.SetValue(3);
        written.m_destFirstColumn.SetValue(5);
        written.m_destLastColumn.SetValue(14);
        CFormElement* element = ReadRecord(written);
        ASSERT_NE(element, nullptr);
        EXPECT_EQ(element->GetType(), c.type);
        if (auto* barcode = dynamic_cast<CFormBarcodeElement*>(element)) {
            EXPECT_EQ(barcode->GetBarcodeIndex(), c.barcodeIndex);
            EXPECT_EQ(barcode->GetUseData(), c.useData);
            ASSERT_NE(Barcodes().GetBarcode(c.barcodeIndex), nullptr);
            EXPECT_EQ(Barcodes().GetBarcode(c.barcodeIndex)->GetName(), QStringLiteral("BC%1").arg(c.barcodeIndex));
        }
        doc->DeleteElement(element, TRUE);
    }
}

TEST_F(BarcodeElementTest, ConstantBarcodeTravelsAsMoveWithItsLetter)
{
    AddDefinitions(3);
    const QString data = QString(60, QLatin1Char('7')) + QStringLiteral("END");
    CAPRTPDMRec written(doc.get());
    written.m_opcode.SetValue(QStringLiteral("MOVE"));
    written.m_barcodeLetter.SetValue(QStringLiteral("C"));
    written.m_data.SetValue(data);
    written.m_destLine.SetValue(4);
    written.m_destFirstColumn.SetValue(2);
    written.m_destLastColumn.SetValue(9);
    written.m_lineCount.SetValue(1);
    auto* barcode = dynamic_cast<CFormBarcodeElement*>(ReadRecord(written));
    ASSERT_NE(barcode, nullptr);
    EXPECT_EQ(barcode->GetBarcodeIndex(), 2);
    EXPECT_TRUE(barcode->GetUseData());
    EXPECT_EQ(barcode->GetDescription(), data.left(50));
    EXPECT_TRUE(barcode->GetSourceRect().IsEmpty()) << "a constant barcode has no source side";

    CAPRTPDMRec record = RecordOf(*barcode);
    EXPECT_EQ(record.m_opcode.GetValue(), QStringLiteral("MOVE"));
    EXPECT_EQ(record.m_data.GetValue(), data);
    EXPECT_EQ(record.m_sourceLine.GetShort(), 0);
    EXPECT_EQ(record.m_sourceFirstColumn.GetShort(), 0);
    EXPECT_EQ(record.m_sourceLastColumn.GetShort(), 0);
    EXPECT_EQ(record.m_lineCount.GetShort(), 0);
    EXPECT_EQ(record.m_barcodeLetter.GetValue(), QStringLiteral("C"));
    EXPECT_EQ(record.m_destLine.GetShort(), 4);
    EXPECT_EQ(record.m_destFirstColumn.GetShort(), 2);
}

TEST_F(BarcodeElementTest, SpooledFileBarcodeWritesCopyWithItsFontAndDescription)
{
    SetSpooledPage({"", "", "    ORDER 12345   "});
    AddFixedFont(3, 10);
    CFormBarcodeElement* barcode = Draw(SourceCells(5, 3, 16, 4));
    ASSERT_NE(barcode, nullptr);
    EXPECT_EQ(barcode->GetDescription(), QStringLiteral("ORDER 12345"));
    EXPECT_EQ(barcode->SourceRect(), SourceCells(5, 3, 16, 4));
    ASSERT_TRUE(barcode->SetFontIndex(3));
    EXPECT_EQ(Barcodes().GetBarcode(0)->GetTextFontIndex(), 3) << "the definition shares the text font";

    CAPRTPDMRec record = RecordOf(*barcode);
    EXPECT_EQ(record.m_opcode.GetValue(), QStringLiteral("COPY"));
    EXPECT_EQ(record.m_barcodeLetter.GetValue(), QStringLiteral("A"));
    EXPECT_EQ(record.m_fontIndex.GetValue(), QStringLiteral("3"));
    EXPECT_EQ(record.m_sourceLine.GetShort(), 3);
    EXPECT_EQ(record.m_sourceFirstColumn.GetShort(), 5);
    EXPECT_EQ(record.m_sourceLastColumn.GetShort(), 15);
}

TEST_F(BarcodeElementTest, ElementsOfOneDefinitionShareItsSize)
{
    CFormBarcodeElement* first = Draw(SourceCells(2, 2, 12, 4));
    CFormBarcodeElement* second = Draw(SourceCells(2, 10, 5, 11));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(first->GetBarcodeIndex(), 0);
    ASSERT_EQ(second->GetBarcodeIndex(), 0);
    EXPECT_EQ(second->SourceRect().Width(), 10 * CellWidth()) << "the second takes the definition's width";
    EXPECT_EQ(second->SourceRect().Height(), CellHeight());
    EXPECT_EQ(second->DestRect().Size(), first->DestRect().Size());

    const int cellHeight = doc->GetOutputPage()->GetCellHeight();
    const int newHeight = 5 * cellHeight;
    first->ResizeDest(0, newHeight, ElementMoveFlags::Bottom, TRUE);
    EXPECT_EQ(first->DestRect().Height(), newHeight);
    EXPECT_EQ(second->DestRect().Height(), newHeight) << "resizing one resizes every user of the definition";
    EXPECT_FALSE(first->IsLinked()) << "a destination resized on its own no longer follows the source";

    second->ResizeSource(4 * CellWidth(), CellHeight(), ElementMoveFlags::Right, TRUE);
    EXPECT_EQ(Barcodes().GetBarcode(0)->GetWidthColumns(), 4);
    EXPECT_EQ(first->SourceRect().Width(), 4 * CellWidth());
}

TEST_F(BarcodeElementTest, SourceMovesCarryTheDestinationUntilItWasMovedAlone)
{
    CFormBarcodeElement* barcode = Draw(SourceCells(2, 2, 8, 3));
    ASSERT_NE(barcode, nullptr);
    const Rect dest0 = barcode->DestRect();
    const int dx = 3 * CellWidth();
    const int dy = 2 * CellHeight();

    barcode->MoveSource(dx, dy, ElementMoveFlags::Left | ElementMoveFlags::Top, FALSE);
    EXPECT_EQ(barcode->SourceRect(), SourceCells(5, 4, 11, 5));
    Rect moved = dest0;
    moved.Offset(dx, dy);
    EXPECT_EQ(barcode->DestRect(), moved) << "the same pixel values on the output page";
    EXPECT_TRUE(barcode->IsLinked());

    const int ow = doc->GetOutputPage()->GetCellWidth();
    barcode->MoveDest(2 * ow, 0, ElementMoveFlags::Left, FALSE);
    EXPECT_FALSE(barcode->IsLinked());
    const Rect destAlone = barcode->DestRect();
    barcode->MoveSource(dx, 0, ElementMoveFlags::Left, FALSE);
    EXPECT_EQ(barcode->SourceRect(), SourceCells(8, 4, 14, 5));
    EXPECT_EQ(barcode->DestRect(), destAlone);
}

TEST_F(BarcodeElementTest, PropertyPageSwitchesBetweenDataAndSpooledFile)
{
    CFormBarcodeElement* barcode = Draw(SourceCells(3, 3, 6, 4));
    ASSERT_NE(barcode, nullptr);

    BarcodePageData page;
    barcode->UpdatePage(page);
    EXPECT_EQ(page.column, 3);
    EXPECT_EQ(page.line, 3);
    EXPECT_EQ(page.width, 3);

    page.data = QStringLiteral("123456789012");
    EXPECT_TRUE(barcode->ApplyPage(page, BarcodePageData::Data));
    EXPECT_TRUE(barcode->GetUseData());
    // Twelve output cells, snapped to the source grid.
    const int ow = doc->GetOutputPage()->GetCellWidth();
    const int columns = (12 * ow + CellWidth() - 1) / CellWidth();
    EXPECT_EQ(barcode->SourceRect().Width(), columns * CellWidth());
    EXPECT_EQ(Barcodes().GetBarcode(0)->GetWidthColumns(), columns);
    EXPECT_EQ(barcode->GetDescription(), page.data);
    EXPECT_EQ(RecordOf(*barcode).m_opcode.GetValue(), QStringLiteral("MOVE"));

    page.column = 7;
    page.line = 2;
    EXPECT_TRUE(barcode->ApplyPage(page, BarcodePageData::Position));
    EXPECT_FALSE(barcode->GetUseData()) << "a source position reads the spooled file again";
    EXPECT_EQ(barcode->SourceRect().left, 6 * CellWidth());
    EXPECT_EQ(barcode->SourceRect().top, 1 * CellHeight());
    EXPECT_EQ(RecordOf(*barcode).m_opcode.GetValue(), QStringLiteral("COPY"));

    EXPECT_FALSE(barcode->ApplyPage(page, BarcodePageData::Position)) << "the same values change nothing";
}

TEST_F(BarcodeElementTest, DefinitionLivesAsLongAsItHasUsers)
{
    CFormBarcodeElement* first = Draw(SourceCells(2, 2, 6, 3));
    CFormBarcodeElement* second = Draw(SourceCells(2, 5, 6, 6));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(Barcodes().GetBarcode(0), nullptr);

    doc->DeleteElement(first, TRUE);
    EXPECT_NE(Barcodes().GetBarcode(0), nullptr);
    doc->DeleteElement(second, TRUE);
    EXPECT_EQ(Barcodes().GetBarcode(0), nullptr) << "the last user gone deletes the definition";
}

TEST_F(BarcodeElementTest, ChangingDefinitionOnAFullListKeepsTheOldOne)
{
    AddDefinitions(CBarcodeManager::kMaxBarcodes);
    std::vector<CFormBarcodeElement*> users;
    for (int i = 0; i < CBarcodeManager::kMaxBarcodes; ++i) {
        CFormBarcodeElement* element = Draw(SourceCells(1, 1 + i, 3, 2 + i));
        ASSERT_NE(element, nullptr);
        element->SetBarcodeIndex(i);
        ASSERT_EQ(element->GetBarcodeIndex(), i);
        users.push_back(element);
    }
    prompts->ClearRecorded();

    // Slot 26 holds nothing, and no new definition fits.
    EXPECT_FALSE(users[5]->SetBarcodeIndex(CBarcodeManager::kMaxBarcodes));
    EXPECT_EQ(users[5]->GetBarcodeIndex(), 5);
    ASSERT_NE(Barcodes().GetBarcode(5), nullptr);
    EXPECT_EQ(Barcodes().GetBarcode(5)->GetName(), QStringLiteral("BC5"));
    EXPECT_EQ(prompts->Recorded().size(), 1u) << "the full list is reported once";

    // Moving to an existing definition leaves the old one, which then goes.
    EXPECT_TRUE(users[5]->SetBarcodeIndex(6));
    EXPECT_EQ(Barcodes().GetBarcode(5), nullptr);
}

TEST_F(BarcodeElementTest, ElementWithoutDefinitionIsReportedAndNotExported)
{
    CFormBarcodeElement* barcode = Draw(SourceCells(2, 2, 6, 3));
    ASSERT_NE(barcode, nullptr);
    CFormElement::SetDescription(QStringLiteral("Order code"), barcode);
    ASSERT_TRUE(barcode->SetBarcodeIndex(-1));
    prompts->ClearRecorded();
    const Bytes written = StoreJvx(
        28, [&](CJVXArchive& ar) { barcode->ExportJVX(ar); }, nullptr, doc.get());
    EXPECT_TRUE(written.empty());
    ASSERT_EQ(prompts->Recorded().size(), 1u);
    EXPECT_EQ(prompts->Recorded().front().text,
              QStringLiteral("Barcode element 'Order code' has no barcode definition and was not exported."));
}

TEST_F(BarcodeElementTest, WvdObjectKeepsTheElementAndTheDefinitionHeight)
{
    CFormBarcodeElement* barcode = Draw(SourceCells(4, 2, 9, 3));
    ASSERT_NE(barcode, nullptr);
    barcode->SetData(QStringLiteral("ABC"));
    barcode->SetUseData(TRUE);
    const int cellHeight = doc->GetOutputPage()->GetCellHeight();
    barcode->ResizeDest(0, 4 * cellHeight, ElementMoveFlags::Bottom, TRUE);
    const Rect dest = barcode->DestRect();
    const int height = Barcodes().GetBarcode(0)->GetHeight();

    const Bytes bytes = Store([&](CArchive& ar) {
        ar.m_pDocument = doc.get();
        ar.WriteObject(barcode);
    });
    // Another height in the definition meanwhile: the stored one wins.
    Barcodes().GetBarcode(0)->SetHeight(height / 2);
    CObject* object = nullptr;
    Load(bytes, [&](CArchive& ar) {
        ar.m_pDocument = doc.get();
        object = ar.ReadObject(nullptr);
    });
    auto* copy = dynamic_cast<CFormBarcodeElement*>(object);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetBarcodeIndex(), 0);
    EXPECT_TRUE(copy->GetUseData());
    EXPECT_EQ(copy->GetData(), QStringLiteral("ABC"));
    EXPECT_FALSE(copy->IsLinked());
    EXPECT_EQ(Barcodes().GetBarcode(0)->GetHeight(), height);
    EXPECT_EQ(copy->DestRect(), dest);
    delete copy;
}

TEST_F(BarcodeElementTest, DrawsTheSharedPictureStretched)
{
    CFormBarcodeElement* barcode = Draw(SourceCells(2, 2, 12, 5));
    ASSERT_NE(barcode, nullptr);
    ASSERT_EQ(CFormBarcodeElement::SharedPicture().size(), QSize(64, 32));
    QImage image(800, 600, QImage::Format_RGB32);
    image.fill(Qt::red);
    {
        QPainter painter(&image);
        barcode->DrawDest(painter);
    }
    const Rect r = barcode->DestRect();
    bool black = false;
    bool white = false;
    for (int x = r.left + 1; x < r.right - 1; ++x) {
        const QRgb pixel = image.pixel(x, (r.top + r.bottom) / 2);
        black = black || qGray(pixel) < 40;
        white = white || qGray(pixel) > 215;
        EXPECT_NE(pixel, qRgb(255, 0, 0)) << "the picture covers the whole box at x " << x;
    }
    EXPECT_TRUE(black && white) << "bars are drawn";
}

} // namespace
