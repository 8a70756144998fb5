// The dialogs and sheet pages in another language: with a small German
// bundle installed as the string table's source, each dialog built shows the
// bundle's caption and label; one built after the bundle is gone shows the
// built-in texts again, so a dialog takes the language of the moment it is
// opened.

#include "designer/document/DesignerDoc.h"
#include "designer/document/ExportChoice.h"
#include "designer/document/ui/ExportToAS400Dialog.h"
#include "designer/document/ui/PageSelectDlg.h"
#include "designer/document/ui/PageSetupSheet.h"
#include "designer/document/ui/SplfDtaDlg.h"
#include "designer/shell/tests/AppTestEnvironment.h"
#include "designer/views/find/FindReplaceDlg.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/LanguageBundle.h"
#include "platform/ui/StringTable.h"
#include "tests/support/WvdDocumentFixture.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>

#include <functional>
#include <map>
#include <memory>

namespace {

// What an opened dialog shows: its caption and the texts of its labels,
// buttons and groups.
struct Shown
{
    QString caption;
    QStringList texts;
};

QStringList TextsUnder(const QWidget* widget)
{
    QStringList texts;
    for (const QLabel* label : widget->findChildren<QLabel*>())
        texts << label->text();
    for (const QAbstractButton* button : widget->findChildren<QAbstractButton*>())
        texts << button->text();
    for (const QGroupBox* group : widget->findChildren<QGroupBox*>())
        texts << group->title();
    return texts;
}

using Size = CPageSizePropPage;

class DialogTextsInLanguage : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureQApplication();
        ASSERT_TRUE(doc.OnNewDocument());
        doc.FillPageSetup(values);
        previousRunner = SetExportDialogRunner([this](ExportChoice& choice) {
            CExportToAS400Dialog dialog(choice);
            exportShown = {dialog.windowTitle(), {dialog.AutoImportBox()->text(), dialog.OverwriteBox()->text()}};
            return false;
        });
    }

    void TearDown() override { SetExportDialogRunner(previousRunner); }

    // A page of the Page Setup sheet: its title in the sheet's list and the
    // texts of its view.
    Shown SetupPage(int index)
    {
        CPageSetupSheet sheet(values, nullptr);
        EXPECT_TRUE(sheet.SetActivePage(index));
        return {sheet.NavigationList()->item(index)->text(), TextsUnder(sheet.GetPageView(index))};
    }

    // The export dialog as the Export WVD command opens it.
    Shown ExportDialog()
    {
        exportShown = {};
        doc.OnExportWvd();
        return exportShown;
    }

    WvdTestEnvironment env;
    CDesignerDoc doc;
    PageSetupValues values;
    ExportDialogRunner previousRunner;
    Shown exportShown;
};

TEST_F(DialogTextsInLanguage, EachDialogShowsTheBundlesCaptionAndLabel)
{
    struct Case
    {
        const char* name;
        UINT captionId;
        const char* caption;
        UINT labelId;
        const char* label;
        std::function<Shown()> open;
    };
    const Case cases[] = {
        {"Spooled File Data", DialogTextId(CSplfDtaDlg::IDD, 0), "Spoolfile-Daten",
         DialogTextId(CSplfDtaDlg::IDD, CSplfDtaDlg::kFirstLabel + CSplfDtaDlg::TotalPages), "Seiten gesamt:",
         [] {
             CSplfDtaDlg dialog(nullptr);
             return Shown{dialog.windowTitle(), TextsUnder(&dialog)};
         }},
        {"Goto Page", DialogTextId(CPageSelectDlg::IDD, 0), "Gehe zu Seite",
         DialogTextId(CPageSelectDlg::IDD, CPageSelectDlg::IDC_TOTAL), "Seiten insgesamt:",
         [] {
             CPageSelectDlg dialog(1, 4);
             return Shown{dialog.windowTitle(), TextsUnder(&dialog)};
         }},
        {"Find/Replace", DialogTextId(CFindReplaceDlg::IDD, 0), "Suchen/Ersetzen",
         DialogTextId(CFindReplaceDlg::IDD, CFindReplaceDlg::IDC_FIND_TEXT), "Suchen nach:",
         [] {
             CFindReplaceDlg dialog(nullptr, nullptr);
             return Shown{dialog.windowTitle(), TextsUnder(&dialog)};
         }},
        {"Find/Replace button", DialogTextId(CFindReplaceDlg::IDD, 0), "Suchen/Ersetzen",
         DialogTextId(CFindReplaceDlg::IDD, CFindReplaceDlg::ID_REPLACE_ALL), "&Alle ersetzen",
         [] {
             CFindReplaceDlg dialog(nullptr, nullptr);
             return Shown{dialog.windowTitle(), TextsUnder(&dialog)};
         }},
        {"Page Setup", CPageSetupSheet::IDS_CAPTION, "Seite einrichten", DialogTextId(Size::IDD, 0), "Gr\u00f6\u00dfe",
         [this] {
             CPageSetupSheet sheet(values, nullptr);
             QStringList titles;
             for (int i = 0; i < sheet.GetPageCount(); ++i)
                 titles << sheet.NavigationList()->item(i)->text();
             return Shown{sheet.windowTitle(), titles};
         }},
        {"Page Setup: Size", DialogTextId(Size::IDD, 0), "Gr\u00f6\u00dfe",
         DialogTextId(Size::IDD, Size::IDC_ORIENTATION_GROUP), "Ausrichtung", [this] { return SetupPage(0); }},
        {"Page Setup: Size unit", DialogTextId(Size::IDD, 0), "Gr\u00f6\u00dfe",
         DialogTextId(Size::IDD, Size::IDC_BORDER_UNIT), "1440stel Zoll", [this] { return SetupPage(0); }},
        {"Page Setup: Output", DialogTextId(CPageOutputPropPage::IDD, 0), "Ausgabe",
         DialogTextId(CPageOutputPropPage::IDD, CPageOutputPropPage::IDC_DEVICE_GROUP), "Standard-Ausgabeger\u00e4t",
         [this] { return SetupPage(1); }},
        {"Page Setup: Page", DialogTextId(CPagePagePropPage::IDD, 0), "Seite",
         DialogTextId(CPagePagePropPage::IDD, CPagePagePropPage::IDC_IGNORE_FIRST), "Erste Seite &ignorieren",
         [this] { return SetupPage(2); }},
        {"Page Setup: Conditional", DialogTextId(CPageCondPropPage::IDD, 0), "Bedingung",
         DialogTextId(CPageCondPropPage::IDD, CPageCondPropPage::IDC_MODE_POSITION), "Datenposition vergleichen",
         [this] { return SetupPage(3); }},
        {"Page Setup: Language", DialogTextId(CPageLanguagePropPage::IDD, 0), "Sprache",
         DialogTextId(CPageLanguagePropPage::IDD, CPageLanguagePropPage::IDC_CODE_PAGE),
         "Codeseite:", [this] { return SetupPage(4); }},
        {"Page Setup: Information", DialogTextId(CPageInfoPropPage::IDD, 0), "Informationen",
         DialogTextId(CPageInfoPropPage::IDD, CPageInfoPropPage::IDC_UPLOAD_PATH),
         "WVD-Pfad beim letzten Hochladen:", [this] { return SetupPage(5); }},
        {"Export WVD", IDS_EXPORT_TITLE, "WVD exportieren", IDS_OVERWRITE_EXISTING, "Vorhandene \u00fcberschreiben",
         [this] { return ExportDialog(); }},
    };

    // Opening each dialog once registers its built-in texts.
    for (const Case& c : cases)
        c.open();

    // The bundle, written as the format says; a text standing in two rows
    // stands once.
    std::map<UINT, QString> texts;
    for (const Case& c : cases) {
        texts[c.captionId] = QString::fromUtf8(c.caption);
        texts[c.labelId] = QString::fromUtf8(c.label);
    }
    QByteArray bundleText = "KWVD Language 1 0x0407\n[Texts]\n";
    for (const auto& [id, text] : texts)
        bundleText += QByteArray::number(id) + '=' + text.toUtf8() + '\n';
    const auto bundle = LanguageBundle::Parse(bundleText);
    ASSERT_NE(bundle, nullptr);

    const std::shared_ptr<StringSource> previous = StringTable::SetSource(bundle);
    for (const Case& c : cases) {
        const Shown shown = c.open();
        EXPECT_EQ(shown.caption.toStdString(), c.caption) << c.name;
        EXPECT_TRUE(shown.texts.contains(QString::fromUtf8(c.label)))
            << c.name << ": " << shown.texts.join(" | ").toStdString();
    }
    StringTable::SetSource(previous);

    for (const Case& c : cases) {
        const Shown shown = c.open();
        const std::optional<QString> builtInCaption = StringTable::Find(c.captionId);
        const std::optional<QString> builtInLabel = StringTable::Find(c.labelId);
        ASSERT_TRUE(builtInCaption && builtInLabel) << c.name;
        EXPECT_NE(*builtInCaption, QString::fromUtf8(c.caption)) << c.name;
        EXPECT_EQ(shown.caption.toStdString(), builtInCaption->toStdString()) << c.name;
        EXPECT_TRUE(shown.texts.contains(*builtInLabel)) << c.name;
    }
}

} // namespace
