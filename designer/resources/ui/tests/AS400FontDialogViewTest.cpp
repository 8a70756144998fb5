// The font dialogs driven through their widgets offscreen: opened by the
// font commands, a font chosen with the mouse, the sample drawn in it, the
// add-font dialog's buttons and context menu, and pictures of the windows.

#include "designer/resources/ui/AS400FontDialogView.h"
#include "designer/resources/ui/AS400FontAddDialogView.h"

#include "designer/resources/fonts/AS400Font.h"
#include "designer/resources/fonts/FontManager.h"
#include "designer/resources/fonts/SelectedFontHolder.h"
#include "designer/resources/ui/FontDialogTexts.h"
#include "platform/ui/qt/DialogBinder.h"
#include "tests/support/FontTestEnvironment.h"
#include "tests/support/QtApplicationEnvironment.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPixmap>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

CAS400Font* MasterFont(const char* typeface, DWORD height, DWORD flags = 0)
{
    auto* font = new CAS400Font(QString(), QString(), 11, 0, 697, CAS400Font::FF_MODERN, QString::fromLatin1(typeface),
                                833, height, FALSE, FALSE, FALSE, FALSE, QStringLiteral("LIB"), QString(), FALSE);
    font->SetFlags(flags);
    EXPECT_TRUE(CFontManager::AddToMasterList(font));
    return font;
}

// Runs the step on the next modal window that comes up other than the one
// already open.
void OnNextModal(std::function<void(QWidget*)> step, QWidget* open = nullptr)
{
    QTimer::singleShot(0, [step = std::move(step), open] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == open || !modal->isVisible()) {
            OnNextModal(step, open);
            return;
        }
        step(modal);
    });
}

void Click(QWidget* dialog, int id)
{
    auto* button = qobject_cast<QAbstractButton*>(FindDialogControl(dialog, id));
    ASSERT_NE(button, nullptr) << id;
    QTest::mouseClick(button, Qt::LeftButton);
}

void ClickRow(QWidget* dialog, int id, int row)
{
    auto* list = qobject_cast<QListWidget*>(FindDialogControl(dialog, id));
    ASSERT_NE(list, nullptr) << id;
    ASSERT_LT(row, list->count());
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

void SaveShot(QWidget* window, const char* name)
{
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR)));
    const QString path = QStringLiteral(KWVD_SCREENSHOT_DIR "/") + QString::fromLatin1(name);
    EXPECT_TRUE(window->grab().save(path, "PNG"));
}

class FontDialogViewTest : public FontTestEnvironment
{
protected:
    void SetUp() override
    {
        FontTestEnvironment::SetUp();
        InstallFontDialogs();
        m_manager = std::make_unique<CFontManager>();
        m_courier = MasterFont("Courier", 100);
        m_courierBold = MasterFont("Courier", 120, CAS400Font::kBold);
        m_gothic = MasterFont("Gothic", 100);
        m_manager->GetFontList().SetPrimaryFont(0, m_courier);
    }

    void TearDown() override
    {
        SetFontDialogRunner({});
        SetFontAddDialogRunner({});
        m_manager.reset();
        FontTestEnvironment::TearDown();
    }

    std::unique_ptr<CFontManager> m_manager;
    CAS400Font* m_courier = nullptr;
    CAS400Font* m_courierBold = nullptr;
    CAS400Font* m_gothic = nullptr;
};

TEST_F(FontDialogViewTest, AnElementFontIsChosenWithTheMouseAndShownInTheSample)
{
    bool sampleBold = false;
    QString sampleText;
    OnNextModal([&](QWidget* dialog) {
        ClickRow(dialog, CAS400FontDialog::IDC_TYPEFACE, 0); // Courier
        ClickRow(dialog, CAS400FontDialog::IDC_STYLE, 1);    // bold
        auto* sample = qobject_cast<QAbstractButton*>(FindDialogControl(dialog, CAS400FontDialog::IDC_SAMPLE));
        sampleBold = sample->font().bold();
        sampleText = sample->text();
        EXPECT_FALSE(FindDialogControl(dialog, CAS400FontDialog::IDC_DBCS)->isVisible());
        SaveShot(dialog, "font-dialog.png");
        Click(dialog, CAS400FontDialog::IDC_OK);
    });
    int index = 0;

    EXPECT_TRUE(m_manager->ChooseElementFont(QStringLiteral("Invoice"), &index));

    EXPECT_EQ(index, 1);
    EXPECT_EQ(m_manager->GetFontList().GetHolder(1)->GetPrimary(), m_courierBold);
    EXPECT_TRUE(sampleBold);
    EXPECT_EQ(sampleText, QStringLiteral("Invoice"));
}

TEST_F(FontDialogViewTest, CancelLeavesTheDefaultFont)
{
    OnNextModal([](QWidget* dialog) {
        ClickRow(dialog, CAS400FontDialog::IDC_TYPEFACE, 1);
        Click(dialog, CAS400FontDialog::IDC_CANCEL);
    });

    EXPECT_FALSE(m_manager->ChooseDefaultFont());

    EXPECT_EQ(m_manager->GetFontList().GetHolder(0)->GetPrimary(), m_courier);
    EXPECT_TRUE(m_manager->GetDefaultFollowsGrid());
}

TEST_F(FontDialogViewTest, AddFontFromTheFontDialogAddsAMasterFontAndSelectsIt)
{
    OnNextModal([](QWidget* dialog) {
        OnNextModal(
            [](QWidget* add) {
                EXPECT_EQ(add->windowTitle(), QStringLiteral("Add Font"));
                auto type = [add](int id, const QString& text) {
                    auto* edit = qobject_cast<QLineEdit*>(FindDialogControl(add, id));
                    ASSERT_NE(edit, nullptr) << id;
                    edit->selectAll();
                    QTest::keyClicks(edit, text);
                };
                type(CAS400FontAddDialog::IDC_FAMILY_NAME, QStringLiteral("Zapf"));
                type(CAS400FontAddDialog::IDC_LIBRARY, QStringLiteral("qfntcpl"));
                type(CAS400FontAddDialog::IDC_CHARSET_NAME, QStringLiteral("C0420090"));
                type(CAS400FontAddDialog::IDC_HEIGHT, QStringLiteral("140"));
                SaveShot(add, "font-add-dialog.png");
                Click(add, CAS400FontAddDialog::IDC_OK);
            },
            dialog);
        Click(dialog, CAS400FontDialog::IDC_ADD);
        // The add-font dialog has closed: the font dialog shows the new font.
        auto* faces = qobject_cast<QListWidget*>(FindDialogControl(dialog, CAS400FontDialog::IDC_TYPEFACE));
        EXPECT_EQ(faces->currentItem() != nullptr ? faces->currentItem()->text() : QString(), QStringLiteral("Zapf"));
        Click(dialog, CAS400FontDialog::IDC_OK);
    });
    int index = 0;

    EXPECT_TRUE(m_manager->ChooseElementFont(QString(), &index));

    ASSERT_NE(m_manager->GetFontList().GetHolder(index), nullptr);
    const CAS400Font* chosen = m_manager->GetFontList().GetHolder(index)->GetPrimary();
    EXPECT_EQ(chosen->GetTypeface(), QStringLiteral("Zapf"));
    EXPECT_EQ(chosen->GetHeight(), 140u);
    EXPECT_EQ(chosen->GetLibrary(), QStringLiteral("QFNTCPL"));
    EXPECT_TRUE(Shown().isEmpty()) << Shown().join(u'|').toStdString();
}

TEST_F(FontDialogViewTest, TheAddDialogsContextMenuOpensOnARightDoubleClick)
{
    CAS400FontAddDialogView view;
    view.Model().fontManager = m_manager.get();
    view.show();

    QTest::mouseDClick(&view, Qt::RightButton, {}, QPoint(2, 2));

    QMenu* menu = view.ContextMenu();
    EXPECT_TRUE(menu->isVisible());
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions().at(0)->text(), QStringLiteral("Import..."));
    EXPECT_EQ(menu->actions().at(1)->text(), QStringLiteral("Export..."));
    menu->close();
}

} // namespace
