#include "designer/shell/KWVDDesignerModule.h"
#include "designer/shell/WVDDesignerApp.h"
#include "designer/shell/tests/AppTestEnvironment.h"
#include "platform/registry/RegistryStore.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

namespace {

using kwvd::RegistryStore;

std::optional<QString> ReadClassesText(const QString& keyPath, const QString& name)
{
    RegistryStore& store = RegistryStore::Instance();
    const auto key = store.OpenKey(HKEY_CLASSES_ROOT, keyPath);
    if (!key)
        return std::nullopt;
    return store.ReadText(*key, name);
}

class RegistrationTest : public ::testing::Test
{
protected:
    int Run(const QString& flag)
    {
        CWVDDesignerApp::Environment e;
        e.programPath = QStringLiteral("/opt/kwvd/KWVD Designer");
        e.serverLibraryFolders = QStringList{env.folder.path()};
        CWVDDesignerApp app(e);
        EXPECT_FALSE(app.InitInstance({flag}));
        EXPECT_FALSE(app.ShouldRun());
        EXPECT_EQ(app.GetMainFrame(), nullptr);
        EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
        EXPECT_TRUE(env.prompts->Recorded().empty());
        return app.ExitInstance();
    }

    AppTestEnvironment env;
};

TEST_F(RegistrationTest, RegServerWritesTheAppIdAndTheDesktopEntry)
{
    EXPECT_EQ(Run(QStringLiteral("/RegServer")), 0);
    const QString id = CKWVDDesignerModule::kAppId;
    EXPECT_EQ(ReadClassesText(QStringLiteral("AppID\\") + id, QString()), QStringLiteral("KWVDDesigner"));
    EXPECT_EQ(ReadClassesText(QStringLiteral("AppID\\KWVD Designer.EXE"), QStringLiteral("AppID")), id);

    QFile entry(CKWVDDesignerModule::DesktopEntryPath());
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(entry.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("Exec=\"/opt/kwvd/KWVD Designer\" %f\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("MimeType=application/x-kwvd-wvd;")));
    QFile mime(CKWVDDesignerModule::MimePackagePath());
    ASSERT_TRUE(mime.open(QIODevice::ReadOnly));
    EXPECT_TRUE(mime.readAll().contains("pattern=\"*.wvd\" case-sensitive=\"false\""));
    EXPECT_TRUE(CKWVDDesignerModule::DesktopEntryPath().startsWith(env.folder.path()));

    // Registration never touches the user's settings.
    EXPECT_FALSE(RegistryStore::Instance().KeyExists(HKEY_CURRENT_USER, kwvd::ApplicationKeyPath(u"KWVD Designer")));
}

TEST_F(RegistrationTest, UnregServerRemovesThemButKeepsTheAppIdRoot)
{
    EXPECT_EQ(Run(QStringLiteral("/Register")), 0);
    env.prompts->ClearRecorded();
    EXPECT_EQ(Run(QStringLiteral("/UnregServer")), 0);
    RegistryStore& store = RegistryStore::Instance();
    EXPECT_TRUE(store.KeyExists(HKEY_CLASSES_ROOT, QStringLiteral("AppID")));
    EXPECT_FALSE(store.KeyExists(HKEY_CLASSES_ROOT, QStringLiteral("AppID\\") + CKWVDDesignerModule::kAppId));
    EXPECT_FALSE(store.KeyExists(HKEY_CLASSES_ROOT, QStringLiteral("AppID\\KWVD Designer.EXE")));
    EXPECT_FALSE(QFileInfo::exists(CKWVDDesignerModule::DesktopEntryPath()));
    EXPECT_FALSE(QFileInfo::exists(CKWVDDesignerModule::MimePackagePath()));

    // Removing what is not there is no failure.
    EXPECT_EQ(Run(QStringLiteral("/Unregister")), 0);
}

TEST_F(RegistrationTest, ExitAfterRegistrationKeepsTheUserSettings)
{
    RegistryStore& store = RegistryStore::Instance();
    const auto key =
        store.CreateKey(HKEY_CURRENT_USER, kwvd::ApplicationKeyPath(u"KWVD Designer") + QStringLiteral("\\AS400"));
    ASSERT_TRUE(key);
    store.WriteValue(*key, QStringLiteral("DefaultSystem"), kwvd::RegistryValue::Text(u"PRODSYS"));
    EXPECT_EQ(Run(QStringLiteral("/RegServer")), 0);
    EXPECT_EQ(store.ReadText(*key, QStringLiteral("DefaultSystem")), QStringLiteral("PRODSYS"));
    EXPECT_EQ(store.EnumValues(*key).size(), 1u);
}

TEST_F(RegistrationTest, AFileInTheWayOfTheDesktopEntryFailsTheRegistration)
{
    // A folder where the entry's file must go: the write cannot succeed.
    ASSERT_TRUE(QDir().mkpath(CKWVDDesignerModule::DesktopEntryPath()));
    EXPECT_EQ(Run(QStringLiteral("/RegServer")), 1);
}

} // namespace
