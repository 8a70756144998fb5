#include "designer/views/pages/tests/DataPositionPageFixture.h"

#include "designer/elements/FormVariableElement.h"
#include "designer/elements/VariableStrings.h"
#include "designer/views/pages/VariablePropPage.h"

namespace {

using Page = CVariablePropPage;

const QString kReservedText =
    QStringLiteral("Reserved variable name. Please choose another name. Reserved Names:\nPARM1-PARM6\nPAGE\nPOSITION");
const QString kMaximumText = QStringLiteral("Maximum Variables already in Use. The Maximum is 999.");

class VariablePageTest : public DataPositionPageTest
{
protected:
    VariablePageTest() { RegisterVariableStrings(); }

    CFormVariableElement* MakeVariable(const QString& name)
    {
        auto* variable = static_cast<CFormVariableElement*>(
            Make(FormElementType::Variable, SourceCells(3, 2, 9, 3), nullptr, PaneSide::Input));
        if (variable != nullptr && !name.isEmpty()) {
            CDocChangeGuard change(&Doc());
            variable->SetName(name);
        }
        env.env.prompts->ClearRecorded();
        return variable;
    }

    QStringList Messages() const
    {
        QStringList texts;
        for (const RecordedPrompt& prompt : env.env.prompts->Recorded())
            texts << prompt.text;
        return texts;
    }

    // Typed into the name's edit, one character after the other.
    static void TypeName(Page& page, const QString& text)
    {
        for (qsizetype i = 1; i <= text.size(); ++i)
            Type(page, Page::IDC_NAME, page.Control(Page::IDC_NAME).text + text[i - 1], PageNotification::EditUpdate);
    }
};

TEST_F(VariablePageTest, ReservedNameIsReportedAtTheKeystrokeThatFormsIt)
{
    struct Case
    {
        const char* name;
        QString typed;
        QString taken;
        QStringList messages;
        int changes;
    };
    const Case cases[] = {
        {"PAGE: refused at the fourth letter", QStringLiteral("PAGE"), QStringLiteral("PAG"), {kReservedText}, 3},
        {"page in lower case", QStringLiteral("page"), QStringLiteral("page"), {}, 4},
        {"POSITION reported once, PAGE never formed",
         QStringLiteral("POSITION"),
         QStringLiteral("POSITIO"),
         {kReservedText},
         7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFormVariableElement* variable = MakeVariable(QStringLiteral("V"));
        std::unique_ptr<Page> page = KindPage<Page>(variable);
        ASSERT_NE(page, nullptr);
        page->Control(Page::IDC_NAME).text.clear();
        const DWORD start = Doc().GetBuildId();
        TypeName(*page, c.typed);
        EXPECT_EQ(variable->GetVariableName(), c.taken);
        EXPECT_EQ(Messages(), c.messages);
        EXPECT_EQ(Doc().GetBuildId(), start + static_cast<DWORD>(c.changes));
        EXPECT_EQ(page->Control(Page::IDC_NAME).text, c.typed) << "the typed text stays until the next refresh";
        page->RefreshPage();
        EXPECT_EQ(page->Control(Page::IDC_NAME).text, c.taken);
    }
}

TEST_F(VariablePageTest, EmptyNameIsIgnoredWithoutAMessage)
{
    CFormVariableElement* variable = MakeVariable(QStringLiteral("TOTAL"));
    std::unique_ptr<Page> page = KindPage<Page>(variable);
    ASSERT_NE(page, nullptr);
    const DWORD start = Doc().GetBuildId();
    Type(*page, Page::IDC_NAME, QString(), PageNotification::EditUpdate);
    EXPECT_EQ(variable->GetVariableName(), QStringLiteral("TOTAL"));
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(Doc().GetBuildId(), start);
}

TEST_F(VariablePageTest, NamePickedFromTheListIsSharedAndListedOnce)
{
    MakeVariable(QStringLiteral("TOTAL"));
    CFormVariableElement* other = MakeVariable(QStringLiteral("NAME"));
    std::unique_ptr<Page> page = KindPage<Page>(other);
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(page->Control(Page::IDC_NAME).items, (QStringList{QStringLiteral("NAME"), QStringLiteral("TOTAL")}));

    // The list closes on TOTAL: the entry's text, whatever the edit read.
    page->Control(Page::IDC_NAME).selection = 1;
    page->Control(Page::IDC_NAME).text = QStringLiteral("TOT");
    page->OnControlNotify(Page::IDC_NAME, PageNotification::CloseUp);
    EXPECT_EQ(other->GetVariableName(), QStringLiteral("TOTAL"));
    EXPECT_EQ(page->Control(Page::IDC_NAME).text, QStringLiteral("TOTAL"));
    EXPECT_EQ(page->Control(Page::IDC_NAME).selection, -1) << "the edit shows the name as text";

    std::unique_ptr<Page> fresh = KindPage<Page>(other);
    EXPECT_EQ(fresh->Control(Page::IDC_NAME).items, QStringList{QStringLiteral("TOTAL")});

    // Closed without a choice: nothing to apply.
    const DWORD start = Doc().GetBuildId();
    fresh->Control(Page::IDC_NAME).selection = -1;
    fresh->OnControlNotify(Page::IDC_NAME, PageNotification::CloseUp);
    EXPECT_EQ(Doc().GetBuildId(), start);
}

TEST_F(VariablePageTest, AtTheLimitANewNameIsRefusedAndAnExistingOneTaken)
{
    for (int i = 0; i < CFormVariableElement::kMaxVariableNames; ++i) {
        auto* variable = static_cast<CFormVariableElement*>(
            Doc().CreateNewElement(FormElementType::Variable, PaneSide::Output, {}, nullptr));
        ASSERT_NE(variable, nullptr);
        variable->SetName(QStringLiteral("V%1").arg(i));
    }
    CFormVariableElement* variable = MakeVariable({});
    std::unique_ptr<Page> page = KindPage<Page>(variable);
    ASSERT_NE(page, nullptr);
    const QString before = variable->GetVariableName();

    Type(*page, Page::IDC_NAME, QStringLiteral("NEW"), PageNotification::EditUpdate);
    EXPECT_EQ(variable->GetVariableName(), before);
    EXPECT_EQ(Messages(), QStringList{kMaximumText});

    env.env.prompts->ClearRecorded();
    Type(*page, Page::IDC_NAME, QStringLiteral("V17"), PageNotification::EditUpdate);
    EXPECT_EQ(variable->GetVariableName(), QStringLiteral("V17"));
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(VariablePageTest, RecordCarriesTheElementsValuesAndTheInputPagesLimits)
{
    CFormVariableElement* variable = MakeVariable(QStringLiteral("TOTAL"));
    std::unique_ptr<Page> page = KindPage<Page>(variable);
    ASSERT_NE(page, nullptr);
    const VariablePageValues& data = page->Data();
    EXPECT_EQ(data.name, QStringLiteral("TOTAL"));
    EXPECT_EQ(data.column, 3);
    EXPECT_EQ(data.line, 2);
    EXPECT_EQ(data.width, 6);
    EXPECT_FALSE(data.useData);
    EXPECT_EQ(data.largestColumn, Input().GetPixelWidth() / Input().GetCellWidth());
    EXPECT_EQ(data.largestLine, Input().GetPixelHeight() / Input().GetCellHeight());
    EXPECT_EQ(page->GetTitle(), QStringLiteral("Variable"));
    EXPECT_EQ(page->GetLabel(Page::IDC_NAME), QStringLiteral("Index:"));
    EXPECT_EQ(page->GetLabel(Page::IDC_POSITION_RADIO), QStringLiteral("Or Position:"));
}

} // namespace
