#include "designer/views/pages/tests/DataPositionPageFixture.h"

#include "designer/elements/FormXmlAttributeElement.h"
#include "designer/elements/FormXmlCommentElement.h"
#include "designer/elements/FormXmlElement.h"
#include "designer/elements/FormXmlInstructionElement.h"
#include "designer/views/pages/XmlPropPages.h"

#include <ostream>

namespace {

// Counts the hints the document broadcasts.
class HintCounter : public DocumentChangeListener
{
public:
    void OnDocumentChanged(LPARAM hint, CObject*, CObject*) override { hints.push_back(hint); }
    int Count(LPARAM hint) const { return static_cast<int>(std::count(hints.begin(), hints.end(), hint)); }

    std::vector<LPARAM> hints;
};

class XmlPagesTest : public DataPositionPageTest
{
protected:
    XmlPagesTest() { Doc().AddChangeListener(&counter); }
    ~XmlPagesTest() override { Doc().RemoveChangeListener(&counter); }

    CFormElement* MakeXml(int type)
    {
        CFormElement* element = type == FormElementType::XmlInstruction
                                    ? Make(type, {})
                                    : Make(type, SourceCells(2, 4, 10, 5), nullptr, PaneSide::Input);
        counter.hints.clear();
        return element;
    }

    HintCounter counter;
};

// The named pages: one model over the ids of its dialog.
struct NamedCase
{
    const char* name;
    int type;
    const XmlNamedPageIds* ids;
};

void PrintTo(const NamedCase& c, std::ostream* os)
{
    *os << c.name;
}

const NamedCase kNamed[] = {
    {"XmlElement", FormElementType::XmlElement, &CXmlElementPropPage::kIds},
    {"XmlAttribute", FormElementType::XmlAttribute, &CXmlAttributePropPage::kIds},
};

class XmlNamedPageTest : public XmlPagesTest, public ::testing::WithParamInterface<NamedCase>
{
protected:
    std::unique_ptr<CXmlElementPropPage> NamedPage(CFormElement* element)
    {
        if (GetParam().type == FormElementType::XmlAttribute)
            return KindPage<CXmlAttributePropPage>(element);
        return KindPage<CXmlElementPropPage>(element);
    }
};

TEST_P(XmlNamedPageTest, NameAppliesAtEveryKeystrokeAndTheDescriptionFollows)
{
    CFormElement* element = MakeXml(GetParam().type);
    ASSERT_NE(element, nullptr);
    std::unique_ptr<CXmlElementPropPage> page = NamedPage(element);
    ASSERT_NE(page, nullptr);
    const int nameId = GetParam().ids->name;
    EXPECT_EQ(page->GetDialogId(), GetParam().ids->dialog);
    EXPECT_EQ(&page->Ids(), GetParam().ids);
    const DWORD start = Doc().GetBuildId();

    const QString typed[] = {QStringLiteral("I"), QStringLiteral("In"), QStringLiteral("Inv")};
    for (const QString& text : typed) {
        Type(*page, nameId, text);
        EXPECT_EQ(element->GetDescription(), text);
    }
    EXPECT_EQ(Doc().GetBuildId(), start + 3) << "one change at each keystroke";
    EXPECT_EQ(counter.Count(DocumentHint::ElementChanged), 3);

    // A description typed on the General page no longer follows.
    std::unique_ptr<CGeneralPropPage> general = GeneralPage(element);
    Type(*general, CGeneralPropPage::IDC_DESCRIPTION, QStringLiteral("Invoice"), PageNotification::KillFocus);
    Type(*page, nameId, QStringLiteral("Invo"));
    EXPECT_EQ(element->GetDescription(), QStringLiteral("Invoice"));
    EXPECT_EQ(page->Data().name, QStringLiteral("Invo"));
}

INSTANTIATE_TEST_SUITE_P(Pages, XmlNamedPageTest, ::testing::ValuesIn(kNamed),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(XmlPagesTest, ElementStylesEndWithTheOccursLineWithoutABreak)
{
    auto* element = static_cast<CFormXmlElement*>(MakeXml(FormElementType::XmlElement));
    ASSERT_NE(element, nullptr);
    element->SetMinOccurs(QStringLiteral("0"));
    element->SetMaxOccurs(QStringLiteral("*"));
    std::unique_ptr<CXmlElementPropPage> page = KindPage<CXmlElementPropPage>(element);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->FindControl(CXmlElementPropPage::IDC_STYLES)->text, QStringLiteral("Occurs = \t0 - *"));
}

TEST_F(XmlPagesTest, CommentDataIsTheCommentText)
{
    auto* comment = static_cast<CFormXmlCommentElement*>(MakeXml(FormElementType::XmlComment));
    ASSERT_NE(comment, nullptr);
    std::unique_ptr<CXmlCommentPropPage> page = KindPage<CXmlCommentPropPage>(comment);
    ASSERT_NE(page, nullptr);
    Click(*page, CXmlCommentPropPage::IDC_DATA_RADIO);
    Type(*page, CXmlCommentPropPage::IDC_DATA, QStringLiteral("Totals follow"));
    EXPECT_EQ(comment->GetText(), QStringLiteral("Totals follow"));
    EXPECT_TRUE(comment->GetConstantDataFlag());

    Click(*page, CXmlCommentPropPage::IDC_POSITION_RADIO);
    EXPECT_FALSE(comment->GetConstantDataFlag());
    EXPECT_FALSE(Enabled(*page, CXmlCommentPropPage::IDC_DATA));
    for (const int id :
         {CXmlCommentPropPage::IDC_COLUMN, CXmlCommentPropPage::IDC_LINE, CXmlCommentPropPage::IDC_WIDTH})
        EXPECT_TRUE(Enabled(*page, id)) << id;
}

TEST_F(XmlPagesTest, InstructionNameAppliesAndShowsWhatTheElementTook)
{
    auto* instruction = static_cast<CFormXmlInstructionElement*>(MakeXml(FormElementType::XmlInstruction));
    ASSERT_NE(instruction, nullptr);
    std::unique_ptr<CXmlInstructionPropPage> page = KindPage<CXmlInstructionPropPage>(instruction);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->GetTitle(), QStringLiteral("XML Instruction"));
    const DWORD start = Doc().GetBuildId();

    Type(*page, CXmlInstructionPropPage::IDC_NAME, QStringLiteral("xml-stylesheet"));
    EXPECT_EQ(instruction->GetName(), QStringLiteral("xml-stylesheet"));
    EXPECT_EQ(instruction->GetDescription(), QStringLiteral("xml-stylesheet"));
    EXPECT_EQ(Doc().GetBuildId(), start + 1);

    // The same name again is no change; a change made elsewhere shows on refresh.
    Type(*page, CXmlInstructionPropPage::IDC_NAME, QStringLiteral("xml-stylesheet"));
    EXPECT_EQ(Doc().GetBuildId(), start + 1);
    {
        CDocChangeGuard change(&Doc());
        instruction->SetName(QStringLiteral("pi"));
    }
    EXPECT_EQ(page->OnUpdateData(), 1);
    EXPECT_EQ(page->FindControl(CXmlInstructionPropPage::IDC_NAME)->text, QStringLiteral("pi"));
}

} // namespace
