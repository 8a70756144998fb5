// The "Barcodes" window run by the settings command offscreen: the controls
// in tab order with their texts, a definition chosen and changed through the
// widgets, a refused module width, and a picture of the window.

#include "designer/resources/ui/BarcodeSettingsDialogView.h"

#include "designer/elements/FormBarcodeElement.h"
#include "designer/resources/barcodes/Barcode.h"
#include "designer/resources/barcodes/BarcodeManager.h"
#include "designer/resources/barcodes/BarcodeStrings.h"
#include "platform/ui/qt/DialogBinder.h"
#include "tests/support/QtApplicationEnvironment.h"
#include "tests/support/WvdDocumentFixture.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

using Dialog = CBarcodeSettingsDialog;

class BarcodeSettingsDialogViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterBarcodeStrings();
        doc = std::make_unique<CDesignerDoc>();
        ASSERT_TRUE(doc->OnNewDocument());
        m_previous = SetBarcodeSettingsRunner({});
        InstallBarcodeSettingsDialog();
    }

    void TearDown() override
    {
        SetBarcodeSettingsRunner(m_previous);
        doc.reset();
    }

    // Runs the command; the user's part acts on the open window.
    BOOL Edit(int* index, const std::function<void(CBarcodeSettingsDialogView&)>& user)
    {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* view = qobject_cast<CBarcodeSettingsDialogView*>(QApplication::activeModalWidget());
            if (view == nullptr) {
                ADD_FAILURE() << "no dialog open";
                return;
            }
            ran = true;
            user(*view);
            if (view->isVisible())
                view->reject();
        });
        const BOOL result = doc->GetBarcodeManager()->EditBarcode(index);
        EXPECT_TRUE(ran);
        return result;
    }

    template <class T>
    static T* Field(CBarcodeSettingsDialogView& view, int id)
    {
        return qobject_cast<T*>(FindDialogControl(&view, id));
    }

    WvdTestEnvironment env;
    std::unique_ptr<CDesignerDoc> doc;

private:
    BarcodeSettingsRunner m_previous;
};

TEST_F(BarcodeSettingsDialogViewTest, ControlsStandInTabOrderWithTheirTexts)
{
    int index = -1;
    Edit(&index, [](CBarcodeSettingsDialogView& view) {
        EXPECT_EQ(view.windowTitle(), QStringLiteral("Barcodes"));
        const int order[] = {Dialog::IDC_DESCRIPTION,    Dialog::IDC_ADD,
                             Dialog::IDC_DELETE,         Dialog::IDC_TYPE,
                             Dialog::IDC_MODIFIER,       Dialog::IDC_PREAMBLE,
                             Dialog::IDC_POSTAMBLE,      Dialog::IDC_MODULE_WIDTH,
                             Dialog::IDC_PRINT_TEXT,     Dialog::IDC_REMOVE_LEADING,
                             Dialog::IDC_REMOVE_TRAILING};
        QWidget* widget = FindDialogControl(&view, order[0]);
        ASSERT_NE(widget, nullptr);
        for (size_t i = 1; i < std::size(order); ++i) {
            // The description's own line edit comes between.
            QWidget* next = widget->nextInFocusChain();
            while (next != nullptr && next->objectName().isEmpty())
                next = next->nextInFocusChain();
            ASSERT_NE(next, nullptr);
            EXPECT_EQ(next->objectName(), QString::number(order[i]));
            widget = next;
        }
        EXPECT_EQ(Field<QPushButton>(view, Dialog::IDC_ADD)->text(), QStringLiteral("&Add"));
        EXPECT_EQ(Field<QPushButton>(view, Dialog::IDC_DELETE)->text(), QStringLiteral("&Del"));
        EXPECT_EQ(Field<QCheckBox>(view, Dialog::IDC_REMOVE_TRAILING)->text(),
                  QStringLiteral("Remove Trailing Blanks"));
        EXPECT_EQ(Field<QComboBox>(view, Dialog::IDC_TYPE)->count(), 25);
        EXPECT_EQ(Field<QComboBox>(view, Dialog::IDC_TYPE)->currentIndex(), -1);
        EXPECT_EQ(Field<QLineEdit>(view, Dialog::IDC_MODULE_WIDTH)->text(), QStringLiteral("0"));
    });
}

TEST_F(BarcodeSettingsDialogViewTest, ADefinitionIsChosenAndChangedThroughTheWidgets)
{
    CBarcode* master = CBarcodeManager::FindMasterBarcode(QStringLiteral("Postal"));
    ASSERT_NE(master, nullptr);
    int index = -1;
    // The caller registers its element with the slot chosen.
    CFormBarcodeElement* element = nullptr;
    {
        CDocChangeGuard guard(doc.get());
        element = new CFormBarcodeElement(doc.get(), kwvd::Rect(0, 0, 100, 40));
        doc->AddElement(element, FALSE, nullptr);
        ASSERT_TRUE(element->SetBarcodeIndex(-1));
    }
    const BOOL changed = Edit(&index, [](CBarcodeSettingsDialogView& view) {
        auto* description = Field<QComboBox>(view, Dialog::IDC_DESCRIPTION);
        ASSERT_EQ(description->count(), 1);
        description->setCurrentIndex(0);
        emit description->activated(0);
        auto* type = Field<QComboBox>(view, Dialog::IDC_TYPE);
        EXPECT_EQ(type->currentIndex(), 0);
        type->setCurrentIndex(15);
        emit type->activated(15);
        EXPECT_EQ(Field<QComboBox>(view, Dialog::IDC_MODIFIER)->count(), 4);
        auto* width = Field<QLineEdit>(view, Dialog::IDC_MODULE_WIDTH);
        width->setFocus(Qt::TabFocusReason);
        width->clear();
        QTest::keyClicks(width, QStringLiteral("x1000"));
        // Digits only are typed; 1000 is refused and focused.
        QTest::mouseClick(Field<QPushButton>(view, Dialog::IDC_OK), Qt::LeftButton);
        EXPECT_TRUE(view.isVisible());
        width->setText(QStringLiteral("20"));
        QTest::keyClick(Field<QCheckBox>(view, Dialog::IDC_PRINT_TEXT), Qt::Key_Space);
        QTest::mouseClick(Field<QPushButton>(view, Dialog::IDC_OK), Qt::LeftButton);
        EXPECT_FALSE(view.isVisible());
    });
    EXPECT_TRUE(changed);
    EXPECT_EQ(index, 0);
    {
        CDocChangeGuard guard(doc.get());
        EXPECT_TRUE(element->SetBarcodeIndex(index));
    }
    const CBarcode* slot = doc->GetBarcodeManager()->GetBarcode(0);
    ASSERT_NE(slot, nullptr);
    EXPECT_EQ(slot->GetName(), QStringLiteral("Postal"));
    EXPECT_EQ(slot->GetTypeIndex(), 15);
    EXPECT_EQ(slot->m_nModuleWidth, 20);
    EXPECT_TRUE(slot->m_bPrintText);
    // Every handler reads the controls first: the empty window's width 0 is
    // refused when the item is chosen, then 1000 on OK.
    const QString refused =
        DialogCheckText(DialogCheckMessage::IntegerRange, QStringLiteral("1"), QStringLiteral("999"));
    EXPECT_EQ(env.PromptTexts(), QStringList({refused, refused}));
}

TEST_F(BarcodeSettingsDialogViewTest, TypingInTheDescriptionNamesTheEntry)
{
    CBarcode* parcel = CBarcodeManager::FindMasterBarcode(QStringLiteral("Parcel"));
    parcel->m_nModuleWidth = 12;
    CBarcodeManager::FindMasterBarcode(QStringLiteral("Letter"));
    int index = -1;
    Edit(&index, [&](CBarcodeSettingsDialogView& view) {
        auto* description = Field<QComboBox>(view, Dialog::IDC_DESCRIPTION);
        QLineEdit* edit = description->lineEdit();
        view.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
        edit->setFocus(Qt::TabFocusReason);
        // No more than 30 characters, and nothing completed for the user.
        QTest::keyClicks(edit, QString(35, u'x'));
        EXPECT_EQ(edit->text(), QString(30, u'x'));
        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("Parcel"));
        // Leaving the field selects the master entry of exactly that name.
        Field<QLineEdit>(view, Dialog::IDC_PREAMBLE)->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(view.Model().SelectedBarcode(), parcel);
        EXPECT_EQ(Field<QLineEdit>(view, Dialog::IDC_MODULE_WIDTH)->text(), QStringLiteral("12"));
        // A new name typed over the chosen item is a new entry.
        edit->setFocus(Qt::TabFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("Par"));
        EXPECT_EQ(description->currentIndex(), -1);
        EXPECT_EQ(edit->text(), QStringLiteral("Par"));
        QTest::mouseClick(Field<QPushButton>(view, Dialog::IDC_OK), Qt::LeftButton);
        EXPECT_FALSE(view.isVisible());
    });
    EXPECT_EQ(index, 0);
    ASSERT_NE(doc->GetBarcodeManager()->GetBarcode(0), nullptr);
    EXPECT_EQ(doc->GetBarcodeManager()->GetBarcode(0)->GetName(), QStringLiteral("Par"));
    EXPECT_EQ(doc->GetBarcodeManager()->GetBarcode(0)->m_nModuleWidth, 12);
    EXPECT_NE(CBarcodeManager::FindMasterByName(QStringLiteral("Par")), nullptr);
    // Leaving the description read the empty window's width 0 first.
    EXPECT_EQ(env.PromptTexts(), QStringList(DialogCheckText(DialogCheckMessage::IntegerRange, QStringLiteral("1"),
                                                             QStringLiteral("999"))));
}

TEST_F(BarcodeSettingsDialogViewTest, RendersTheWindow)
{
    CBarcode definition(QStringLiteral("Warehouse label"));
    definition.SetTypeIndex(12);
    definition.SetPreamble(QStringLiteral("WH-"));
    definition.m_bRemoveTrailingBlanks = TRUE;
    int index = doc->GetBarcodeManager()->Add(definition);
    CBarcodeManager::FindMasterBarcode(QStringLiteral("Parcel"));
    Edit(&index, [](CBarcodeSettingsDialogView& view) {
        const QImage shot = view.grab().toImage();
        ASSERT_FALSE(shot.isNull());
        for (QWidget* child : view.findChildren<QWidget*>()) {
            if (child->isVisible() && !child->objectName().isEmpty()) {
                EXPECT_TRUE(view.rect().contains(child->geometry())) << child->objectName().toStdString();
            }
        }
        ASSERT_TRUE(QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR)));
        const QString path = QStringLiteral(KWVD_SCREENSHOT_DIR "/barcode-settings-113.png");
        ASSERT_TRUE(shot.save(path, "PNG"));
        EXPECT_FALSE(QImage(path).isNull());
    });
}

} // namespace
