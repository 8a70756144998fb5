// The output device dialog driven through its widgets offscreen: what the
// name fields let the user type, the mode buttons, Add and OK through the
// buttons, the seam the program installs, and a picture of the window.

#include "designer/output/ui/OutputDeviceDialogView.h"
#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"
#include "designer/output/ui/tests/PropPageViewTestSupport.h"
#include "platform/ui/qt/DialogBinder.h"
#include "tests/support/ScopedPrompts.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <memory>
#include <ostream>

namespace {

using Dialog = COutputDeviceDialog;
using proppage_test::Find;

class OutputDeviceDialogViewTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        RegisterOutputClasses();
        RegisterOutputStrings();
    }

    void Open(COutputDevice* selected)
    {
        view = std::make_unique<COutputDeviceDialogView>();
        view->Model().SetManager(&manager);
        view->Model().SetSelectedDevice(selected);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }

    QLineEdit* NameField() const { return Find<QComboBox>(view.get(), Dialog::IDC_NAME)->lineEdit(); }
    void Click(int id) const { QTest::mouseClick(Find<QAbstractButton>(view.get(), id), Qt::LeftButton); }

    ScopedPromptAnswers prompts;
    COutputDeviceManager manager;
    std::unique_ptr<COutputDeviceDialogView> view;
};

struct TypedNameCase
{
    const char* name;
    const char* typed;
    const char* shown;
};

void PrintTo(const TypedNameCase& c, std::ostream* os)
{
    *os << c.name;
}

class OutputDeviceDialogTypingTest : public OutputDeviceDialogViewTest,
                                     public ::testing::WithParamInterface<TypedNameCase>
{};

TEST_P(OutputDeviceDialogTypingTest, BothNameFieldsTakeHostNamesOnly)
{
    const TypedNameCase& c = GetParam();
    Open(manager.GetDefaultDevice());
    auto* defaultName = Find<QLineEdit>(view.get(), Dialog::IDC_DEFAULT_NAME);
    defaultName->setFocus();
    defaultName->selectAll();
    QTest::keyClicks(defaultName, QString::fromLatin1(c.typed));
    EXPECT_EQ(defaultName->text(), QString::fromLatin1(c.shown)) << c.name;

    proppage_test::ClickRadio(Find<QRadioButton>(view.get(), Dialog::IDC_MODE_SELECT));
    QLineEdit* name = NameField();
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, QString::fromLatin1(c.typed));
    EXPECT_EQ(name->text(), QString::fromLatin1(c.shown)) << c.name;
}

const TypedNameCase kTypedNames[] = {
    {"LowerCaseRaised", "prt01", "PRT01"}, {"DigitFirstRefused", "1PRT", "PRT"},
    {"DigitLaterKept", "P1", "P1"},        {"BlankRefused", "A B", "AB"},
    {"DoubleQuoteRefused", "A\"B", "AB"},  {"ApostropheRefused", "A'B", "AB"},
    {"DashRefused", "A-B", "AB"},          {"TenCharactersAtMost", "ABCDEFGHIJKL", "ABCDEFGHIJ"},
};

INSTANTIATE_TEST_SUITE_P(Cases, OutputDeviceDialogTypingTest, ::testing::ValuesIn(kTypedNames),
                         [](const ::testing::TestParamInfo<TypedNameCase>& info) { return info.param.name; });

TEST_F(OutputDeviceDialogViewTest, OpensOnTheDefaultDeviceWithTheNameControlsOff)
{
    manager.CreateMasterDevice(nullptr, QStringLiteral("PRT01"), 1);
    Open(manager.GetDefaultDevice());
    EXPECT_EQ(view->windowTitle(), QStringLiteral("Output"));
    EXPECT_TRUE(Find<QRadioButton>(view.get(), Dialog::IDC_MODE_DEFAULT)->isChecked());
    EXPECT_EQ(Find<QLineEdit>(view.get(), Dialog::IDC_DEFAULT_NAME)->text(), QStringLiteral("*DOC"));
    for (const int id : {Dialog::IDC_NAME, Dialog::IDC_ADD, Dialog::IDC_DEL})
        EXPECT_FALSE(FindDialogControl(view.get(), id)->isEnabled()) << id;
    EXPECT_EQ(Find<QComboBox>(view.get(), Dialog::IDC_TYPE)->currentText(), QStringLiteral("Print (SCS)"));
}

TEST_F(OutputDeviceDialogViewTest, AddThroughTheButtonsThenOk)
{
    Open(nullptr);
    QLineEdit* name = NameField();
    name->setFocus();
    QTest::keyClicks(name, QStringLiteral("fax9"));
    proppage_test::ChooseEntry(Find<QComboBox>(view.get(), Dialog::IDC_TYPE), QStringLiteral("Fax"));
    Click(Dialog::IDC_ADD);
    COutputDevice* made = COutputDeviceManager::FindMasterByName(QStringLiteral("FAX9"));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetType(), 3);
    EXPECT_EQ(Find<QComboBox>(view.get(), Dialog::IDC_NAME)->currentText(), QStringLiteral("FAX9"));
    Click(Dialog::IDC_OK);
    EXPECT_EQ(view->result(), QDialog::Accepted);
    EXPECT_EQ(view->Model().GetChosenDevice(), made);
}

TEST_F(OutputDeviceDialogViewTest, LeavingTheDefaultNameRenamesTheDefaultDevice)
{
    Open(manager.GetDefaultDevice());
    auto* defaultName = Find<QLineEdit>(view.get(), Dialog::IDC_DEFAULT_NAME);
    defaultName->setFocus();
    defaultName->selectAll();
    QTest::keyClicks(defaultName, QStringLiteral("docdev"));
    EXPECT_EQ(manager.GetDefaultDevice()->GetName(), QStringLiteral("*DOC"));
    Find<QComboBox>(view.get(), Dialog::IDC_TYPE)->setFocus();
    EXPECT_EQ(manager.GetDefaultDevice()->GetName(), QStringLiteral("DOCDEV"));
}

TEST_F(OutputDeviceDialogViewTest, InstalledSeamRunsTheDialog)
{
    const OutputDeviceDialogRunner before = SetOutputDeviceDialogRunner({});
    InstallOutputDeviceDialog();
    COutputDevice* printer = manager.CreateMasterDevice(nullptr, QStringLiteral("PRT01"), 0);
    int index = 0;
    QTimer::singleShot(0, [] {
        auto* dialog = dynamic_cast<COutputDeviceDialogView*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        proppage_test::ClickRadio(Find<QRadioButton>(dialog, Dialog::IDC_MODE_SELECT));
        proppage_test::ChooseEntry(Find<QComboBox>(dialog, Dialog::IDC_NAME), QStringLiteral("PRT01"));
        QTest::mouseClick(Find<QAbstractButton>(dialog, Dialog::IDC_OK), Qt::LeftButton);
    });
    // Should the clicks miss, the dialog still ends and the checks fail.
    QTimer::singleShot(10000, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    EXPECT_TRUE(manager.SelectDevice(index, nullptr));
    EXPECT_EQ(manager.GetDevice(index), printer);
    SetOutputDeviceDialogRunner(before);
}

TEST_F(OutputDeviceDialogViewTest, RendersTheWindowIntoAPicture)
{
    manager.CreateMasterDevice(nullptr, QStringLiteral("INVOICES"), 4);
    COutputDevice* printer = manager.CreateMasterDevice(nullptr, QStringLiteral("PRT01"), 1);
    Open(printer);
    const QImage shot = view->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    for (QWidget* child : view->findChildren<QWidget*>()) {
        if (child->isVisible() && !child->objectName().isEmpty() && child->parentWidget() == view.get()) {
            EXPECT_TRUE(view->rect().contains(child->geometry())) << child->objectName().toStdString();
        }
    }
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR)));
    const QString path = QStringLiteral(KWVD_SCREENSHOT_DIR "/output-device-dialog.png");
    ASSERT_TRUE(shot.save(path, "PNG"));
    EXPECT_FALSE(QImage(path).isNull());
}

} // namespace
