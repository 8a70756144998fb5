#include "designer/document/XmlImport.h"
#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/XmlImportStrings.h"
#include "designer/elements/FormXmlAttributeElement.h"
#include "designer/elements/FormXmlCommentElement.h"
#include "designer/elements/FormXmlElement.h"
#include "designer/elements/FormXmlInstructionElement.h"
#include "designer/elements/XmlSchemaNodes.h"
#include "tests/support/JvxBytes.h"
#include "tests/support/WvdDocumentFixture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QString>

#include <algorithm>
#include <memory>
#include <ostream>
#include <tuple>
#include <vector>

namespace {

using T = FormElementType;

// One imported element as the user sees it: kind, name (or comment text),
// 1-based line and column of its box (0 for the instruction, which has none)
// and the name of its container.
struct Placed
{
    int type;
    QString name;
    int line;
    int column;
    QString container;

    friend bool operator==(const Placed&, const Placed&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Placed& p)
    {
        return out << p.type << " " << p.name.toStdString() << " @" << p.line << "," << p.column << " in "
                   << p.container.toStdString();
    }
};

QString NameOf(const CFormElement* element)
{
    if (const auto* e = dynamic_cast<const CFormXmlElement*>(element))
        return e->GetName();
    if (const auto* a = dynamic_cast<const CFormXmlAttributeElement*>(element))
        return a->GetName();
    if (const auto* c = dynamic_cast<const CFormXmlCommentElement*>(element))
        return c->GetText();
    if (const auto* i = dynamic_cast<const CFormXmlInstructionElement*>(element))
        return i->GetName();
    return {};
}

QString DataFile(const char* name)
{
    return QDir(QStringLiteral(KWVD_TEST_DATA_DIR)).filePath(QStringLiteral("xml/") + QLatin1String(name));
}

class XmlImportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(doc.OnNewDocument());
        doc.SetDocType(1);
        ASSERT_TRUE(doc.GetSourcePage()->SetSizeInCells(80, 66));
        cw = doc.GetSourcePage()->GetCellWidth();
        ch = doc.GetSourcePage()->GetCellHeight();
        ASSERT_GT(cw, 0);
        ASSERT_GT(ch, 0);
        // What the new document had to say is not the import's.
        env.prompts->ClearRecorded();
    }

    BOOL Import(const char* name)
    {
        CDocChangeGuard guard(&doc);
        return CDesignerDoc::ImportXmlFile(&doc, DataFile(name));
    }

    // The XML elements of the document, in document order.
    std::vector<Placed> Layout() const
    {
        std::vector<Placed> placed;
        for (CObject* object : doc.GetElementList()) {
            auto* element = dynamic_cast<CFormElement*>(object);
            if (element == nullptr || element->GetType() < T::XmlAttribute)
                continue;
            const kwvd::Rect box = element->SourceRect();
            const bool none = box.IsNull();
            placed.push_back({element->GetType(), NameOf(element), none ? 0 : box.top / ch + 1,
                              none ? 0 : box.left / cw + 1, NameOf(element->GetParent())});
            if (!none) {
                EXPECT_EQ(box.Height(), ch) << NameOf(element).toStdString();
            }
        }
        return placed;
    }

    template <class Kind>
    Kind* Find(const QString& name) const
    {
        for (CObject* object : doc.GetElementList())
            if (auto* element = dynamic_cast<Kind*>(object); element != nullptr && NameOf(element) == name)
                return element;
        return nullptr;
    }

    const std::vector<RecordedPrompt>& Prompted() const { return env.prompts->Recorded(); }

    WvdTestEnvironment env;
    CDesignerDoc doc;
    int cw = 0;
    int ch = 0;
};

const QString kOrder = QStringLiteral("Order");

// Kind, name and constant-data flag of every XML kind with a text value, in
// a stable order: what tells the host to take constant data rather than
// spooled text at a place.
std::vector<std::tuple<int, QString, bool>> ConstantDataFlags(const CDesignerDoc& doc)
{
    std::vector<std::tuple<int, QString, bool>> flags;
    for (CObject* object : doc.GetElementList()) {
        const auto* element = dynamic_cast<const CFormElement*>(object);
        if (const auto* e = dynamic_cast<const CFormXmlElement*>(element))
            flags.emplace_back(e->GetType(), NameOf(e), e->GetConstantDataFlag() != FALSE);
        else if (const auto* a = dynamic_cast<const CFormXmlAttributeElement*>(element))
            flags.emplace_back(a->GetType(), NameOf(a), a->GetConstantDataFlag() != FALSE);
        else if (const auto* c = dynamic_cast<const CFormXmlCommentElement*>(element))
            flags.emplace_back(c->GetType(), NameOf(c), c->GetConstantDataFlag() != FALSE);
    }
    std::sort(flags.begin(), flags.end());
    return flags;
}

std::vector<Placed> Sorted(std::vector<Placed> list)
{
    std::sort(list.begin(), list.end(), [](const Placed& a, const Placed& b) {
        return std::tie(a.line, a.column, a.type, a.name, a.container)
               < std::tie(b.line, b.column, b.type, b.name, b.container);
    });
    return list;
}

TEST_F(XmlImportTest, SchemaWithOneUnreferencedTypeAsksAndBuildsIt)
{
    env.prompts->AnswerMessageBox(IDYES);
    EXPECT_TRUE(Import("orders.xdr"));

    ASSERT_EQ(Prompted().size(), 1u);
    EXPECT_EQ(Prompted()[0].kind, PromptKind::MessageBox);
    EXPECT_EQ(Prompted()[0].Buttons(), static_cast<UINT>(MB_YESNO));
    EXPECT_TRUE(Prompted()[0].text.startsWith(
        QStringLiteral("The most likely document element in this schema is \"Order\".  If this is not")));

    const std::vector<Placed> expected = {
        {T::XmlElement, kOrder, 1, 1, {}},
        {T::XmlAttribute, QStringLiteral("orderNo"), 2, 2, kOrder},
        {T::XmlAttribute, QStringLiteral("currency"), 3, 2, kOrder},
        {T::XmlElement, QStringLiteral("Line"), 4, 2, kOrder},
        {T::XmlAttribute, QStringLiteral("qty"), 5, 3, QStringLiteral("Line")},
        {T::XmlElement, QStringLiteral("Sku"), 6, 3, QStringLiteral("Line")},
        {T::XmlElement, QStringLiteral("Price"), 7, 3, QStringLiteral("Line")},
        // "Discount" has no declaration: nothing, and no line taken.
        {T::XmlElement, QStringLiteral("Note"), 8, 2, kOrder},
    };
    EXPECT_EQ(Layout(), expected);

    auto* order = Find<CFormXmlElement>(kOrder);
    auto* line = Find<CFormXmlElement>(QStringLiteral("Line"));
    auto* price = Find<CFormXmlElement>(QStringLiteral("Price"));
    auto* note = Find<CFormXmlElement>(QStringLiteral("Note"));
    auto* sku = Find<CFormXmlElement>(QStringLiteral("Sku"));
    auto* currency = Find<CFormXmlAttributeElement>(QStringLiteral("currency"));
    ASSERT_TRUE(order && line && price && note && sku && currency);

    QString info;
    order->GetSchemaInfo(info);
    EXPECT_EQ(info, QStringLiteral("Content =\teltOnly\nOrder =  \tseq\n"));
    line->GetSchemaInfo(info);
    EXPECT_EQ(info, QStringLiteral("Content =\teltOnly\nOrder =  \tseq\nModel =  \tclosed\nOccurs = \t1 - *"));
    price->GetSchemaInfo(info);
    EXPECT_EQ(info, QStringLiteral("Content =\ttextOnly\nType =   \tfixed.14.4\nOccurs = \t0 - 1"));
    note->GetSchemaInfo(info);
    EXPECT_EQ(info, QStringLiteral("Content =\tmixed\nOccurs = \t0 - "));
    currency->GetSchemaInfo(info);
    EXPECT_EQ(info, QStringLiteral("Type =    \tenumeration\nValues =  \tGBP EUR USD\nRequired =\tyes"));

    // "eltOnly" and "empty" hold no text of their own.
    EXPECT_TRUE(order->GetConstantDataFlag());
    EXPECT_TRUE(line->GetConstantDataFlag());
    EXPECT_TRUE(sku->GetConstantDataFlag()) << "made by the schema walk, so constant data";
    EXPECT_TRUE(order->GetValue().isEmpty());
}

TEST_F(XmlImportTest, NoToTheQuestionOffersTheSortedListAndBuildsTheChoice)
{
    env.prompts->AnswerMessageBox(IDNO);
    env.prompts->AnswerList(0); // "Line"
    EXPECT_TRUE(Import("orders.xdr"));
    ASSERT_EQ(Prompted().size(), 2u);
    const RecordedPrompt& list = Prompted()[1];
    EXPECT_EQ(list.kind, PromptKind::ListChoice);
    EXPECT_EQ(list.caption, QStringLiteral("Select XML Element"));
    EXPECT_EQ(list.text, QStringLiteral("Please select your base element name:"));
    EXPECT_EQ(list.list.items, (QStringList{QStringLiteral("Line"), QStringLiteral("Note"), kOrder,
                                            QStringLiteral("Price"), QStringLiteral("Sku")}));
    const std::vector<Placed> layout = Layout();
    ASSERT_EQ(layout.size(), 4u);
    EXPECT_EQ(layout[0], (Placed{T::XmlElement, QStringLiteral("Line"), 1, 1, {}}));
    EXPECT_EQ(layout[3], (Placed{T::XmlElement, QStringLiteral("Price"), 4, 2, QStringLiteral("Line")}));
}

TEST_F(XmlImportTest, CancellingTheListImportsTheSchemaFileAsASample)
{
    // A recursive schema has no unreferenced type: the list comes at once.
    env.prompts->AnswerList(-1);
    EXPECT_TRUE(Import("recursive.xdr"));
    ASSERT_EQ(Prompted().size(), 1u);
    EXPECT_EQ(Prompted()[0].list.items, (QStringList{QStringLiteral("Name"), QStringLiteral("Part")}));
    const std::vector<Placed> layout = Layout();
    ASSERT_GE(layout.size(), 4u);
    EXPECT_EQ(layout[0], (Placed{T::XmlElement, QStringLiteral("Schema"), 2, 1, {}}));
    EXPECT_EQ(layout[1], (Placed{T::XmlAttribute, QStringLiteral("xmlns"), 3, 2, QStringLiteral("Schema")}));
    EXPECT_EQ(layout[2], (Placed{T::XmlAttribute, QStringLiteral("xmlns:dt"), 4, 2, QStringLiteral("Schema")}));
    EXPECT_EQ(layout[3], (Placed{T::XmlElement, QStringLiteral("ElementType"), 5, 2, QStringLiteral("Schema")}));
}

TEST_F(XmlImportTest, RecursiveSchemaStopsAtATypeOnItsOwnPathAndSaysSo)
{
    env.prompts->AnswerList(1); // "Part"
    EXPECT_TRUE(Import("recursive.xdr"));
    const std::vector<Placed> expected = {
        {T::XmlElement, QStringLiteral("Part"), 1, 1, {}},
        {T::XmlElement, QStringLiteral("Name"), 2, 2, QStringLiteral("Part")},
        {T::XmlElement, QStringLiteral("Part"), 3, 2, QStringLiteral("Part")},
    };
    EXPECT_EQ(Layout(), expected);
    ASSERT_EQ(Prompted().size(), 2u);
    EXPECT_EQ(Prompted()[1].kind, PromptKind::MessageBox);
    EXPECT_TRUE(Prompted()[1].text.contains(QStringLiteral("Part"))) << Prompted()[1].text.toStdString();
    // The inner occurrence keeps the reference's limits.
    QString info;
    CFormXmlElement* inner = nullptr;
    for (CObject* object : doc.GetElementList())
        if (auto* e = dynamic_cast<CFormXmlElement*>(object); e != nullptr && e->GetName() == QStringLiteral("Part"))
            inner = e; // the last one, the inner occurrence
    ASSERT_NE(inner, nullptr);
    ASSERT_NE(inner->GetParent(), nullptr);
    inner->GetSchemaInfo(info);
    EXPECT_TRUE(info.endsWith(QStringLiteral("Occurs = \t0 - *")));
    EXPECT_EQ(inner->GetChildCount(), 0);
}

// A schema of levels + 1 types in which each type refers twice to the next:
// the full tree holds 2^(levels + 1) - 1 elements.
QString WriteDoublingSchema(const QDir& folder, int levels)
{
    QByteArray xml = "<?xml version=\"1.0\"?>\n<Schema xmlns=\"urn:schemas-microsoft-com:xml-data\">\n";
    xml += QStringLiteral("<ElementType name=\"T%1\" content=\"textOnly\"/>\n").arg(levels).toUtf8();
    for (int n = levels - 1; n >= 0; --n)
        xml += QStringLiteral("<ElementType name=\"T%1\" content=\"eltOnly\"><element type=\"T%2\"/>"
                              "<element type=\"T%2\"/></ElementType>\n")
                   .arg(n)
                   .arg(n + 1)
                   .toUtf8();
    xml += "</Schema>\n";
    const QString path = folder.filePath(QStringLiteral("doubling-%1.xdr").arg(levels));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(xml);
    return path;
}

TEST_F(XmlImportTest, SchemaImportEndsAtItsLimitWithNothingMade)
{
    RegisterXmlImportStrings();
    struct Case
    {
        const char* name;
        QString path;
        int expectedElements; // XML elements in the document afterwards
    };
    const QDir folder(env.folder.path());
    const Case cases[] = {
        // 4,095 elements: below the limit, built whole.
        {"eleven doublings fit", WriteDoublingSchema(folder, 11), 4095},
        {"twelve doublings (the file from the field)", DataFile("doubling-12.xdr"), 0},
        // 2^41 elements: this ends only because the walk stops at the limit.
        {"forty doublings", WriteDoublingSchema(folder, 40), 0},
    };
    ASSERT_LT(4095, kMaxSchemaImportElements);
    ASSERT_GT(8191, kMaxSchemaImportElements);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDesignerDoc fresh;
        ASSERT_TRUE(fresh.OnNewDocument());
        fresh.SetDocType(1);
        const qsizetype before = fresh.GetElementList().GetCount();
        env.prompts->ClearRecorded();
        env.prompts->AnswerMessageBox(IDYES); // "T0" is the document element
        {
            CDocChangeGuard guard(&fresh);
            EXPECT_TRUE(CDesignerDoc::ImportXmlFile(&fresh, c.path));
        }
        EXPECT_EQ(fresh.GetElementList().GetCount() - before, c.expectedElements);
        EXPECT_FALSE(XmlImportBatch::IsOpen());
        // A new document's Output element stays the last one.
        auto* last = dynamic_cast<CFormElement*>(fresh.GetElementList().GetTail());
        ASSERT_NE(last, nullptr);
        EXPECT_EQ(last->GetType(), T::Output);
        if (c.expectedElements == 0) {
            ASSERT_EQ(Prompted().size(), 2u);
            EXPECT_EQ(Prompted()[1].text,
                      QStringLiteral("Error loading Xml Schema %1.\nThe schema describes more than %2 elements. "
                                     "Nothing was imported.")
                          .arg(c.path)
                          .arg(kMaxSchemaImportElements));
        } else {
            EXPECT_EQ(Prompted().size(), 1u) << "only the question";
        }
    }
}

TEST_F(XmlImportTest, TypeDeclaredTwiceIsBuiltFromItsFirstDeclaration)
{
    const QString path = env.folder.filePath(QStringLiteral("twice.xdr"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(R"(<Schema xmlns="urn:schemas-microsoft-com:xml-data">
<ElementType name="Root" content="eltOnly"><element type="Line"/><attribute type="code"/></ElementType>
<AttributeType name="code" default="first"/>
<ElementType name="Line" content="textOnly"/>
<ElementType name="Line" content="empty"/>
<AttributeType name="code" default="second"/>
</Schema>)");
    }
    env.prompts->AnswerMessageBox(IDYES);
    {
        CDocChangeGuard guard(&doc);
        ASSERT_TRUE(CDesignerDoc::ImportXmlFile(&doc, path));
    }
    auto* line = Find<CFormXmlElement>(QStringLiteral("Line"));
    auto* code = Find<CFormXmlAttributeElement>(QStringLiteral("code"));
    ASSERT_TRUE(line && code);
    QString info;
    line->GetSchemaInfo(info);
    EXPECT_EQ(info, QStringLiteral("Content =\ttextOnly\n"));
    code->GetSchemaInfo(info);
    EXPECT_EQ(info, QStringLiteral("Default = \tfirst\n"));
}

TEST_F(XmlImportTest, SampleGivesNamesAsWrittenWithDeclarationsCommentsAndInstructions)
{
    EXPECT_TRUE(Import("sample.xml"));
    EXPECT_TRUE(Prompted().empty());
    const QString invoice = QStringLiteral("inv:Invoice");
    const std::vector<Placed> expected = {
        {T::XmlElement, invoice, 2, 1, {}},
        {T::XmlAttribute, QStringLiteral("xmlns:inv"), 3, 2, invoice},
        {T::XmlAttribute, QStringLiteral("xmlns"), 4, 2, invoice},
        {T::XmlAttribute, QStringLiteral("number"), 5, 2, invoice},
        {T::XmlAttribute, QStringLiteral("inv:status"), 6, 2, invoice},
        {T::XmlComment, QStringLiteral(" printed twice "), 7, 2, invoice},
        {T::XmlElement, QStringLiteral("Customer"), 8, 2, invoice},
        {T::XmlInstruction, QStringLiteral("page"), 0, 0, invoice},
        {T::XmlElement, QStringLiteral("inv:Total"), 10, 2, invoice},
        {T::XmlAttribute, QStringLiteral("currency"), 11, 3, QStringLiteral("inv:Total")},
    };
    EXPECT_EQ(Layout(), expected);
    auto* customer = Find<CFormXmlElement>(QStringLiteral("Customer"));
    ASSERT_NE(customer, nullptr);
    EXPECT_TRUE(customer->GetValue().isEmpty()) << "text content is not imported";
    EXPECT_EQ(customer->GetChildCount(), 0);
}

TEST_F(XmlImportTest, UnreadableFilesReportAndAskForAnother)
{
    struct Case
    {
        const char* name;
        QString path;
        QString expected;
    };
    const QString malformed = DataFile("malformed.xml");
    const QString folder = DataFile("");
    const QString missing = DataFile("missing.xml");
    const Case cases[] = {
        {"not well-formed", malformed,
         QStringLiteral(
             "Error reading Xml file %1.\nOpening and ending tag mismatch: Line line 3 and Lien\nLine 5, Col 10.")
             .arg(malformed)},
        {"a folder", folder, QStringLiteral("Error loading Xml file %1.\n0000060d - ").arg(folder)},
        {"missing", missing, QStringLiteral("Error loading Xml file %1.\n0000060d - ").arg(missing)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        env.prompts->ClearRecorded();
        CDocChangeGuard guard(&doc);
        EXPECT_FALSE(CDesignerDoc::ImportXmlFile(&doc, c.path));
        ASSERT_EQ(Prompted().size(), 1u);
        EXPECT_TRUE(Prompted()[0].text.startsWith(c.expected)) << Prompted()[0].text.toStdString();
        EXPECT_TRUE(Layout().empty());
    }
}

TEST_F(XmlImportTest, ExternalEntitiesAreNotExpanded)
{
    EXPECT_TRUE(Import("entity.xml"));
    const std::vector<Placed> expected = {{T::XmlElement, QStringLiteral("Root"), 2, 1, {}}};
    EXPECT_EQ(Layout(), expected);
}

TEST_F(XmlImportTest, ImportedDocumentSurvivesWvdAndJvx)
{
    env.prompts->AnswerMessageBox(IDYES);
    ASSERT_TRUE(Import("orders.xdr"));
    const std::vector<Placed> before = Layout();

    CDesignerDoc copy;
    ASSERT_TRUE(copy.OnNewDocument());
    LoadDocument(copy, StoreDocument(doc));
    std::vector<Placed> after;
    for (CObject* object : copy.GetElementList()) {
        auto* element = dynamic_cast<CFormElement*>(object);
        if (element == nullptr || element->GetType() < T::XmlAttribute)
            continue;
        const kwvd::Rect box = element->SourceRect();
        after.push_back(
            {element->GetType(), NameOf(element), box.top / ch + 1, box.left / cw + 1, NameOf(element->GetParent())});
    }
    // A reload lists nested children before their containers, so the
    // elements are compared by their places.
    EXPECT_EQ(Sorted(after), Sorted(before));
    CFormXmlElement* price = nullptr;
    for (CObject* object : copy.GetElementList())
        if (auto* e = dynamic_cast<CFormXmlElement*>(object); e != nullptr && e->GetName() == QStringLiteral("Price"))
            price = e;
    ASSERT_NE(price, nullptr);
    EXPECT_EQ(price->GetMinOccurs(), QStringLiteral("0"));
    EXPECT_EQ(price->GetMaxOccurs(), QStringLiteral("1"));
    EXPECT_EQ(price->GetDataType(), QStringLiteral("fixed.14.4"));

    // The element records of the whole tree read back into the same tree.
    auto* order = Find<CFormXmlElement>(kOrder);
    ASSERT_NE(order, nullptr);
    doc.m_jvxRecordCounter = 1;
    const Bytes jvx = StoreJvx(
        28, [&](CJVXArchive& ar) { order->ExportJVX(ar); }, nullptr, &doc);
    doc.m_jvxRecordCounter = 0;
    const auto flagsBefore = ConstantDataFlags(doc);
    ASSERT_FALSE(flagsBefore.empty());
    {
        CDocChangeGuard guard(&doc);
        doc.DeleteElement(order, TRUE);
    }
    ASSERT_TRUE(Layout().empty());
    JvxReader in(jvx, 28, nullptr, &doc);
    CAPRTPDMRec record(&doc);
    record.ExchangeJVX(in.Archive());
    ASSERT_TRUE(record.IsValid());
    CFormElement* read = record.CreateElement(in.Archive());
    ASSERT_NE(read, nullptr);
    if (!doc.ContainsElement(read))
        doc.AddElement(read, FALSE, nullptr);
    std::vector<Placed> reread = Layout();
    std::vector<Placed> names;
    std::vector<Placed> beforeNames;
    for (Placed p : reread) {
        // The records keep no place for constant data.
        p.line = p.column = 0;
        names.push_back(p);
    }
    for (Placed p : before) {
        p.line = p.column = 0;
        beforeNames.push_back(p);
    }
    EXPECT_EQ(Sorted(names), Sorted(beforeNames));
    EXPECT_EQ(ConstantDataFlags(doc), flagsBefore);
}

TEST_F(XmlImportTest, ImportedDocumentSurvivesTheJvxFile)
{
    env.prompts->AnswerMessageBox(IDYES);
    ASSERT_TRUE(Import("orders.xdr"));
    std::vector<Placed> before;
    for (Placed p : Layout()) {
        p.line = p.column = 0; // constant data keeps no place in the file
        before.push_back(p);
    }
    const QString path = env.folder.filePath(QStringLiteral("orders.jvx"));
    QString member = QStringLiteral("ORDERS");
    ASSERT_TRUE(doc.ExportJVXFile(path, member, 28));

    CDesignerDoc copy;
    ASSERT_TRUE(copy.OnNewDocument());
    {
        CDocChangeGuard guard(&copy);
        ASSERT_TRUE(copy.ImportJVXFile(path));
    }
    std::vector<Placed> after;
    for (CObject* object : copy.GetElementList()) {
        auto* element = dynamic_cast<CFormElement*>(object);
        if (element != nullptr && element->GetType() >= T::XmlAttribute)
            after.push_back({element->GetType(), NameOf(element), 0, 0, NameOf(element->GetParent())});
    }
    EXPECT_EQ(Sorted(after), Sorted(before));
    EXPECT_EQ(ConstantDataFlags(copy), ConstantDataFlags(doc));
}

} // namespace
