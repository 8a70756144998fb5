#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/document/jvx/JVXArchive.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/JvxBytes.h"

#include "ElementTestKinds.h"

#include <gtest/gtest.h>

namespace {

using kwvd::Rect;

class CTestChildLeaf : public CFormElement
{
    KWVD_DECLARE_SERIAL(CTestChildLeaf)

public:
    CTestChildLeaf() = default;
    CTestChildLeaf(CDesignerDoc* doc, const QString& description) : CFormElement(doc) { m_description = description; }
    explicit CTestChildLeaf(CAPRTPDMRec& record) : CFormElement(record) {}

    int GetType() const override { return FormElementType::Source; }
    BOOL ToRecord(CAPRTPDMRec& record) override
    {
        CFormElement::ToRecord(record);
        record.m_opcode.SetValue(QStringLiteral("COPY"));
        return TRUE;
    }
    void ExportJVX(CJVXArchive& ar) override { ExportRecordJVX(ar); }
};

KWVD_IMPLEMENT_SERIAL(CTestChildLeaf, CFormElement, VERSIONABLE_SCHEMA | 20)

// A Loop as the container kinds are built: base part, own fields (none
// here), then the children; "LOOP", the children's records, "ENDL".
class CTestLoopContainer : public CFormContainerElement
{
    KWVD_DECLARE_SERIAL(CTestLoopContainer)

public:
    CTestLoopContainer() = default;
    explicit CTestLoopContainer(CDesignerDoc* doc) : CFormContainerElement(doc) {}
    CTestLoopContainer(CAPRTPDMRec& record, CJVXArchive& ar) : CFormContainerElement(record)
    {
        ReadChildrenJVX(ar, FormElementType::EndLoop);
    }

    int GetType() const override { return FormElementType::Loop; }
    BOOL IsLoopOrInLoop() const override { return TRUE; }

    void Serialize(CArchive& ar) override
    {
        CFormElement::Serialize(ar);
        SerializeChildren(ar);
    }

    BOOL ToRecord(CAPRTPDMRec& record) override
    {
        CFormElement::ToRecord(record);
        record.m_opcode.SetValue(QStringLiteral("LOOP"));
        return TRUE;
    }

    void ExportJVX(CJVXArchive& ar) override
    {
        ExportRecordJVX(ar);
        ExportChildrenJVX(ar);
        CAPRTPDMRec end(ar.GetDocument());
        end.m_opcode.SetValue(QStringLiteral("ENDL"));
        end.ExchangeJVX(ar);
    }

    void TakeNonElementRecord(const CAPRTPDMRec& record) override { skipped.push_back(record.GetType()); }

    std::vector<int> skipped;
};

KWVD_IMPLEMENT_SERIAL(CTestLoopContainer, CFormElement, VERSIONABLE_SCHEMA | 20)

constexpr int kVersion = 18;

class ContainerExchangeTest : public ElementDocFixture
{
protected:
    void SetUp() override
    {
        ElementDocFixture::SetUp();
        RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CTestChildLeaf));
        RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CTestLoopContainer));
        RegisterRecordElementFactory(FormElementType::Source, [](CAPRTPDMRec& record, CJVXArchive&) -> CFormElement* {
            return new CTestChildLeaf(record);
        });
        RegisterRecordElementFactory(FormElementType::Loop, [](CAPRTPDMRec& record, CJVXArchive& ar) -> CFormElement* {
            return new CTestLoopContainer(record, ar);
        });
    }

    void TearDown() override
    {
        doc->m_serialising = FALSE;
        ElementDocFixture::TearDown();
    }

    // A Loop at the top level holding two leaves, all in the document.
    CTestLoopContainer* AddLoopWithTwoChildren()
    {
        auto* loop = new CTestLoopContainer(doc.get());
        EXPECT_EQ(doc->AddElement(loop, FALSE, nullptr), loop);
        for (const char* name : {"first", "second"}) {
            auto* child = new CTestChildLeaf(doc.get(), QString::fromLatin1(name));
            EXPECT_EQ(doc->AddElement(child, FALSE, loop), child);
        }
        EXPECT_EQ(loop->GetChildCount(), 2);
        return loop;
    }

    // Reads one object with the document as the archive's; null on failure.
    CTestLoopContainer* LoadLoop(const Bytes& bytes)
    {
        CTestLoopContainer* loop = nullptr;
        Load(bytes, [&](CArchive& ar) {
            ar.m_pDocument = doc.get();
            loop = ar.ReadObject<CTestLoopContainer>();
        });
        return loop;
    }

    static QStringList ChildNames(const CFormContainerElement& container)
    {
        QStringList names;
        for (CObject* object : container.GetChildList())
            names << static_cast<CFormElement*>(object)->GetDescription();
        return names;
    }

    // The container as the top-level reader finds it: one record and the
    // factory, which reads the children.
    std::unique_ptr<CFormElement> ReadTopLevel(CJVXArchive& ar)
    {
        CAPRTPDMRec record(doc.get());
        record.ExchangeJVX(ar);
        EXPECT_TRUE(record.IsValid());
        return std::unique_ptr<CFormElement>(record.CreateElement(ar));
    }
};

TEST_F(ContainerExchangeTest, ChildrenTravelInTheWvdObjectOnlyWithTheSerialisingFlag)
{
    CTestLoopContainer* loop = AddLoopWithTwoChildren();
    const qsizetype elementsBefore = doc->GetElementList().GetCount();

    doc->m_serialising = TRUE;
    const Bytes withChildren = Store([&](CArchive& ar) { ar.WriteObject(loop); });
    doc->m_serialising = FALSE;
    const Bytes withoutChildren = Store([&](CArchive& ar) { ar.WriteObject(loop); });
    ASSERT_GE(withoutChildren.size(), 2u);
    EXPECT_EQ(Bytes(withoutChildren.end() - 2, withoutChildren.end()), Hex("00 00"));
    EXPECT_GT(withChildren.size(), withoutChildren.size());

    // Read with the flag: the children come back, each in the document.
    doc->m_serialising = TRUE;
    CTestLoopContainer* read = LoadLoop(withChildren);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(ChildNames(*read), QStringList({"first", "second"}));
    for (CObject* object : read->GetChildList()) {
        auto* child = static_cast<CFormElement*>(object);
        EXPECT_EQ(child->GetParent(), read);
        EXPECT_EQ(child->GetDocument(), doc.get());
        EXPECT_TRUE(doc->ContainsElement(child));
    }
    EXPECT_EQ(doc->GetElementList().GetCount(), elementsBefore + 2);
    EXPECT_EQ(doc->GetZOrderList().GetCount(), elementsBefore + 2);
    doc->AddElement(read, FALSE, nullptr);

    // Read without it: the stored children are deleted, nothing joins the document.
    doc->m_serialising = FALSE;
    const qsizetype elementsNow = doc->GetElementList().GetCount();
    std::unique_ptr<CTestLoopContainer> dropped(LoadLoop(withChildren));
    ASSERT_NE(dropped, nullptr);
    EXPECT_EQ(dropped->GetChildCount(), 0);
    EXPECT_EQ(doc->GetElementList().GetCount(), elementsNow);
}

TEST_F(ContainerExchangeTest, AChildListNamingItsOwnContainerIsRefused)
{
    CTestLoopContainer* loop = AddLoopWithTwoChildren();
    doc->m_serialising = FALSE;
    Bytes bytes = Store([&](CArchive& ar) { ar.WriteObject(loop); });
    // The empty list becomes one entry: a reference to object 2, the container.
    bytes.resize(bytes.size() - 2);
    bytes = bytes + Hex("01 00 02 00");
    doc->m_serialising = TRUE;
    try {
        delete LoadLoop(bytes);
        FAIL() << "the loop in the tree was accepted";
    } catch (CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::badIndex);
    }
}

TEST_F(ContainerExchangeTest, AChildListWithANonElementIsRefused)
{
    CTestLoopContainer* loop = AddLoopWithTwoChildren();
    doc->m_serialising = FALSE;
    Bytes bytes = Store([&](CArchive& ar) { ar.WriteObject(loop); });
    bytes.resize(bytes.size() - 2);
    // One entry of a class that is no element: a time stamp.
    bytes = bytes + Hex("01 00 FF FF 00 00 0A 00") + Ascii("CTimeStamp") + Hex("00 00 00 00 00 00 00 00");
    doc->m_serialising = TRUE;
    EXPECT_THROW(delete LoadLoop(bytes), CArchiveException);
}

TEST_F(ContainerExchangeTest, ChildrenTravelAsRecordsBetweenLoopAndEnd)
{
    CTestLoopContainer* loop = AddLoopWithTwoChildren();
    const Bytes file = StoreJvx(
        kVersion, [&](CJVXArchive& ar) { loop->ExportJVX(ar); }, nullptr, doc.get());
    const size_t line = 513 + 2;
    ASSERT_EQ(file.size(), 4 * line);
    EXPECT_EQ(std::string(file.begin() + 6, file.begin() + 10), "LOOP");
    EXPECT_EQ(std::string(file.begin() + line + 6, file.begin() + line + 10), "COPY");
    EXPECT_EQ(std::string(file.begin() + 3 * line + 6, file.begin() + 3 * line + 10), "ENDL");

    JvxReader in(file, kVersion, nullptr, doc.get());
    std::unique_ptr<CFormElement> read = ReadTopLevel(in.Archive());
    ASSERT_NE(read, nullptr);
    auto* container = static_cast<CTestLoopContainer*>(read.get());
    EXPECT_EQ(ChildNames(*container), QStringList({"first", "second"}));
    for (CObject* object : container->GetChildList())
        EXPECT_TRUE(doc->ContainsElement(static_cast<CFormElement*>(object)));
    EXPECT_TRUE(in.Archive().IsAtEnd());
    EXPECT_FALSE(in.Archive().TakeReadError());
    doc->AddElement(read.release(), FALSE, nullptr);
}

TEST_F(ContainerExchangeTest, ReadingInsideAContainerEndsWithTheFile)
{
    CTestLoopContainer* loop = AddLoopWithTwoChildren();
    const Bytes file = StoreJvx(
        kVersion, [&](CJVXArchive& ar) { loop->ExportJVX(ar); }, nullptr, doc.get());
    const size_t line = 513 + 2;
    struct Case
    {
        const char* name;
        size_t length;
        int children;
    };
    const Case cases[] = {
        {"after the first child", 2 * line, 1},
        {"inside the second child", 2 * line + 100, 1},
        {"without the end record", 3 * line, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JvxReader in(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(c.length)), kVersion, nullptr,
                     doc.get());
        std::unique_ptr<CFormElement> read = ReadTopLevel(in.Archive());
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(static_cast<CTestLoopContainer*>(read.get())->GetChildCount(), c.children);
        EXPECT_FALSE(in.Archive().TakeReadError());
        doc->AddElement(read.release(), FALSE, nullptr);
    }
}

TEST_F(ContainerExchangeTest, AFailureAmongTheChildrenIsKeptForTheTopLevelReader)
{
    CTestLoopContainer* loop = AddLoopWithTwoChildren();
    Bytes file = StoreJvx(
        kVersion, [&](CJVXArchive& ar) { loop->ExportJVX(ar); }, nullptr, doc.get());
    const size_t line = 513 + 2;
    // The second child's line end becomes "XY".
    file[3 * line - 2] = 'X';
    file[3 * line - 1] = 'Y';
    JvxReader in(file, kVersion, nullptr, doc.get());
    std::unique_ptr<CFormElement> read = ReadTopLevel(in.Archive());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(static_cast<CTestLoopContainer*>(read.get())->GetChildCount(), 1);
    std::exception_ptr error = in.Archive().TakeReadError();
    ASSERT_TRUE(error);
    try {
        std::rethrow_exception(error);
    } catch (CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::badIndex);
    }
    EXPECT_FALSE(in.Archive().TakeReadError());
    doc->AddElement(read.release(), FALSE, nullptr);
}

TEST_F(ContainerExchangeTest, RecordsThatMakeNoElementAreHandedToTheContainer)
{
    auto* loop = new CTestLoopContainer(doc.get());
    doc->AddElement(loop, FALSE, nullptr);
    const Bytes file = StoreJvx(kVersion, [&](CJVXArchive& ar) {
        for (const char* opcode : {"LOOP", "BRKL", "ENDI", "copy", "ENDL", "COPY"}) {
            CAPRTPDMRec record(doc.get());
            record.m_opcode.SetValue(QString::fromLatin1(opcode));
            record.ExchangeJVX(ar);
        }
    });
    JvxReader in(file, kVersion, nullptr, doc.get());
    std::unique_ptr<CFormElement> read = ReadTopLevel(in.Archive());
    ASSERT_NE(read, nullptr);
    auto* container = static_cast<CTestLoopContainer*>(read.get());
    EXPECT_EQ(container->GetChildCount(), 0);
    EXPECT_EQ(container->skipped, (std::vector<int>{FormElementType::BreakLoop, FormElementType::EndConditional,
                                                    FormElementType::BlankRecord}));
    // The record after "ENDL" is left for the reader above.
    EXPECT_FALSE(in.Archive().IsAtEnd());
    doc->AddElement(read.release(), FALSE, nullptr);
}

} // namespace
