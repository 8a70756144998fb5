// Find and replace over real documents: the walk in tree order and then in
// document order after the question, case-sensitive hits, Replace and
// Replace All with their undo steps and their end, the hints that drop or
// rebuild what the search holds, and the dialog's own buttons and hiding.
// The user's answers come from the scripted prompt service; the frame that
// takes the hits to the explorer and the sheet records what it was given.

#include "designer/document/DesignerDoc.h"
#include "designer/elements/FormElement.h"
#include "designer/views/DesignFrame.h"
#include "designer/views/find/FindReplaceDlg.h"
#include "platform/ui/PromptService.h"
#include "tests/support/ExplorerDocFixture.h"
#include "tests/support/QtApplicationEnvironment.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <ostream>
#include <vector>

namespace {

const QString kReachedEnd =
    QStringLiteral("The search has reached the end of the Elements.\nWould you like to start back at the beginning ?");

// What the search asks of the frame.
class HitFrame : public IDesignFrame
{
public:
    std::vector<CFormElement*> explorerSelections;
    std::vector<CFormElement*> sheetElements;
    int sheetRefreshes = 0;

    int GetCurrentTool() const override { return 0; }
    void ResetToolUnlessLocked() override {}
    CFormElement* GetAnchorElement() const override { return nullptr; }
    void NotifyExplorer(CObject* element, LPARAM hint) override
    {
        EXPECT_EQ(hint, DocumentHint::SelectionChanged);
        explorerSelections.push_back(dynamic_cast<CFormElement*>(element));
    }
    void SetPropertySheetElement(CFormElement* element) override { sheetElements.push_back(element); }
    BOOL IsPropertySheetShown() const override { return TRUE; }
    void ShowPropertySheet() override {}
    void RefreshPropertySheet() override { ++sheetRefreshes; }
    BOOL ExecuteCommand(UINT) override { return FALSE; }
    std::optional<kwvd::RegistryKey> OpenLayoutKey(const QString&, bool) override { return std::nullopt; }
    void OnPaneActivated(CDesignView*) override {}
};

// The frame's part in the document's notices: every hint to the dialog,
// and the elements whose texts changed, in order.
class HintRelay : public DocumentChangeListener
{
public:
    explicit HintRelay(CFindReplaceDlg* dialog) : m_dialog(dialog) {}
    void OnDocumentChanged(LPARAM hint, CObject*, CObject* element) override
    {
        if (hint == DocumentHint::ElementChanged)
            changed.push_back(dynamic_cast<CFormElement*>(element));
        m_dialog->OnDocumentHint(hint, element);
    }
    std::vector<CFormElement*> changed;

private:
    CFindReplaceDlg* m_dialog;
};

class FindReplaceTest : public ExplorerDocFixture
{
protected:
    void SetUp() override
    {
        ExplorerDocFixture::SetUp();
        dialog = std::make_unique<CFindReplaceDlg>(&frame, nullptr);
        relay = std::make_unique<HintRelay>(dialog.get());
        doc->AddChangeListener(relay.get());
        Show();
    }

    void TearDown() override
    {
        doc->RemoveChangeListener(relay.get());
        dialog.reset();
        ExplorerDocFixture::TearDown();
    }

    // What the frame does on Find/Replace.
    void Show()
    {
        dialog->SetDocument(doc.get());
        dialog->RebuildElementList();
        dialog->show();
    }

    void Type(const QString& find, const QString& replace = QString())
    {
        dialog->FindEdit()->setText(find);
        dialog->ReplaceEdit()->setText(replace);
    }

    void Click(int id)
    {
        QPushButton* button = dialog->Button(id);
        ASSERT_NE(button, nullptr) << id;
        QTest::mouseClick(button, Qt::LeftButton);
    }

    CFormElement* Current() const { return dialog->Search().GetCurrentElement(); }
    int UndoSteps() const { return int(doc->GetUndoList().GetCount()); }
    int Questions() const
    {
        int count = 0;
        for (const RecordedPrompt& prompt : environment.prompts->Recorded()) {
            EXPECT_EQ(prompt.text, kReachedEnd);
            EXPECT_EQ(prompt.Buttons(), MB_YESNO);
            ++count;
        }
        return count;
    }

    // Five top-level Text elements described by the texts, replacing the
    // fixture's elements.
    std::vector<CFormElement*> MakeFive(const QStringList& texts)
    {
        {
            CDocChangeGuard guard(doc.get());
            doc->RemoveAllElements();
        }
        std::vector<CFormElement*> made;
        CDocChangeGuard guard(doc.get());
        for (int i = 0; i < texts.size(); ++i)
            made.push_back(Create(FormElementType::Text, Cells(1, 2 * i + 1, 10, 2 * i + 2), nullptr, texts[i]));
        return made;
    }

    HitFrame frame;
    std::unique_ptr<CFindReplaceDlg> dialog;
    std::unique_ptr<HintRelay> relay;
};

} // namespace

TEST_F(FindReplaceTest, ListHoldsEachTopLevelElementFollowedByItsDescendants)
{
    const std::vector<CFormElement*> expected = {e.loop,   e.source,  e.conditional, e.variable,
                                                 e.output, e.address, e.text};
    EXPECT_EQ(dialog->Search().GetElementList(), expected);
}

TEST_F(FindReplaceTest, FindNextWalksTheTreeThenTheDocumentAfterYes)
{
    // "o" is in Loop, Source and Conditional only.
    Type(QStringLiteral("o"));
    std::vector<CFormElement*> hits;
    for (int i = 0; i < 3; ++i) {
        Click(CFindReplaceDlg::ID_FIND_NEXT);
        hits.push_back(Current());
    }
    EXPECT_EQ(hits, (std::vector<CFormElement*>{e.loop, e.source, e.conditional}));
    EXPECT_EQ(Questions(), 0);
    // Each hit is the selection of the explorer and the sheet.
    EXPECT_EQ(frame.explorerSelections, hits);
    EXPECT_EQ(frame.sheetElements, hits);

    environment.prompts->AnswerMessageBox(IDYES);
    Click(CFindReplaceDlg::ID_FIND_NEXT);
    EXPECT_EQ(Questions(), 1);
    EXPECT_EQ(Current(), e.loop);
}

TEST_F(FindReplaceTest, TextNowhereAsksAgainAfterYesAndEndsWithoutAnElementOnNo)
{
    Type(QStringLiteral("Loop"));
    Click(CFindReplaceDlg::ID_FIND_NEXT);
    ASSERT_EQ(Current(), e.loop);

    Type(QStringLiteral("Nowhere"));
    environment.prompts->AnswerMessageBox(IDYES);
    environment.prompts->AnswerMessageBox(IDNO);
    Click(CFindReplaceDlg::ID_FIND_NEXT);
    EXPECT_EQ(Questions(), 2);
    EXPECT_EQ(Current(), nullptr);
    EXPECT_EQ(environment.prompts->PendingAnswers(), 0);
}

TEST_F(FindReplaceTest, SearchIsCaseSensitive)
{
    Type(QStringLiteral("loop"));
    environment.prompts->AnswerMessageBox(IDNO);
    EXPECT_FALSE(dialog->Search().FindNext(QStringLiteral("loop")));
    EXPECT_EQ(Questions(), 1);
    EXPECT_EQ(Current(), nullptr);
    environment.prompts->AnswerMessageBox(IDYES);
    EXPECT_TRUE(dialog->Search().FindNext(QStringLiteral("Loop")));
    EXPECT_EQ(Current(), e.loop);
    EXPECT_EQ(Questions(), 2);
}

TEST_F(FindReplaceTest, EmptyFindTextDoesNothing)
{
    Type(QString(), QStringLiteral("X"));
    const int steps = UndoSteps();
    for (int id : {CFindReplaceDlg::ID_FIND_NEXT, CFindReplaceDlg::ID_REPLACE, CFindReplaceDlg::ID_REPLACE_ALL})
        Click(id);
    EXPECT_EQ(Questions(), 0);
    EXPECT_EQ(UndoSteps(), steps);
    EXPECT_TRUE(frame.explorerSelections.empty());
    EXPECT_EQ(e.loop->GetDescription(), QStringLiteral("Loop"));
}

TEST_F(FindReplaceTest, SuppressedUpdatesKeepTheHitToTheSearch)
{
    doc->SuppressUpdates();
    EXPECT_TRUE(dialog->Search().FindNext(QStringLiteral("Text")));
    doc->ResumeUpdates();
    EXPECT_EQ(Current(), e.text);
    EXPECT_TRUE(frame.explorerSelections.empty());
    EXPECT_TRUE(frame.sheetElements.empty());
}

TEST_F(FindReplaceTest, DocumentWithoutElementsAsksAtOnceAndStopsAfterYes)
{
    {
        CDocChangeGuard guard(doc.get());
        doc->RemoveAllElements();
    }
    Show();
    Type(QStringLiteral("a"), QStringLiteral("b"));
    environment.prompts->AnswerMessageBox(IDYES);
    Click(CFindReplaceDlg::ID_FIND_NEXT);
    EXPECT_EQ(Questions(), 1);
    EXPECT_EQ(Current(), nullptr);
    environment.prompts->AnswerMessageBox(IDNO);
    Click(CFindReplaceDlg::ID_REPLACE);
    EXPECT_EQ(Questions(), 2);
}

TEST_F(FindReplaceTest, ReplaceChangesTheCurrentElementInOneStepAndFindsTheNext)
{
    Type(QStringLiteral("o"), QStringLiteral("0"));
    Click(CFindReplaceDlg::ID_FIND_NEXT);
    ASSERT_EQ(Current(), e.loop);
    const int steps = UndoSteps();
    Click(CFindReplaceDlg::ID_REPLACE);
    EXPECT_EQ(e.loop->GetDescription(), QStringLiteral("L00p"));
    EXPECT_EQ(UndoSteps(), steps + 1);
    EXPECT_EQ(frame.sheetRefreshes, 1);
    // The changed description rebuilt the list: the search starts again at
    // the first element, which no longer holds the text.
    EXPECT_EQ(Current(), e.source);

    doc->OnEditUndo();
    QStringList texts;
    for (CObject* object : doc->GetElementList())
        texts << static_cast<CFormElement*>(object)->GetDescription();
    EXPECT_TRUE(texts.contains(QStringLiteral("Loop")));
    EXPECT_FALSE(texts.contains(QStringLiteral("L00p")));
}

TEST_F(FindReplaceTest, ReplaceWithoutACurrentElementOnlySearches)
{
    const int steps = UndoSteps();
    EXPECT_TRUE(dialog->Search().Replace(QStringLiteral("Text"), QStringLiteral("Line")));
    EXPECT_EQ(Current(), e.text);
    EXPECT_EQ(e.text->GetDescription(), QStringLiteral("Text"));
    EXPECT_EQ(UndoSteps(), steps);
}

TEST_F(FindReplaceTest, ReplaceAllGoesFromTheCurrentElementThenOverTheRestAfterYes)
{
    const std::vector<CFormElement*> five = MakeFive(
        {QStringLiteral("A1"), QStringLiteral("A2"), QStringLiteral("A3"), QStringLiteral("A4"), QStringLiteral("A5")});
    ASSERT_EQ(five.size(), 5u);
    Show();
    Type(QStringLiteral("A"), QStringLiteral("B"));
    for (int i = 0; i < 3; ++i)
        Click(CFindReplaceDlg::ID_FIND_NEXT);
    ASSERT_EQ(Current(), five[2]);

    const int steps = UndoSteps();
    relay->changed.clear();
    environment.prompts->AnswerMessageBox(IDYES);
    environment.prompts->AnswerMessageBox(IDNO);
    Click(CFindReplaceDlg::ID_REPLACE_ALL);

    // Three before the question, the other two after Yes.
    EXPECT_EQ(relay->changed, (std::vector<CFormElement*>{five[2], five[3], five[4], five[0], five[1]}));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(five[size_t(i)]->GetDescription(), QStringLiteral("B%1").arg(i + 1));
    EXPECT_EQ(Questions(), 2);
    EXPECT_EQ(UndoSteps(), steps + 5);
    EXPECT_EQ(Current(), nullptr);

    // One step each: one undo gives back only the last change.
    doc->OnEditUndo();
    QStringList texts;
    for (CObject* object : doc->GetElementList())
        if (const QString text = static_cast<CFormElement*>(object)->GetDescription(); text.size() == 2)
            texts << text;
    EXPECT_EQ(texts, (QStringList{QStringLiteral("B1"), QStringLiteral("A2"), QStringLiteral("B3"),
                                  QStringLiteral("B4"), QStringLiteral("B5")}));
}

TEST_F(FindReplaceTest, ReplaceAllWithTheTextInItsReplacementChangesEachElementOncePerPass)
{
    const std::vector<CFormElement*> five = MakeFive(
        {QStringLiteral("a1"), QStringLiteral("a2"), QStringLiteral("a3"), QStringLiteral("a4"), QStringLiteral("a5")});
    Show();
    environment.prompts->AnswerMessageBox(IDYES);
    environment.prompts->AnswerMessageBox(IDNO);
    const int changed = dialog->Search().ReplaceAll(QStringLiteral("a"), QStringLiteral("aa"));
    EXPECT_EQ(changed, 10);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(five[size_t(i)]->GetDescription(), QStringLiteral("aaaa%1").arg(i + 1));
    EXPECT_EQ(Questions(), 2);
    EXPECT_EQ(environment.prompts->PendingAnswers(), 0);
}

TEST_F(FindReplaceTest, RemovingTheCurrentElementOrItsContainerForgetsIt)
{
    Type(QStringLiteral("Variable"), QStringLiteral("Value"));
    Click(CFindReplaceDlg::ID_FIND_NEXT);
    ASSERT_EQ(Current(), e.variable);
    {
        CDocChangeGuard guard(doc.get());
        doc->DeleteElement(e.loop, TRUE);
    }
    EXPECT_EQ(Current(), nullptr);
    EXPECT_EQ(dialog->Search().GetElementList(), (std::vector<CFormElement*>{e.output, e.address, e.text}));
    // The search goes on over what is left, touching nothing removed.
    environment.prompts->AnswerMessageBox(IDYES);
    environment.prompts->AnswerMessageBox(IDNO);
    Click(CFindReplaceDlg::ID_REPLACE);
    EXPECT_EQ(Questions(), 2);

    Show();
    Type(QStringLiteral("Text"), QStringLiteral("Line"));
    Click(CFindReplaceDlg::ID_FIND_NEXT);
    ASSERT_EQ(Current(), e.text);
    {
        CDocChangeGuard guard(doc.get());
        doc->DeleteElement(e.text, TRUE);
    }
    EXPECT_EQ(Current(), nullptr);
    environment.prompts->AnswerMessageBox(IDNO);
    Click(CFindReplaceDlg::ID_REPLACE);
    EXPECT_EQ(Questions(), 3);
}

TEST_F(FindReplaceTest, RemovingAnotherElementKeepsTheCurrentOne)
{
    ASSERT_TRUE(dialog->Search().FindNext(QStringLiteral("Address")));
    {
        CDocChangeGuard guard(doc.get());
        doc->DeleteElement(e.conditional, TRUE);
    }
    EXPECT_EQ(Current(), e.address);
    EXPECT_EQ(dialog->Search().GetElementList(),
              (std::vector<CFormElement*>{e.loop, e.source, e.output, e.address, e.text}));
}

namespace {

struct HintCase
{
    const char* name;
    LPARAM hint;
    bool keepsList;    // a list remains afterwards
    bool keepsCurrent; // the current element stays
    bool restartsWalk; // the next step starts at the head again
};

void PrintTo(const HintCase& c, std::ostream* os)
{
    *os << c.name;
}

const HintCase kHintCases[] = {
    {"ElementChangedRebuilds", DocumentHint::ElementChanged, true, true, true},
    {"ElementAddedRebuilds", DocumentHint::ElementAdded, true, true, true},
    {"ReparentedRebuilds", DocumentHint::ElementReparented, true, true, true},
    {"PageSetupForgets", DocumentHint::PageSetupChanged, true, false, true},
    {"OptionsForget", DocumentHint::OptionsChanged, true, false, true},
    {"RestoreBeginsDropsTheList", DocumentHint::RestoreBegins, false, false, false},
    {"RestoreEndsForgets", DocumentHint::RestoreEnds, true, false, true},
    {"NewOrOpenForgets", DocumentHint::NewOrOpenDone, true, false, true},
    {"SelectionLeavesAllAlone", DocumentHint::SelectionChanged, true, true, false},
    {"SourceRectLeavesAllAlone", DocumentHint::SourceRectChanged, true, true, false},
};

class FindHintTest : public FindReplaceTest, public ::testing::WithParamInterface<HintCase>
{};

} // namespace

TEST_P(FindHintTest, HintRebuildsOrDropsAsRuled)
{
    const HintCase& c = GetParam();
    ASSERT_TRUE(dialog->Search().FindNext(QStringLiteral("Source")));
    dialog->OnDocumentHint(c.hint, nullptr);
    EXPECT_EQ(bool(dialog->Search().HasElementList()), c.keepsList);
    EXPECT_EQ(Current() == e.source, c.keepsCurrent);
    // "o": Loop at the head, Conditional after the Source.
    if (c.keepsList) {
        ASSERT_TRUE(dialog->Search().FindNext(QStringLiteral("o")));
        EXPECT_EQ(Current(), c.restartsWalk ? e.loop : e.conditional);
    } else {
        EXPECT_FALSE(dialog->Search().FindNext(QStringLiteral("o")));
        EXPECT_EQ(Questions(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Hints, FindHintTest, ::testing::ValuesIn(kHintCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FindReplaceTest, UndoAndNewLeaveNoOldElementBehind)
{
    Type(QStringLiteral("Variable"), QStringLiteral("Value"));
    Click(CFindReplaceDlg::ID_REPLACE_ALL);
    // Replace All answered No by default after its pass.
    EXPECT_EQ(e.variable->GetDescription(), QStringLiteral("Value"));
    doc->OnEditUndo();
    // The restore made every element anew: the search forgot the old ones.
    EXPECT_EQ(Current(), nullptr);
    ASSERT_TRUE(dialog->Search().HasElementList());
    for (CFormElement* element : dialog->Search().GetElementList())
        EXPECT_TRUE(doc->ContainsElement(element));
    Click(CFindReplaceDlg::ID_FIND_NEXT);
    ASSERT_NE(Current(), nullptr);
    EXPECT_EQ(Current()->GetDescription(), QStringLiteral("Variable"));
    Click(CFindReplaceDlg::ID_REPLACE);
    EXPECT_EQ(Current(), nullptr);

    // The last search ended at the end of the elements.
    Type(QStringLiteral("Output"), QStringLiteral("Device"));
    environment.prompts->AnswerMessageBox(IDYES);
    Click(CFindReplaceDlg::ID_FIND_NEXT);
    ASSERT_NE(Current(), nullptr);
    ASSERT_TRUE(doc->OnNewDocument());
    EXPECT_EQ(Current(), nullptr);
    for (CFormElement* element : dialog->Search().GetElementList())
        EXPECT_TRUE(doc->ContainsElement(element));
    Click(CFindReplaceDlg::ID_REPLACE);
    EXPECT_TRUE(Current() == nullptr || doc->ContainsElement(Current()));
}

TEST_F(FindReplaceTest, CancelAndCloseHideTheDialogAndTheTextsStay)
{
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    QTest::keyClicks(dialog->FindEdit(), QStringLiteral("Loop"));
    QTest::keyClicks(dialog->ReplaceEdit(), QStringLiteral("Ring"));
    Click(CFindReplaceDlg::ID_CANCEL);
    EXPECT_FALSE(dialog->isVisible());
    Show();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->FindEdit()->text(), QStringLiteral("Loop"));
    EXPECT_EQ(dialog->ReplaceEdit()->text(), QStringLiteral("Ring"));

    // The close box hides the window and keeps it.
    dialog->close();
    EXPECT_FALSE(dialog->isVisible());
    Show();
    EXPECT_TRUE(dialog->isVisible());
    QTest::keyClick(dialog->FindEdit(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->FindEdit()->text(), QStringLiteral("Loop"));

    // Enter in the find text is Find Next.
    Show();
    QTest::keyClick(dialog->FindEdit(), Qt::Key_Return);
    EXPECT_EQ(Current(), e.loop);
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(FindReplaceTest, ControlsCarryTheirIdsAndTexts)
{
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Find/Replace"));
    EXPECT_EQ(dialog->FindEdit()->objectName(), QStringLiteral("1112"));
    EXPECT_EQ(dialog->ReplaceEdit()->objectName(), QStringLiteral("1380"));
    const std::pair<int, const char*> buttons[] = {
        {32794, "&Find Next"}, {32828, "&Replace"}, {32829, "Replace &All"}, {2, "Cancel"}};
    for (const auto& [id, text] : buttons) {
        ASSERT_NE(dialog->Button(id), nullptr) << id;
        EXPECT_EQ(dialog->Button(id)->text(), QString::fromLatin1(text)) << id;
    }
}
