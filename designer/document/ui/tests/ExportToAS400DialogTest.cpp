// The export dialog: what it offers from the export choice, what OK writes
// back, its file types matched without regard to case, and how the export
// command reaches it.

#include "designer/document/ui/ExportToAS400Dialog.h"
#include "designer/document/ExportChoice.h"
#include "tests/support/QtApplicationEnvironment.h"

#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

class ExportToAS400DialogTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { RegisterExportStrings(); }

    ExportChoice Offered() const
    {
        ExportChoice choice;
        choice.title = QStringLiteral("Export WVD");
        choice.initialFolder = folder.path();
        choice.fileName = QStringLiteral("REPORT7.jvx");
        choice.defaultExtension = QStringLiteral("jvx");
        choice.filter = ExportFilter();
        choice.filterIndex = 20; // version 9
        choice.overwrite = true;
        return choice;
    }

    // The names the dialog's file list shows.
    static QStringList Shown(const CExportToAS400Dialog& dialog)
    {
        QStringList names;
        const auto* list = dialog.findChild<QListView*>(QStringLiteral("listView"));
        if (!list || !list->model())
            return names;
        const QAbstractItemModel* model = list->model();
        for (int row = 0; row < model->rowCount(list->rootIndex()); ++row)
            names << model->index(row, 0, list->rootIndex()).data().toString();
        return names;
    }

    static bool Touch(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly);
    }

    QTemporaryDir folder;
};

TEST_F(ExportToAS400DialogTest, OffersTheChoice)
{
    ASSERT_TRUE(folder.isValid());
    const ExportChoice choice = Offered();
    CExportToAS400Dialog dialog(choice);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Export WVD"));
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    ASSERT_EQ(dialog.nameFilters().size(), kExportFilterCount);
    EXPECT_EQ(dialog.selectedNameFilter(), dialog.nameFilters()[19]);
    EXPECT_TRUE(dialog.selectedNameFilter().startsWith(QStringLiteral("WVD Export Files (Version 9)")));
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("jvx"));
    EXPECT_EQ(dialog.labelText(QFileDialog::Accept), QStringLiteral("&Export"));
    EXPECT_FALSE(dialog.filter().testFlag(QDir::CaseSensitive));

    EXPECT_EQ(dialog.AutoImportBox()->text(), QStringLiteral("Auto Import"));
    EXPECT_FALSE(dialog.AutoImportBox()->isEnabled());
    EXPECT_FALSE(dialog.AutoImportBox()->isChecked());
    EXPECT_EQ(dialog.OverwriteBox()->text(), QStringLiteral("Overwrite Existing"));
    EXPECT_TRUE(dialog.OverwriteBox()->isChecked());
}

TEST_F(ExportToAS400DialogTest, ReadsBackPathTypeAndOptions)
{
    ASSERT_TRUE(folder.isValid());
    ExportChoice choice = Offered();
    CExportToAS400Dialog dialog(choice);
    dialog.selectNameFilter(dialog.nameFilters().back());
    dialog.OverwriteBox()->setChecked(false);
    dialog.ReadBack(choice);
    EXPECT_EQ(choice.filterIndex, kExportFilterCount);
    EXPECT_EQ(ExportVersionForFilterIndex(choice.filterIndex), 28);
    EXPECT_FALSE(choice.overwrite);
    EXPECT_FALSE(choice.autoImport);
    EXPECT_EQ(QDir::cleanPath(choice.path), QDir::cleanPath(folder.filePath(QStringLiteral("REPORT7.jvx"))));
}

TEST_F(ExportToAS400DialogTest, UpperCaseHostFilesMatchThePattern)
{
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(Touch(folder.filePath(QStringLiteral("INVOICE.JVX"))));
    ASSERT_TRUE(Touch(folder.filePath(QStringLiteral("letter.jvx"))));
    ASSERT_TRUE(Touch(folder.filePath(QStringLiteral("notes.txt"))));
    CExportToAS400Dialog dialog(Offered());
    dialog.show();
    ASSERT_NE(dialog.findChild<QListView*>(QStringLiteral("listView")), nullptr);
    // The folder is read in the background; the list fills when it is done.
    QTRY_VERIFY_WITH_TIMEOUT(Shown(dialog).contains(QStringLiteral("letter.jvx")), 10000);
    EXPECT_TRUE(Shown(dialog).contains(QStringLiteral("INVOICE.JVX")));
    EXPECT_FALSE(Shown(dialog).contains(QStringLiteral("notes.txt")));
}

TEST_F(ExportToAS400DialogTest, ExportCommandShowsItThroughTheRunner)
{
    ASSERT_TRUE(folder.isValid());
    InstallExportToAS400Dialog();
    ExportChoice choice = Offered();
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CExportToAS400Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen = true;
        dialog->selectNameFilter(dialog->nameFilters()[0]);
        static_cast<QDialog*>(dialog)->accept(); // as OK does, through the chooser's checks
    });
    EXPECT_TRUE(RunExportDialog(choice));
    EXPECT_TRUE(seen);
    EXPECT_EQ(choice.filterIndex, 1);
    EXPECT_TRUE(choice.overwrite);

    ExportChoice cancelled = Offered();
    QTimer::singleShot(0, [] {
        if (QWidget* dialog = QApplication::activeModalWidget())
            static_cast<QDialog*>(dialog)->reject();
    });
    EXPECT_FALSE(RunExportDialog(cancelled));
    EXPECT_TRUE(cancelled.path.isEmpty());
    SetExportDialogRunner({});
}

TEST_F(ExportToAS400DialogTest, RendersIntoAPicture)
{
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(Touch(folder.filePath(QStringLiteral("INVOICE.JVX"))));
    CExportToAS400Dialog dialog(Offered());
    dialog.resize(720, 480);
    dialog.show();
    QTRY_VERIFY_WITH_TIMEOUT(Shown(dialog).contains(QStringLiteral("INVOICE.JVX")), 10000);
    const QImage shot = dialog.grab().toImage();
    ASSERT_FALSE(shot.isNull());
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR)));
    const QString path = QStringLiteral(KWVD_SCREENSHOT_DIR "/export-wvd-dialog.png");
    ASSERT_TRUE(shot.save(path, "PNG"));
    EXPECT_FALSE(QImage(path).isNull());
}

} // namespace
