#include "platform/ui/qt/DialogBinder.h"
#include "platform/ui/qt/UpDownControl.h"

#include "tests/support/ScopedPrompts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace {

QApplication& App()
{
    static int argc = 1;
    static char arg0[] = "kwvd_ui_tests";
    static char* argv[] = {arg0, nullptr};
    static QApplication* app = qApp ? nullptr : new QApplication(argc, argv);
    (void)app;
    return *qApp;
}

class DialogBinderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        App();
        auto* layout = new QVBoxLayout(&m_dialog);
        m_name = Add<QLineEdit>(1001, layout);
        m_copies = Add<QLineEdit>(1002, layout);
        m_check = Add<QCheckBox>(1003, layout);
        m_combo = Add<QComboBox>(1004, layout);
    }

    template <class W>
    W* Add(int id, QVBoxLayout* layout)
    {
        auto* w = new W(&m_dialog);
        w->setObjectName(QString::number(id));
        layout->addWidget(w);
        return w;
    }

    ScopedPromptAnswers m_prompts;
    QDialog m_dialog;
    QLineEdit* m_name;
    QLineEdit* m_copies;
    QCheckBox* m_check;
    QComboBox* m_combo;
};

TEST_F(DialogBinderTest, ALongerStoredTextShowsWholeAndIsRefusedWithTheControlFocused)
{
    CDialogModel model;
    QString name(40, u'A');
    model.BindText(1001, &name, 30);
    LimitTypedLength(m_name, 30);
    m_dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_dialog) || m_dialog.isVisible());

    UpdateData(model, &m_dialog, false);
    EXPECT_EQ(m_name->text().size(), 40);

    EXPECT_FALSE(UpdateData(model, &m_dialog, true));
    ASSERT_EQ(m_prompts->Recorded().size(), 1u);
    EXPECT_EQ(m_prompts->Recorded()[0].text, QStringLiteral("Enter no more than 30 characters."));
    EXPECT_EQ(QApplication::focusWidget(), m_name);
    EXPECT_EQ(m_name->selectedText().size(), 40);
    EXPECT_EQ(name.size(), 40);
}

TEST_F(DialogBinderTest, TypingStopsAtTheLimitButDeletingFromALongerTextWorks)
{
    LimitTypedLength(m_name, 5);
    m_name->setText(QStringLiteral("ABCDEFG"));
    m_name->setCursorPosition(7);
    QTest::keyClick(m_name, Qt::Key_Backspace);
    EXPECT_EQ(m_name->text(), QStringLiteral("ABCDEF"));
    QTest::keyClicks(m_name, QStringLiteral("X"));
    EXPECT_EQ(m_name->text(), QStringLiteral("ABCDEF"));

    m_name->clear();
    QTest::keyClicks(m_name, QStringLiteral("1234567"));
    EXPECT_EQ(m_name->text(), QStringLiteral("12345"));
}

TEST_F(DialogBinderTest, PushAndPullCarryEveryKindOfControl)
{
    CDialogModel model;
    QString name = QStringLiteral("PRT01");
    int copies = 3;
    int check = 1;
    int selection = 1;
    model.BindText(1001, &name);
    model.BindInt(1002, &copies, 1, 99);
    model.BindCheck(1003, &check);
    model.BindSelection(1004, &selection);
    model.Control(1004).items = {QStringLiteral("A"), QStringLiteral("B")};
    model.Control(1002).enabled = false;

    UpdateData(model, &m_dialog, false);
    EXPECT_EQ(m_name->text(), QStringLiteral("PRT01"));
    EXPECT_EQ(m_copies->text(), QStringLiteral("3"));
    EXPECT_FALSE(m_copies->isEnabled());
    EXPECT_TRUE(m_check->isChecked());
    EXPECT_EQ(m_combo->count(), 2);
    EXPECT_EQ(m_combo->currentIndex(), 1);

    m_name->setText(QStringLiteral("PRT02"));
    m_copies->setText(QStringLiteral("12"));
    m_check->setChecked(false);
    m_combo->setCurrentIndex(0);
    EXPECT_TRUE(UpdateData(model, &m_dialog, true));
    EXPECT_EQ(name, QStringLiteral("PRT02"));
    EXPECT_EQ(copies, 12);
    EXPECT_EQ(check, 0);
    EXPECT_EQ(selection, 0);
}

TEST_F(DialogBinderTest, DigitsOnlyRefusesOtherCharactersWithABeep)
{
    SetDigitsOnly(m_copies);
    QTest::keyClicks(m_copies, QStringLiteral("1a2-"));
    EXPECT_EQ(m_copies->text(), QStringLiteral("12"));
    EXPECT_EQ(m_prompts->Beeps().size(), 2u);
}

struct UpDownCase
{
    const char* name;
    const char* shown;
    bool wrap;
    int direction;
    const char* after;
};

void PrintTo(const UpDownCase& c, std::ostream* os)
{
    *os << c.name;
}

class UpDownSteps : public DialogBinderTest, public ::testing::WithParamInterface<UpDownCase>
{};

const UpDownCase kUpDownCases[] = {
    {"UpAtTopWraps", "20", true, +1, "1"},
    {"UpAtTopStops", "20", false, +1, "20"},
    {"DownAtBottomWraps", "1", true, -1, "20"},
    {"DownAtBottomStops", "1", false, -1, "1"},
    {"UpInside", "7", false, +1, "8"},
    {"TypedAboveRangeIsBroughtIn", "45", false, -1, "19"},
    {"NoNumberStartsAtTheBottom", "", false, +1, "2"},
};

TEST_P(UpDownSteps, StepsWithinItsRange)
{
    const UpDownCase& c = GetParam();
    CUpDownControl spin(&m_dialog);
    spin.SetBuddy(m_copies);
    spin.SetRange(1, 20);
    spin.SetWrap(c.wrap);
    m_copies->setText(QString::fromUtf8(c.shown));
    spin.Step(c.direction);
    EXPECT_EQ(m_copies->text(), QString::fromUtf8(c.after)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Table, UpDownSteps, ::testing::ValuesIn(kUpDownCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogBinderTest, UpDownLeavesTypedTextAloneAndAnswersTheArrowKeys)
{
    CUpDownControl spin(&m_dialog);
    spin.SetBuddy(m_copies);
    spin.SetRange(1, 20000);
    QTest::keyClicks(m_copies, QStringLiteral("45"));
    EXPECT_EQ(m_copies->text(), QStringLiteral("45"));
    QTest::keyClick(m_copies, Qt::Key_Up);
    EXPECT_EQ(m_copies->text(), QStringLiteral("46"));
    m_copies->setText(QStringLiteral("1999"));
    QTest::keyClick(m_copies, Qt::Key_Up);
    EXPECT_EQ(m_copies->text(), QStringLiteral("2000")); // no thousands separator
    QTest::keyClick(m_copies, Qt::Key_Down);
    EXPECT_EQ(m_copies->text(), QStringLiteral("1999"));
}

} // namespace
