#include "designer/document/DesignerDoc.h"
#include "designer/shell/HyperStatic.h"
#include "designer/shell/IncorrectVersionDlg.h"
#include "designer/shell/tests/AppTestEnvironment.h"
#include "platform/ui/StringTable.h"

#include <gtest/gtest.h>

#include <QTimer>

namespace {

TEST(IncorrectVersion, MessageNamesTheDocumentAndTheLinkPointsAtTheSetup)
{
    AppTestEnvironment env;
    CIncorrectVersionDlg dialog;
    dialog.SetFileName(QStringLiteral("/home/ann/forms/new.wvd"));
    EXPECT_EQ(dialog.GetMessageText(), QStringLiteral("Cannot read document \"/home/ann/forms/new.wvd\".  "
                                                      "Document was created by a newer version of KWVD Designer."));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Incorrect Version"));
    EXPECT_EQ(dialog.GetLink()->text(), QStringLiteral("Click here to download the Latest Version of KWVD Designer."));
    EXPECT_EQ(dialog.GetLink()->GetLink(), LoadResString(AppString::DownloadAddress));
    EXPECT_TRUE(dialog.GetLink()->GetLink().startsWith(QStringLiteral("https://")));
}

TEST(IncorrectVersion, InstalledBehindTheDocumentReader)
{
    AppTestEnvironment env;
    const IncorrectVersionHandler before = SetIncorrectVersionHandler(nullptr);
    InstallIncorrectVersionDialog();
    const IncorrectVersionHandler installed = SetIncorrectVersionHandler(before);
    ASSERT_NE(installed, nullptr);

    // The reader's call shows the dialog modally with the document's name.
    QString shown;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<CIncorrectVersionDlg*>(QApplication::activeModalWidget())) {
            shown = dialog->GetMessageText();
            dialog->accept();
        }
    });
    installed(QStringLiteral("/tmp/newer.wvd"));
    EXPECT_TRUE(shown.contains(QStringLiteral("\"/tmp/newer.wvd\"")));
}

} // namespace
