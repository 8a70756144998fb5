// The navigation sheet: pages made when first shown, validated when left,
// applied on OK in page order, deleted from the last to the first.

#include "designer/controls/NavigationSheet.h"
#include "platform/ui/DialogModel.h"
#include "platform/ui/qt/DialogBinder.h"

#include "designer/controls/tests/ControlsTestSupport.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <string>
#include <vector>

namespace {

constexpr int kNumberId = 1001;

using Journal = std::vector<std::string>;

// A page with one number edit (0..999) that notes what the sheet does to it.
class JournalPage : public CNavigationSheetPage
{
public:
    JournalPage(std::string name, Journal* journal, bool refuseApply = false)
        : m_name(std::move(name)), m_journal(journal), m_refuseApply(refuseApply)
    {
        m_model.BindInt(kNumberId, &m_value, 0, 999);
    }
    ~JournalPage() override { Note("delete"); }

    QString Title() const override { return QString::fromStdString(m_name); }

    QWidget* CreateView(QWidget* parent) override
    {
        Note("create");
        m_view = new QWidget(parent);
        auto* edit = new QLineEdit(m_view);
        edit->setObjectName(QString::number(kNumberId));
        // The journal may be gone when the view is: note through a copy.
        QObject::connect(m_view, &QObject::destroyed,
                         [journal = m_journal, name = m_name] { journal->push_back(name + " view deleted"); });
        UpdateData(m_model, m_view, false);
        return m_view;
    }

    void OnSetActive() override { Note("activate"); }
    bool OnKillActive() override { return UpdateData(m_model, m_view, true); }
    bool OnApply() override
    {
        Note(m_refuseApply ? "refuse" : "apply");
        return m_refuseApply ? false : CNavigationSheetPage::OnApply();
    }
    void OnOK() override { stored = m_value; }

    QLineEdit* Edit() const { return m_view ? m_view->findChild<QLineEdit*>() : nullptr; }

    int stored = -1;

private:
    void Note(const char* what) { m_journal->push_back(m_name + " " + what); }

    std::string m_name;
    Journal* m_journal;
    bool m_refuseApply;
    CDialogModel m_model;
    int m_value = 0;
    QWidget* m_view = nullptr;
};

class NavigationSheetTest : public ControlsTest
{
protected:
    // Three pages "A", "B", "C"; refusing names the one that refuses OK.
    void AddPages(const std::string& refusing = {})
    {
        for (const char* name : {"A", "B", "C"}) {
            auto page = std::make_unique<JournalPage>(name, &journal, refusing == name);
            pages.push_back(page.get());
            sheet->AddPage(std::move(page));
        }
    }

    void ShowActive()
    {
        sheet->show();
        QApplication::setActiveWindow(sheet.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(sheet.get()));
    }

    void ClickOk() { sheet->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click(); }

    Journal journal;
    std::unique_ptr<CNavigationSheet> sheet = std::make_unique<CNavigationSheet>(QStringLiteral("Sheet"));
    std::vector<JournalPage*> pages;
};

TEST_F(NavigationSheetTest, TitlesStandInANarrowListAndThereIsNoApply)
{
    AddPages();
    EXPECT_EQ(sheet->windowTitle(), QStringLiteral("Sheet"));
    EXPECT_TRUE(sheet->isModal());
    QListWidget* list = sheet->NavigationList();
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("B"));
    EXPECT_EQ(list->width(), 100);
    sheet->SetNavigationWidth(140);
    EXPECT_EQ(list->width(), 140);
    const QList<QAbstractButton*> buttons = sheet->findChild<QDialogButtonBox*>()->buttons();
    EXPECT_EQ(buttons.size(), 2);
    EXPECT_EQ(sheet->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Apply), nullptr);
}

TEST_F(NavigationSheetTest, PagesAreMadeWhenFirstShownAndToldOnEveryActivation)
{
    AddPages();
    EXPECT_TRUE(journal.empty()) << "nothing is made before the sheet shows";
    ShowActive();
    EXPECT_EQ(sheet->GetActiveIndex(), 0);
    sheet->NavigationList()->setCurrentRow(1);
    sheet->NavigationList()->setCurrentRow(0);
    EXPECT_EQ(journal, (Journal{"A create", "A activate", "B create", "B activate", "A activate"}));
    EXPECT_EQ(sheet->GetPageView(2), nullptr);
}

TEST_F(NavigationSheetTest, OkAfterShowingOnlyTheFirstPageStoresOnlyThatPage)
{
    AddPages();
    ShowActive();
    pages[0]->Edit()->setText(QStringLiteral("42"));
    ClickOk();
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(pages[0]->stored, 42);
    EXPECT_EQ(pages[1]->stored, -1);
    EXPECT_EQ(pages[2]->stored, -1);
    EXPECT_EQ(journal, (Journal{"A create", "A activate", "A apply"}));
    EXPECT_TRUE(m_prompts.Texts().isEmpty());
}

TEST_F(NavigationSheetTest, OkAppliesEveryShownPageInPageOrder)
{
    AddPages();
    ShowActive();
    sheet->SetActivePage(2);
    pages[2]->Edit()->setText(QStringLiteral("7"));
    ClickOk();
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
    EXPECT_EQ(journal.back(), "C apply");
    EXPECT_EQ(*(journal.end() - 2), "A apply") << "A was shown, B never";
    EXPECT_EQ(pages[2]->stored, 7);
    EXPECT_EQ(pages[1]->stored, -1);
}

TEST_F(NavigationSheetTest, CancelAppliesNothing)
{
    AddPages();
    ShowActive();
    pages[0]->Edit()->setText(QStringLiteral("42"));
    sheet->SetActivePage(1);
    sheet->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    EXPECT_EQ(sheet->result(), QDialog::Rejected);
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(pages[0]->stored, -1);
    EXPECT_EQ(pages[1]->stored, -1);
}

TEST_F(NavigationSheetTest, AnInvalidNumberBlocksSwitchingAndOkWithTheFocusOnIt)
{
    struct Case
    {
        const char* name;
        const char* typed;
        const char* message;
    };
    const Case cases[] = {
        {"not a number", "12a", "Enter an integer."},
        {"out of range", "1000", "Enter an integer between 0 and 999."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sheet = std::make_unique<CNavigationSheet>(QStringLiteral("Sheet"));
        pages.clear();
        AddPages();
        ShowActive();
        m_prompts.Renew();
        QLineEdit* edit = pages[0]->Edit();
        edit->setText(QString::fromLatin1(c.typed));

        sheet->NavigationList()->setCurrentRow(2);
        EXPECT_EQ(sheet->GetActiveIndex(), 0);
        EXPECT_EQ(sheet->NavigationList()->currentRow(), 0) << "the list shows the page that stayed";
        EXPECT_EQ(sheet->GetPageView(2), nullptr);
        EXPECT_EQ(QApplication::focusWidget(), edit);
        EXPECT_EQ(edit->selectedText(), QString::fromLatin1(c.typed));

        ClickOk();
        EXPECT_TRUE(sheet->isVisible());
        EXPECT_EQ(pages[0]->stored, -1);
        EXPECT_EQ(m_prompts.Texts(), QStringList(2, QString::fromLatin1(c.message)));

        edit->setText(QStringLiteral("999"));
        EXPECT_TRUE(sheet->SetActivePage(1));
        ClickOk();
        EXPECT_EQ(sheet->result(), QDialog::Accepted);
        EXPECT_EQ(pages[0]->stored, 999);
        EXPECT_EQ(pages[1]->stored, 0);
    }
}

TEST_F(NavigationSheetTest, APageThatRefusesItsApplyKeepsTheSheetOpenOnIt)
{
    AddPages("B");
    ShowActive();
    pages[0]->Edit()->setText(QStringLiteral("3"));
    sheet->SetActivePage(1);
    sheet->SetActivePage(2);
    journal.clear();
    ClickOk();
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_NE(sheet->result(), QDialog::Accepted);
    EXPECT_EQ(sheet->GetActiveIndex(), 1);
    EXPECT_EQ(sheet->NavigationList()->currentRow(), 1);
    EXPECT_EQ(journal, (Journal{"A apply", "B refuse", "B activate"})) << "C is not applied";
    EXPECT_EQ(pages[0]->stored, 3) << "the page before it has stored";
    EXPECT_EQ(pages[2]->stored, -1);
}

TEST_F(NavigationSheetTest, PagesAreDeletedFromTheLastToTheFirst)
{
    struct Case
    {
        const char* name;
        bool shown;
        Journal expected;
    };
    const Case cases[] = {
        {"never shown", false, {"C delete", "B delete", "A delete"}},
        {"shown: each view before its page",
         true,
         {"C delete", "B view deleted", "B delete", "A view deleted", "A delete"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sheet = std::make_unique<CNavigationSheet>(QStringLiteral("Sheet"));
        AddPages();
        if (c.shown) {
            sheet->show();
            sheet->SetActivePage(1);
        }
        journal.clear();
        sheet.reset();
        EXPECT_EQ(journal, c.expected);
        pages.clear();
    }
}

} // namespace
