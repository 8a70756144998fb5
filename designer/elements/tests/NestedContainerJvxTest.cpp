#include "designer/document/Page.h"
#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/FormConditionalElement.h"
#include "designer/elements/FormLoopElement.h"
#include "designer/elements/FormTextElement.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/JvxBytes.h"
#include "tests/support/JvxRecordLines.h"

#include "ElementTestKinds.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

using kwvd::Rect;

// A Loop to the end of the document over input lines 5 on, holding a
// relative "POSITION" Conditional on line 6, columns 3 to 8, which holds a
// text on output line 7, columns 10 to 14. Pages of 80 x 66 cells of 10 x 16.
class NestedContainerJvxTest : public ElementDocFixture
{
protected:
    void SetUp() override
    {
        ElementDocFixture::SetUp();
        ASSERT_TRUE(doc->GetSourcePage()->SetSizeInCells(80, 66));
        ASSERT_TRUE(doc->GetOutputPage()->SetSizeInCells(80, 66));
        ASSERT_EQ(doc->GetSourcePage()->GetCellHeight(), 16);
        ASSERT_EQ(doc->GetOutputPage()->GetCellHeight(), 16);
        ASSERT_EQ(doc->GetSourcePage()->GetPixelWidth(), 800);

        loop = static_cast<CFormLoopElement*>(
            doc->CreateNewElement(FormElementType::Loop, PaneSide::Input, Cells(1, 5, 81, 8), nullptr));
        ASSERT_NE(loop, nullptr);
        ASSERT_TRUE(loop->SetLoopMode(LoopMode::ToDocumentEnd));
        loop->ArrangeRects();

        conditional = static_cast<CFormConditionalElement*>(
            doc->CreateNewElement(FormElementType::Conditional, PaneSide::Input, Cells(3, 6, 9, 7), loop));
        ASSERT_NE(conditional, nullptr);
        ASSERT_EQ(conditional->GetParent(), loop);
        conditional->SetCompareValue(QStringLiteral("ABC"));

        text = static_cast<CFormTextElement*>(
            doc->CreateNewElement(FormElementType::Text, PaneSide::Output, Cells(10, 7, 15, 8), conditional));
        ASSERT_NE(text, nullptr);
        ASSERT_EQ(text->GetParent(), conditional);
        text->SetText(QStringLiteral("HELLO"));
    }

    static Rect Cells(int left, int top, int right, int bottom)
    {
        return Rect((left - 1) * 10, (top - 1) * 16, (right - 1) * 10, (bottom - 1) * 16);
    }

    Bytes Export(int version)
    {
        doc->m_jvxRecordCounter = 1;
        return StoreJvx(
            version, [&](CJVXArchive& ar) { loop->ExportJVX(ar); }, nullptr, doc.get());
    }

    CFormLoopElement* loop = nullptr;
    CFormConditionalElement* conditional = nullptr;
    CFormTextElement* text = nullptr;
};

TEST_F(NestedContainerJvxTest, GoldenLinesByVersion)
{
    struct Case
    {
        const char* name;
        int version;
        const char* loopData;
        bool warned;
    };
    const Case cases[] = {
        {"version 12 writes the page end", 12, " 1", true},
        {"version 13 writes the document end", 13, " 2", false},
        {"version 28 writes the document end", 28, " 2", false},
    };
    const std::string cond = "POSITION == ABC";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompts->ClearRecorded();
        const std::string expected = RecordLine(c.version, {{3, "1"},
                                                            {4, "LOOP"},
                                                            {6, "5"},
                                                            {7, "1"},
                                                            {8, "80"},
                                                            {10, "5"},
                                                            {12, "1"},
                                                            {14, "80"},
                                                            {16, c.loopData}})
                                     + RecordLine(c.version, {{3, "2"},
                                                              {4, "IF"},
                                                              {5, "+"},
                                                              {6, "1"},
                                                              {7, "3"},
                                                              {8, "8"},
                                                              {15, "EQ"},
                                                              {16, "ABC"},
                                                              {17, cond},
                                                              {18, "1"},
                                                              {29, "POSITION"}})
                                     + RecordLine(c.version, {{3, "3"},
                                                              {4, "MOVE"},
                                                              {9, "+"},
                                                              {10, "2"},
                                                              {12, "10"},
                                                              {14, "14"},
                                                              {16, "HELLO"},
                                                              {17, "HELLO"},
                                                              {18, "1"}})
                                     + RecordLine(c.version, {{3, "4"},
                                                              {4, "ENDI"},
                                                              {5, "+"},
                                                              {6, "1"},
                                                              {7, "3"},
                                                              {8, "8"},
                                                              {15, "EQ"},
                                                              {16, "ABC"},
                                                              {17, cond},
                                                              {18, "1"},
                                                              {29, "POSITION"}})
                                     + RecordLine(c.version, {{3, "5"}, {4, "ENDL"}});
        EXPECT_EQ(Export(c.version), EncodeRecordLines(c.version, expected));
        EXPECT_EQ(loop->GetLoopMode(), LoopMode::ToDocumentEnd) << "the document keeps its mode";
        EXPECT_EQ(prompts->Recorded().size(), c.warned ? 1u : 0u);
        if (c.warned && !prompts->Recorded().empty()) {
            EXPECT_TRUE(prompts->Recorded().front().text.startsWith(QStringLiteral("JVX Version 12 does not support")));
        }
        EXPECT_EQ(doc->m_currentSourceLine, 0);
        EXPECT_EQ(doc->m_currentDestLine, 0);
    }
}

TEST_F(NestedContainerJvxTest, ExportImportExportGivesTheSameBytes)
{
    for (int version : {12, 13, 28}) {
        SCOPED_TRACE(version);
        // A read from an older version leaves the page end behind.
        loop->SetLoopMode(LoopMode::ToDocumentEnd);
        loop->ArrangeRects();
        const Bytes first = Export(version);
        JvxReader in(first, version, nullptr, doc.get());
        CAPRTPDMRec record(doc.get());
        record.ExchangeJVX(in.Archive());
        ASSERT_TRUE(record.IsValid());
        CFormElement* read = record.CreateElement(in.Archive());
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(doc->m_currentSourceLine, 0);
        auto* readLoop = dynamic_cast<CFormLoopElement*>(read);
        ASSERT_NE(readLoop, nullptr);
        ASSERT_EQ(readLoop->GetChildCount(), 1);
        auto* readCond = dynamic_cast<CFormConditionalElement*>(readLoop->GetChildList().GetHead());
        ASSERT_NE(readCond, nullptr);
        EXPECT_EQ(readCond->GetCompareValue(), QStringLiteral("ABC"));
        EXPECT_EQ(readCond->GetChildCount(), 1);
        EXPECT_EQ(readLoop->GetLoopMode(), version < 13 ? LoopMode::ToPageEnd : LoopMode::ToDocumentEnd);

        // The read Loop stands in for the first one, without it.
        doc->DeleteElement(loop, TRUE);
        if (!doc->ContainsElement(readLoop))
            doc->AddElement(readLoop, FALSE, nullptr);
        loop = readLoop;
        conditional = readCond;
        doc->m_jvxRecordCounter = 1;
        const Bytes second = StoreJvx(
            version, [&](CJVXArchive& ar) { readLoop->ExportJVX(ar); }, nullptr, doc.get());
        EXPECT_EQ(second, first);
    }
}

// Records without a source position (a page Conditional, a data Variable)
// keep only the side of the Loop's line they lie on, in their sign: read
// back, they must lie on that side again, or the next export turns the sign.
TEST_F(NestedContainerJvxTest, RecordsWithoutAPositionKeepTheirSideOfTheLoopLine)
{
    struct Case
    {
        const char* name;
        int type;
        int top;              // the Loop's top is line 5
        const char* position; // fields 5 to 8 of the element's record
    };
    const Case cases[] = {
        {"page Conditional below", FormElementType::Conditional, 9, "+000000000"},
        {"page Conditional on the line", FormElementType::Conditional, 5, "+000000000"},
        {"page Conditional above", FormElementType::Conditional, 3, "-000000000"},
        {"data Variable below", FormElementType::Variable, 9, "+000000000"},
        {"data Variable above", FormElementType::Variable, 2, "-000000000"},
    };
    doc->DeleteElement(conditional, TRUE);
    conditional = nullptr;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFormElement* child = doc->CreateNewElement(c.type, 0, Cells(3, c.top, 9, c.top + 1), loop);
        ASSERT_NE(child, nullptr);
        ASSERT_EQ(child->GetParent(), loop);
        const Bytes first = Export(28);
        // The child's record is the second line: 513 characters and CR LF.
        const size_t at = 2 * (513 + 2) + 2 * 10;
        ASSERT_GT(first.size(), at + 20);
        std::string position;
        for (size_t i = 0; i < 10; ++i)
            position += static_cast<char>(first[at + 2 * i]);
        EXPECT_EQ(position, c.position);

        JvxReader in(first, 28, nullptr, doc.get());
        CAPRTPDMRec record(doc.get());
        record.ExchangeJVX(in.Archive());
        ASSERT_TRUE(record.IsValid());
        auto* readLoop = dynamic_cast<CFormLoopElement*>(record.CreateElement(in.Archive()));
        ASSERT_NE(readLoop, nullptr);
        doc->DeleteElement(loop, TRUE);
        if (!doc->ContainsElement(readLoop))
            doc->AddElement(readLoop, FALSE, nullptr);
        loop = readLoop;
        EXPECT_TRUE(Export(28) == first);
        // The next case starts from an empty Loop.
        CFormElement* readChild = dynamic_cast<CFormElement*>(loop->GetChildList().GetHead());
        ASSERT_NE(readChild, nullptr);
        doc->DeleteElement(readChild, TRUE);
        ASSERT_EQ(loop->GetChildCount(), 0);
    }
}

} // namespace
