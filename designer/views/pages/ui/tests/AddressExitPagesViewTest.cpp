// The Address, Exit Program and Exit Program Parameter pages in the sheet's
// window: each control bound to its field, notification and group, the
// library box's rules, and a picture of each page.

#include "designer/views/pages/ui/tests/KindSheetWindowFixture.h"

#include "designer/controls/SelectiveComboBox.h"
#include "designer/controls/SelectiveEdit.h"
#include "designer/elements/FormAddressElement.h"
#include "designer/elements/FormExitParamElement.h"
#include "designer/elements/FormExitProgramElement.h"
#include "designer/views/pages/AddressPropPage.h"
#include "designer/views/pages/ElementPropertySheet.h"
#include "designer/views/pages/ExitProgramPropPages.h"
#include "designer/views/pages/ui/AddressExitPagesView.h"
#include "designer/views/pages/ui/ElementPropertySheetWnd.h"
#include "designer/views/pages/ui/tests/SheetTestFrame.h"
#include "platform/ui/qt/UpDownControl.h"
#include "tests/support/QtApplicationEnvironment.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <ostream>

namespace {

using AddressExitViewTest = KindSheetWindowTest;

// One row of a dialog's binding table: the control, the widget class that
// shows it, its notification and group.
struct Binding
{
    int id;
    const char* widget;
    PageNotification notification;
    DWORD group;
};

struct DialogCase
{
    const char* name;
    int type;
    int side;
    UINT dialog;
    std::vector<Binding> bindings;
    std::vector<int> shownOnly; // controls without a notification
};

void PrintTo(const DialogCase& c, std::ostream* os)
{
    *os << c.name;
}

using N = PageNotification;

const DialogCase kDialogs[] = {
    {"Address",
     FormElementType::Address,
     PaneSide::Input,
     112,
     {{1003, "QComboBox", N::SelChange, 0x100000},
      {1006, "QLineEdit", N::Change, 1},
      {1008, "QLineEdit", N::Change, 1},
      {1004, "QLineEdit", N::Change, 2},
      {1001, "QCheckBox", N::Clicked, 0x4000000}},
     {1474, 1005, 1007, 1009}},
    {"ExitProgram",
     FormElementType::ExitProgram,
     PaneSide::Output,
     119,
     {{1109, "QLineEdit", N::KillFocus, 0x4000},
      {1106, "QPushButton", N::Clicked, 0x8000},
      {1107, "QPushButton", N::Clicked, 0x8000}},
     {1108, 1110}},
    {"ExitParameter",
     FormElementType::ExitParam,
     PaneSide::Output,
     118,
     {{1095, "QComboBox", N::SelChange, 0x40000},
      {1094, "QCheckBox", N::Clicked, 0x200000},
      {1097, "QCheckBox", N::Clicked, 0x20000},
      {1091, "QPushButton", N::Clicked, 0x10},
      {1098, "QRadioButton", N::Clicked, 8},
      {1090, "QLineEdit", N::Change, 8},
      {1099, "QRadioButton", N::Clicked, 1},
      {1102, "QLineEdit", N::Change, 1},
      {1104, "QLineEdit", N::Change, 1},
      {1093, "QCheckBox", N::Clicked, 0x100},
      {1100, "QLineEdit", N::Change, 2}},
     {1092, 1096, 1101, 1103, 1105}},
};

class AddressExitBindingTest : public AddressExitViewTest, public ::testing::WithParamInterface<DialogCase>
{};

TEST_P(AddressExitBindingTest, EveryControlAnswersItsNotificationWithItsGroup)
{
    const DialogCase& c = GetParam();
    CFormElement* element = Make(c.type, SourceCells(3, 5, 9, 6), nullptr, c.side);
    ASSERT_NE(element, nullptr);
    QWidget* view = ShowKindPage(element);
    ASSERT_NE(view, nullptr);
    CElementPropPage* page = sheet->GetPage(1);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->GetDialogId(), c.dialog);
    EXPECT_EQ(page->GetControlTable().size(), c.bindings.size());
    for (const Binding& b : c.bindings) {
        SCOPED_TRACE(b.id);
        const PageControl* row = page->FindPageControl(b.id, b.notification);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->group, b.group);
        QWidget* widget = Find<QWidget>(view, b.id);
        ASSERT_NE(widget, nullptr) << "the view has the control";
        EXPECT_TRUE(widget->inherits(b.widget)) << b.widget;
    }
    for (const int id : c.shownOnly)
        EXPECT_NE(Find<QWidget>(view, id), nullptr) << id;
    SavePicture(c.name);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, AddressExitBindingTest, ::testing::ValuesIn(kDialogs),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AddressExitViewTest, LibraryTypedInLowerCaseIsStoredUpperCaseAndALeadingDigitRefused)
{
    auto* program = dynamic_cast<CFormExitProgramElement*>(Make(FormElementType::ExitProgram, {}));
    ASSERT_NE(program, nullptr);
    auto* view = dynamic_cast<CExitProgramPropPageView*>(ShowKindPage(program));
    ASSERT_NE(view, nullptr);
    CSelectiveComboBox* library = view->LibraryBox();
    library->setFocus();
    env.env.prompts->ClearRecorded();

    QTest::keyClicks(library->lineEdit(), QStringLiteral("1my-lib"));
    EXPECT_EQ(library->currentText(), QStringLiteral("MYLIB"));
    EXPECT_EQ(env.env.prompts->Beeps().size(), 2u) << "the leading digit and the dash";
    EXPECT_TRUE(program->Libraries().IsEmpty()) << "typing alone adds nothing";

    QTest::mouseClick(Find<QPushButton>(view, CExitProgramPropPage::IDC_ADD), Qt::LeftButton);
    ASSERT_EQ(program->Libraries().GetSize(), 1);
    EXPECT_EQ(program->Libraries().GetAt(0), QStringLiteral("MYLIB"));
    EXPECT_EQ(library->count(), 1);
    EXPECT_EQ(library->currentText(), QStringLiteral("MYLIB"));

    // The program name is upper case as well, and applied on leaving it.
    CSelectiveEdit* name = view->ProgramEdit();
    name->setFocus();
    QTest::keyClicks(name, QStringLiteral("payroll"));
    library->setFocus();
    EXPECT_EQ(program->GetProgramName(), QStringLiteral("PAYROLL"));
}

TEST_F(AddressExitViewTest, AddressDestinationKindShowsItsPlaceDisabled)
{
    auto* address = dynamic_cast<CFormAddressElement*>(
        Make(FormElementType::Address, SourceCells(3, 5, 9, 6), nullptr, PaneSide::Input));
    ASSERT_NE(address, nullptr);
    ASSERT_EQ(address->GetKind(), AddressKind::Dest);
    QWidget* view = ShowKindPage(address);
    for (const int id : {CAddressPropPage::IDC_COLUMN, CAddressPropPage::IDC_LINE, CAddressPropPage::IDC_WIDTH})
        EXPECT_FALSE(Find<QLineEdit>(view, id)->isEnabled()) << id;
    auto* type = Find<QComboBox>(view, CAddressPropPage::IDC_TYPE);
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(type->currentText(), QStringLiteral("Destination"));
    EXPECT_FALSE(Find<QCheckBox>(view, CAddressPropPage::IDC_DELETE)->isEnabled());
}

} // namespace
