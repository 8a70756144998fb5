#include "designer/document/Page.h"
#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/document/jvx/JVXArchive.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/JvxBytes.h"

#include "ElementTestKinds.h"

#include <gtest/gtest.h>

namespace {

using kwvd::Rect;

// A kind that keeps its offset and writes one "MOVE" record.
class CTestPersistLeaf : public CFormElement
{
    KWVD_DECLARE_SERIAL(CTestPersistLeaf)

public:
    CTestPersistLeaf() = default;
    explicit CTestPersistLeaf(CDesignerDoc* doc) : CFormElement(doc) {}
    explicit CTestPersistLeaf(CAPRTPDMRec& record) : CFormElement(record) {}

    int GetType() const override { return FormElementType::Text; }
    BOOL IgnoresOffset() const override { return FALSE; }
    BOOL ToRecord(CAPRTPDMRec& record) override
    {
        CFormElement::ToRecord(record);
        record.m_opcode.SetValue(QStringLiteral("MOVE"));
        return TRUE;
    }
    void ExportJVX(CJVXArchive& ar) override { ExportRecordJVX(ar); }

    void Set(const QString& description, const Rect& source, const Rect& dest)
    {
        m_description = description;
        m_sourceRect = source;
        m_destRect = dest;
    }
    void SetAdjust(int width, int height)
    {
        m_widthAdjust = width;
        m_heightAdjust = height;
    }
    void SetRawOffset(QPoint twips) { m_offset = twips; }
};

KWVD_IMPLEMENT_SERIAL(CTestPersistLeaf, CFormElement, VERSIONABLE_SCHEMA | 20)

class ElementPersistenceTest : public ElementDocFixture
{
protected:
    void SetUp() override
    {
        ElementDocFixture::SetUp();
        RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CTestPersistLeaf));
        cw = doc->GetSourcePage()->GetCellWidth();
        ch = doc->GetSourcePage()->GetCellHeight();
        ASSERT_GT(cw, 0);
        ASSERT_GT(ch, 0);
        ASSERT_EQ(cw, doc->GetOutputPage()->GetCellWidth());
        ASSERT_EQ(ch, doc->GetOutputPage()->GetCellHeight());
    }

    // A rectangle given in 1-based cells with exclusive right and bottom.
    Rect Cells(int left, int top, int right, int bottom) const
    {
        return Rect((left - 1) * cw, (top - 1) * ch, (right - 1) * cw, (bottom - 1) * ch);
    }

    // The object as the framework writes a new class: tag, schema, name, body.
    static Bytes Object(int schema, const Bytes& body)
    {
        return Hex("FF FF") + Word(schema) + Word(16) + Ascii("CTestPersistLeaf") + body;
    }

    CTestPersistLeaf* LoadObject(const Bytes& bytes)
    {
        CTestPersistLeaf* element = nullptr;
        Load(bytes, [&](CArchive& ar) {
            ar.m_pDocument = doc.get();
            element = ar.ReadObject<CTestPersistLeaf>();
        });
        return element;
    }

    int cw = 0;
    int ch = 0;
};

TEST_F(ElementPersistenceTest, BasePartIsStoredAsCells)
{
    CTestPersistLeaf leaf(doc.get());
    leaf.Set(QStringLiteral("AB"), Cells(3, 3, 6, 5), Rect());
    leaf.SetRawOffset(QPoint(30, -2));
    leaf.SetAdjust(1, 2);
    leaf.SetDestAbsolute(TRUE);
    const Bytes stored = Store([&](CArchive& ar) { leaf.Serialize(ar); });
    EXPECT_EQ(stored, Hex("FF FE FF 02 41 00 42 00"
                          "03 00 03 00 06 00 05 00" // source cells
                          "01 00 01 00 01 00 01 00" // no destination
                          "00 00 01 00"             // absolute flags
                          "01 00 00 00 02 00 00 00" // width and height adjust
                          "1E 00 00 00 FE FF FF FF" // offset
                          "01 00"));                // automatic description
}

TEST_F(ElementPersistenceTest, StoredRectanglesComeBackOnWholeCells)
{
    struct Case
    {
        const char* name;
        Rect dest;
        Rect expected;
    };
    const Case cases[] = {
        {"on the grid", Cells(3, 3, 6, 5), Cells(3, 3, 6, 5)},
        {"right edge inside a cell", Rect(2 * cw, 2 * ch, 5 * cw + 1, 4 * ch), Cells(3, 3, 7, 5)},
        {"no rectangle", Rect(), Rect()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTestPersistLeaf leaf(doc.get());
        leaf.Set(QStringLiteral("x"), Rect(), c.dest);
        CTestPersistLeaf* read = LoadObject(Store([&](CArchive& ar) { ar.WriteObject(&leaf); }));
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(read->DestRect(), c.expected);
        EXPECT_TRUE(read->SourceRect().IsEmpty());
        EXPECT_EQ(read->GetDocument(), doc.get());
        delete read;
    }
}

TEST_F(ElementPersistenceTest, StoredSchemaGatesTheBaseFields)
{
    const Bytes head = Hex("FF FE FF 01 44 00") + Word(3) + Word(3) + Word(6) + Word(5) + Word(1) + Word(1) + Word(1)
                       + Word(1) + Word(1) + Word(0);
    const Bytes adjust = Long(2) + Long(3);
    const Bytes offsetAndAuto = Long(40) + Long(50) + Word(1);
    struct Case
    {
        const char* name;
        int schema;
        Bytes body;
        QPoint offset;
        int widthAdjust;
        BOOL automatic;
    };
    const Case cases[] = {
        {"schema 2", 2, head, QPoint(0, 0), 0, FALSE},
        {"schema 3", 3, head + offsetAndAuto, QPoint(40, 50), 0, TRUE},
        {"schema 20", 20, head + adjust + offsetAndAuto, QPoint(40, 50), 2, TRUE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTestPersistLeaf* read = LoadObject(Object(c.schema, c.body));
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(read->GetDescription(), QStringLiteral("D"));
        EXPECT_EQ(read->GetOffset(), c.offset);
        EXPECT_EQ(read->GetWidthAdjust(), c.widthAdjust);
        EXPECT_EQ(read->IsAutoDescription(), c.automatic);
        EXPECT_TRUE(read->IsSourceAbsolute());
        EXPECT_FALSE(read->IsDestAbsolute());
        // Up to schema 6 the numbers are pixels, here a little inside the first cell.
        EXPECT_EQ(read->SourceRect(), c.schema > 6 ? Cells(3, 3, 6, 5) : Cells(1, 1, 2, 2));
        delete read;
    }
}

TEST_F(ElementPersistenceTest, SchemaSixHoldsPixelsThatAreOnlySnapped)
{
    // Pixels 3..6 by 3..5, a little off the grid: snapped outward.
    const Bytes body = Hex("FF FE FF 00") + Word(cw + 1) + Word(ch + 1) + Word(3 * cw - 1) + Word(2 * ch) + Word(0)
                       + Word(0) + Word(0) + Word(0) + Word(0) + Word(0) + Long(0) + Long(0) + Long(0) + Long(0)
                       + Word(0);
    CTestPersistLeaf* read = LoadObject(Object(6, body));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->SourceRect(), Cells(2, 2, 4, 3));
    EXPECT_TRUE(read->DestRect().IsEmpty());
    delete read;
}

TEST_F(ElementPersistenceTest, ATruncatedObjectRaisesEndOfFile)
{
    const Bytes body = Hex("FF FE FF 00") + Word(1) + Word(1);
    try {
        delete LoadObject(Object(20, body));
        FAIL() << "the object was read";
    } catch (CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
    }
}

TEST_F(ElementPersistenceTest, RecordPositionsAreRelativeToTheCurrentLine)
{
    struct Case
    {
        const char* name;
        LONG currentLine;
        BOOL absolute;
        const char* sign;
        int line;
    };
    const Case cases[] = {
        {"no current line", 0, FALSE, "", 5},         {"on the current line", 5, FALSE, "+", 1},
        {"below the current line", 3, FALSE, "+", 3}, {"above the current line", 7, FALSE, "-", 2},
        {"absolute inside a loop", 7, TRUE, "", 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTestPersistLeaf leaf(doc.get());
        leaf.Set(QStringLiteral("x"), Cells(4, 5, 9, 7), Cells(2, 5, 3, 6));
        leaf.SetSourceAbsolute(c.absolute);
        leaf.SetDestAbsolute(c.absolute);
        doc->m_currentSourceLine = c.currentLine;
        doc->m_currentDestLine = c.currentLine;
        CAPRTPDMRec record(doc.get());
        EXPECT_TRUE(leaf.ToRecord(record));
        EXPECT_EQ(record.m_sourceSign.GetValue(), QString::fromLatin1(c.sign));
        EXPECT_EQ(record.m_sourceLine.GetValue(), c.line);
        EXPECT_EQ(record.m_destSign.GetValue(), QString::fromLatin1(c.sign));
        EXPECT_EQ(record.m_destLine.GetValue(), c.line);
        EXPECT_EQ(record.m_sourceFirstColumn.GetValue(), 4);
        EXPECT_EQ(record.m_sourceLastColumn.GetValue(), 8);
        EXPECT_EQ(record.m_destFirstColumn.GetValue(), 2);
        EXPECT_EQ(record.m_destLastColumn.GetValue(), 2);
        EXPECT_EQ(record.m_lineCount.GetValue(), 2); // from the source side
    }
    doc->m_currentSourceLine = 0;
    doc->m_currentDestLine = 0;
}

TEST_F(ElementPersistenceTest, RecordCarriesSequenceDescriptionAdjustAndOffset)
{
    CTestPersistLeaf leaf(doc.get());
    const QString sixty = QString(60, QLatin1Char('d'));
    leaf.Set(sixty, Rect(), Cells(2, 5, 6, 8));
    leaf.SetAdjust(1, 1);
    leaf.SetRawOffset(QPoint(12, 34));
    doc->m_jvxRecordCounter = 9;
    CAPRTPDMRec record(doc.get());
    leaf.ToRecord(record);
    doc->m_jvxRecordCounter = 0;
    EXPECT_EQ(record.m_sequence.GetValue(), 9);
    EXPECT_EQ(record.m_description.GetValue(), sixty.left(50));
    EXPECT_EQ(leaf.GetDescription(), sixty);
    EXPECT_EQ(record.m_destLine.GetValue(), 6);       // top + height adjust
    EXPECT_EQ(record.m_destLastColumn.GetValue(), 4); // right - width adjust - 1
    EXPECT_EQ(record.m_lineCount.GetValue(), 2);      // from the destination, adjusted
    EXPECT_EQ(record.m_destOffsetX.GetValue(), 12);
    EXPECT_EQ(record.m_destOffsetY.GetValue(), 34);
    EXPECT_TRUE(record.m_sourceSign.GetValue().isEmpty());
    EXPECT_EQ(record.m_sourceLine.GetValue(), 0);
}

TEST_F(ElementPersistenceTest, RecordConstructorReadsPositionsBack)
{
    TestContainer* loop = AddContainer(FormElementType::Loop);
    struct Case
    {
        const char* name;
        CFormElement* parent;
        LONG currentLine;
        const char* sign;
        int line;
        int expectedTop;
        BOOL absolute;
    };
    const Case cases[] = {
        {"plus from the current line", loop, 5, "+", 1, 5, FALSE},
        {"minus from the current line", loop, 7, "-", 2, 5, FALSE},
        {"absolute inside a loop", loop, 7, "", 5, 5, TRUE},
        {"top level loses the flags", nullptr, 5, "", 5, 5, FALSE},
        {"top level plus", nullptr, 5, "+", 1, 5, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        doc->m_currentSourceLine = c.currentLine;
        doc->m_currentDestLine = c.currentLine;
        CAPRTPDMRec record(doc.get());
        record.SetParent(c.parent);
        record.m_sourceSign.SetValue(QString::fromLatin1(c.sign));
        record.m_sourceLine.SetValue(c.line);
        record.m_sourceFirstColumn.SetValue(9); // reversed: swapped
        record.m_sourceLastColumn.SetValue(2);
        record.m_destSign.SetValue(QString::fromLatin1(c.sign));
        record.m_destLine.SetValue(c.line);
        record.m_destFirstColumn.SetValue(3);
        record.m_destLastColumn.SetValue(4);
        record.m_lineCount.SetValue(2);
        CTestPersistLeaf leaf(record);
        EXPECT_EQ(leaf.GetParent(), c.parent);
        EXPECT_EQ(leaf.SourceRect(), Cells(3, c.expectedTop, 9, c.expectedTop + 2));
        EXPECT_EQ(leaf.DestRect(), Cells(3, c.expectedTop, 5, c.expectedTop + 2));
        EXPECT_EQ(leaf.IsSourceAbsolute(), c.absolute);
        EXPECT_EQ(leaf.IsDestAbsolute(), c.absolute);
        EXPECT_TRUE(leaf.IsAutoDescription());
    }
    doc->m_currentSourceLine = 0;
    doc->m_currentDestLine = 0;
}

TEST_F(ElementPersistenceTest, FactoryAppliesTheOffsetOnceTheKindIsKnown)
{
    ASSERT_TRUE(
        RegisterRecordElementFactory(FormElementType::Text, [](CAPRTPDMRec& record, CJVXArchive&) -> CFormElement* {
            return new CTestPersistLeaf(record);
        }));
    CTestPersistLeaf leaf(doc.get());
    leaf.Set(QStringLiteral("Total"), Rect(), Cells(2, 3, 4, 4));
    leaf.SetRawOffset(QPoint(15, 25));
    const Bytes line = StoreJvx(
        28, [&](CJVXArchive& ar) { leaf.ExportJVX(ar); }, nullptr, doc.get());
    ASSERT_EQ(line.size(), 2u * (513 + 2));

    JvxReader in(line, 28, nullptr, doc.get());
    CAPRTPDMRec record(doc.get());
    record.ExchangeJVX(in.Archive());
    ASSERT_TRUE(record.IsValid());
    std::unique_ptr<CFormElement> read(record.CreateElement(in.Archive()));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetType(), FormElementType::Text);
    EXPECT_EQ(read->GetDescription(), QStringLiteral("Total"));
    EXPECT_FALSE(read->IsAutoDescription());
    EXPECT_EQ(read->GetOffset(), QPoint(15, 25));
    EXPECT_EQ(read->DestRect(), Cells(2, 3, 4, 4));
}

TEST_F(ElementPersistenceTest, TheBaseWritesNoRecord)
{
    TestLeaf leaf(doc.get(), FormElementType::Source);
    EXPECT_TRUE(StoreJvx(
                    28, [&](CJVXArchive& ar) { leaf.ExportJVX(ar); }, nullptr, doc.get())
                    .empty());
}

} // namespace
