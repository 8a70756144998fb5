#pragma once
// A test's own data folder, preferences and scripted prompts, so that the
// master font and barcode files live in a temporary folder.

#include "designer/preferences/PreferenceStrings.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/ResourceClasses.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/ScopedPrompts.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <memory>

class FontTestEnvironment : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        RegisterResourceClasses();
        RegisterPreferenceStrings();
        m_preferences.ApplicationDataDirectory = m_dir.path();
        m_preferences.DefaultCodePageID = 285;
        m_preferences.DefaultChrID = 697;
        m_preferences.DefaultCodePage = QStringLiteral("T1V10285");
        m_previousPreferences = SetPreferences(&m_preferences);
        // Only the font tables a test writes: not the one the program ships.
        m_dataDir.Set(m_dir.path());
    }

    void TearDown() override { SetPreferences(m_previousPreferences); }

    // Forgets what was shown so far.
    void FreshPrompts() { m_prompts.Renew(); }

    QString PathOf(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    static QByteArray ReadAll(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static void WriteAll(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    // The texts of the prompts shown so far.
    QStringList Shown() const { return m_prompts.Texts(); }

    QTemporaryDir m_dir;
    CPreferences m_preferences;
    ScopedPromptAnswers m_prompts;
    ScopedEnv m_dataDir{"KWVD_DATA_DIR"};

private:
    CPreferences* m_previousPreferences = nullptr;
};
