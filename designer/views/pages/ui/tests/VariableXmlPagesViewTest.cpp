#include "designer/views/pages/ui/tests/KindSheetWindowFixture.h"

#include "designer/controls/SelectiveComboBox.h"
#include "designer/elements/FormVariableElement.h"
#include "designer/elements/FormXmlCommentElement.h"
#include "designer/elements/FormXmlElement.h"
#include "designer/elements/FormXmlInstructionElement.h"
#include "designer/elements/VariableStrings.h"
#include "designer/views/pages/ElementPropertySheet.h"
#include "designer/views/pages/VariablePropPage.h"
#include "designer/views/pages/XmlPropPages.h"
#include "designer/views/pages/ui/ElementPropertySheetWnd.h"
#include "designer/views/pages/ui/VariablePropPageView.h"
#include "designer/views/pages/ui/tests/SheetTestFrame.h"
#include "platform/ui/qt/UpDownControl.h"
#include "tests/support/QtApplicationEnvironment.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include <ostream>
#include <string_view>

namespace {

class PagesViewTest : public KindSheetWindowTest
{
protected:
    PagesViewTest() { RegisterVariableStrings(); }
};

// One row of a dialog's binding table.
struct Binding
{
    int id;
    const char* field;
    PageNotification notification;
    DWORD group;
};

// The record's field of a row as its control shows it; "positioned" is the
// constant flag read the other way.
QString FieldText(const CElementPropPage& page, std::string_view field)
{
    if (const auto* instruction = dynamic_cast<const CXmlInstructionPropPage*>(&page))
        return field == "name" ? instruction->Data().name : QStringLiteral("?");
    auto fromBlock = [field](const auto& d, BOOL constant) {
        const std::pair<std::string_view, QString> fields[] = {
            {"name", d.name},
            {"data", d.data},
            {"column", QString::number(d.column)},
            {"line", QString::number(d.line)},
            {"width", QString::number(d.width)},
            {"forceAbsolute", QString::number(d.forceAbsolute)},
            {"constant", QString::number(constant != 0)},
            {"positioned", QString::number(constant == 0)},
        };
        for (const auto& [name, value] : fields)
            if (name == field)
                return value;
        return QStringLiteral("?");
    };
    if (const auto* variable = dynamic_cast<const CVariablePropPage*>(&page))
        return fromBlock(variable->Data(), variable->Data().useData);
    if (const auto* named = dynamic_cast<const CXmlElementPropPage*>(&page))
        return fromBlock(named->Data(), named->Data().constantData);
    if (const auto* comment = dynamic_cast<const CXmlCommentPropPage*>(&page)) {
        XmlPageData data = comment->Data();
        data.name = QStringLiteral("?");
        return fromBlock(data, data.constantData);
    }
    return QStringLiteral("?");
}

QString ShownText(QWidget* widget)
{
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->currentText();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return QString::number(button->isChecked());
    return QStringLiteral("<none>");
}

struct DialogCase
{
    const char* name;
    int type;
    int side;
    UINT dialog;
    std::vector<Binding> bindings;
    // The up-downs with their edits.
    std::vector<std::pair<int, int>> upDowns;
};

void PrintTo(const DialogCase& c, std::ostream* os)
{
    *os << c.name;
}

using N = PageNotification;

const DialogCase kDialogs[] = {
    {"Variable",
     FormElementType::Variable,
     PaneSide::Input,
     169,
     {{1407, "name", N::CloseUp, 0x40000},
      {1407, "name", N::EditUpdate, 0x40000},
      {1409, "constant", N::Clicked, 8},
      {1405, "data", N::Change, 8},
      {1410, "positioned", N::Clicked, 1},
      {1413, "column", N::Change, 1},
      {1415, "line", N::Change, 1},
      {1406, "forceAbsolute", N::Clicked, 0x100},
      {1411, "width", N::Change, 2}},
     {{1414, 1413}, {1416, 1415}, {1412, 1411}}},
    {"XmlElement",
     FormElementType::XmlElement,
     PaneSide::Input,
     172,
     {{1446, "name", N::Change, 0x400000},
      {1449, "constant", N::Clicked, 8},
      {1444, "data", N::Change, 8},
      {1450, "positioned", N::Clicked, 1},
      {1453, "column", N::Change, 1},
      {1455, "line", N::Change, 1},
      {1445, "forceAbsolute", N::Clicked, 0x100},
      {1451, "width", N::Change, 2}},
     {{1454, 1453}, {1456, 1455}, {1452, 1451}}},
    {"XmlAttribute",
     FormElementType::XmlAttribute,
     PaneSide::Input,
     170,
     {{1420, "name", N::Change, 0x400000},
      {1423, "constant", N::Clicked, 8},
      {1418, "data", N::Change, 8},
      {1424, "positioned", N::Clicked, 1},
      {1427, "column", N::Change, 1},
      {1429, "line", N::Change, 1},
      {1419, "forceAbsolute", N::Clicked, 0x100},
      {1425, "width", N::Change, 2}},
     {{1428, 1427}, {1430, 1429}, {1426, 1425}}},
    {"XmlComment",
     FormElementType::XmlComment,
     PaneSide::Input,
     171,
     {{1435, "constant", N::Clicked, 8},
      {1432, "data", N::Change, 8},
      {1436, "positioned", N::Clicked, 1},
      {1439, "column", N::Change, 1},
      {1441, "line", N::Change, 1},
      {1433, "forceAbsolute", N::Clicked, 0x100},
      {1437, "width", N::Change, 2}},
     {{1440, 1439}, {1442, 1441}, {1438, 1437}}},
    {"XmlInstruction",
     FormElementType::XmlInstruction,
     PaneSide::Output,
     173,
     {{1457, "name", N::Change, 0x400000}},
     {}},
};

class DialogBindingTest : public PagesViewTest, public ::testing::WithParamInterface<DialogCase>
{};

TEST_P(DialogBindingTest, EveryControlAnswersItsNotificationWithItsGroup)
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
        EXPECT_EQ(ShownText(widget), FieldText(*page, b.field)) << b.field;
    }
    const int largestColumn = Input().GetPixelWidth() / Input().GetCellWidth();
    const int largestLine = Input().GetPixelHeight() / Input().GetCellHeight();
    for (const auto& [spinId, editId] : c.upDowns) {
        SCOPED_TRACE(spinId);
        auto* spin = Find<CUpDownControl>(view, spinId);
        ASSERT_NE(spin, nullptr);
        EXPECT_EQ(spin->Minimum(), 1);
        EXPECT_EQ(spin->Maximum(), editId == c.upDowns[1].second ? largestLine : largestColumn);
    }

    SavePicture(c.name);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogBindingTest, ::testing::ValuesIn(kDialogs),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PagesViewTest, VariableNameRefusesBlanksQuestionMarksAndAnEleventhCharacter)
{
    CFormElement* variable = Make(FormElementType::Variable, SourceCells(3, 3, 9, 4), nullptr, PaneSide::Input);
    auto* view = dynamic_cast<CVariablePropPageView*>(ShowKindPage(variable));
    ASSERT_NE(view, nullptr);
    CSelectiveComboBox* name = view->NameBox();
    name->setFocus();
    name->lineEdit()->selectAll();
    QTest::keyClick(name->lineEdit(), Qt::Key_Backspace);
    env.env.prompts->ClearRecorded();

    QTest::keyClicks(name->lineEdit(), QStringLiteral("A B?CDEFGHIJK"));
    EXPECT_EQ(name->currentText(), QStringLiteral("ABCDEFGHIJ"));
    EXPECT_EQ(static_cast<CFormVariableElement*>(variable)->GetVariableName(), QStringLiteral("ABCDEFGHIJ"));
    EXPECT_EQ(env.env.prompts->Beeps().size(), 3u) << "the blank, the question mark, the eleventh character";
    EXPECT_EQ(name->lineEdit()->cursorPosition(), 10) << "the caret stays at the end while typing";
}

TEST_F(PagesViewTest, VariableNameTypedReservedIsReportedAndPickedFromTheList)
{
    auto* total = static_cast<CFormVariableElement*>(
        Make(FormElementType::Variable, SourceCells(3, 6, 9, 7), nullptr, PaneSide::Input));
    {
        CDocChangeGuard change(&Doc());
        total->SetName(QStringLiteral("TOTAL"));
    }
    auto* variable = static_cast<CFormVariableElement*>(
        Make(FormElementType::Variable, SourceCells(3, 3, 9, 4), nullptr, PaneSide::Input));
    auto* view = dynamic_cast<CVariablePropPageView*>(ShowKindPage(variable));
    ASSERT_NE(view, nullptr);
    CSelectiveComboBox* name = view->NameBox();
    ASSERT_GE(name->findText(QStringLiteral("TOTAL")), 0);
    name->setFocus();
    name->lineEdit()->selectAll();
    QTest::keyClick(name->lineEdit(), Qt::Key_Backspace);
    env.env.prompts->ClearRecorded();

    QTest::keyClicks(name->lineEdit(), QStringLiteral("PAGE"));
    EXPECT_EQ(variable->GetVariableName(), QStringLiteral("PAG"));
    ASSERT_EQ(env.env.prompts->Recorded().size(), 1u);
    EXPECT_TRUE(env.env.prompts->Recorded().front().text.startsWith(QStringLiteral("Reserved variable name.")));
    EXPECT_EQ(name->currentText(), QStringLiteral("PAGE"));

    // Chosen from the list: the entry's name.
    const int index = name->findText(QStringLiteral("TOTAL"));
    name->setCurrentIndex(index);
    emit name->activated(index);
    EXPECT_EQ(variable->GetVariableName(), QStringLiteral("TOTAL"));
    EXPECT_EQ(name->currentText(), QStringLiteral("TOTAL"));
}

TEST_F(PagesViewTest, CommentSwitchedToPositionEnablesItsPlace)
{
    CFormElement* comment = Make(FormElementType::XmlComment, {}, nullptr, PaneSide::Output);
    QWidget* view = ShowKindPage(comment);
    ASSERT_NE(view, nullptr);
    auto* text = Find<QLineEdit>(view, CXmlCommentPropPage::IDC_DATA);
    auto* column = Find<QLineEdit>(view, CXmlCommentPropPage::IDC_COLUMN);
    auto* position = Find<QRadioButton>(view, CXmlCommentPropPage::IDC_POSITION_RADIO);
    ASSERT_TRUE(text && column && position);
    EXPECT_TRUE(text->isEnabled());
    EXPECT_FALSE(column->isEnabled());

    QTest::mouseClick(position, Qt::LeftButton, {}, QPoint(8, position->height() / 2));
    EXPECT_FALSE(static_cast<CFormXmlCommentElement*>(comment)->GetConstantDataFlag());
    EXPECT_FALSE(text->isEnabled());
    for (const int id :
         {CXmlCommentPropPage::IDC_COLUMN, CXmlCommentPropPage::IDC_LINE, CXmlCommentPropPage::IDC_WIDTH})
        EXPECT_TRUE(Find<QLineEdit>(view, id)->isEnabled()) << id;
    EXPECT_TRUE(position->isChecked());
    EXPECT_FALSE(Find<QRadioButton>(view, CXmlCommentPropPage::IDC_DATA_RADIO)->isChecked());
}

TEST_F(PagesViewTest, XmlElementInALoopShowsItsStylesAndRelativePosition)
{
    CFormElement* loop = Make(FormElementType::Loop, Cells(1, 1, 60, 30));
    auto* element = static_cast<CFormXmlElement*>(
        Make(FormElementType::XmlElement, SourceCells(4, 5, 14, 6), loop, PaneSide::Input));
    ASSERT_NE(element, nullptr);
    {
        CDocChangeGuard change(&Doc());
        element->SetName(QStringLiteral("Invoice"));
        element->SetMinOccurs(QStringLiteral("0"));
        element->SetMaxOccurs(QStringLiteral("*"));
    }
    QWidget* view = ShowKindPage(element);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Find<QLabel>(view, CXmlElementPropPage::IDC_STYLES)->text(), QStringLiteral("Occurs = \t0 - *"));
    EXPECT_EQ(Find<QGroupBox>(view, CXmlElementPropPage::IDC_POSITION_GROUP)->title(),
              QStringLiteral("Position (Relative)"));
    EXPECT_TRUE(Find<QCheckBox>(view, CXmlElementPropPage::IDC_FORCE_ABSOLUTE)->isEnabled());

    ASSERT_TRUE(QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR)));
    const QImage picture = Window().grab().toImage();
    EXPECT_TRUE(picture.save(QStringLiteral(KWVD_SCREENSHOT_DIR "/element-sheet-XmlElement-in-loop.png")));
}

} // namespace
