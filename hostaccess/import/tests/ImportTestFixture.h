#pragma once
// A test's own emulated host with one system and an output queue to fill,
// its own settings store and scripted prompts, and the select dialog driven
// while an entry point holds it open.

#include "hostaccess/import/SelSpooledFileDialogView.h"
#include "platform/clientaccess/HostSetup.h"
#include "platform/clientaccess/OutputQueues.h"
#include "tests/support/QtApplicationEnvironment.h"
#include "tests/support/ScopedEmuhostStore.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/ScopedPrompts.h"

#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <map>

class ImportTest : public ::testing::Test
{
protected:
    static constexpr const char* kSystem = "KWVDSYS";

    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        kwvd::clientaccess::HostSystem system;
        system.name = QString::fromLatin1(kSystem);
        system.ccsid = 285;
        system.userId = QStringLiteral("KWVDUSER");
        QString error;
        ASSERT_TRUE(kwvd::clientaccess::AddSystem(system, true, &error)) << error.toStdString();
        ASSERT_TRUE(kwvd::clientaccess::AddLibrary(system.name, QStringLiteral("KWVD"), &error))
            << error.toStdString();
        Queue(QStringLiteral("QPRINT"));
    }

    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    static void Queue(const QString& name)
    {
        QString error;
        ASSERT_TRUE(kwvd::clientaccess::AddOutputQueue(QString::fromLatin1(kSystem), QStringLiteral("KWVD"), name,
                                                       &error))
            << error.toStdString();
    }

    // A spooled file to add, its attributes set one by one.
    struct Splf
    {
        explicit Splf(const char* name) : file(QString::fromLatin1(name)) {}
        Splf& User(const char* value) { user = QString::fromLatin1(value); return *this; }
        Splf& UserData(const char* value) { userData = QString::fromLatin1(value); return *this; }
        Splf& Pages(int value) { pages = value; return *this; }
        Splf& Date(const char* value) { date = QString::fromLatin1(value); return *this; }
        Splf& Time(const char* value) { time = QString::fromLatin1(value); return *this; }
        Splf& Data(const QByteArray& value) { data = value; return *this; }
        Splf& InQueue(const char* value) { queue = QString::fromLatin1(value); return *this; }

        QString file;
        QString user = QStringLiteral("KWVDUSER");
        QString userData;
        int pages = 1;
        QString date = QStringLiteral("1260304");
        QString time = QStringLiteral("142530");
        QByteArray data = QByteArray::fromHex("C1C2C30C");
        QString queue = QStringLiteral("QPRINT");
    };

    static void AddSplf(const Splf& splf)
    {
        using namespace kwvd::clientaccess;
        const auto text = [](const QString& value) { return AttributeValue{AttributeType::Text, value, 0, 0}; };
        std::map<int, AttributeValue> attributes{
            {kKeyFile, text(splf.file)},
            {kKeyUser, text(splf.user)},
            {kKeyUserData, text(splf.userData)},
            {kKeyTotalPages, AttributeValue{AttributeType::Long, {}, splf.pages, 0}},
            {kKeyDate, text(splf.date)},
            {kKeyTime, text(splf.time)},
        };
        QString error;
        unsigned long number = 0;
        ASSERT_TRUE(AddSpooledFile(QString::fromLatin1(kSystem), QStringLiteral("KWVD"), splf.queue, attributes,
                                   splf.data, &number, &error))
            << error.toStdString();
    }

    // Runs steps on the select dialog once an entry point has shown it; a
    // dialog the steps leave open is cancelled, so no test hangs.
    static void WhenDialogShows(std::function<void(CSelSpooledFileDialogView&)> steps)
    {
        QTimer::singleShot(0, [steps = std::move(steps)] {
            auto* view = qobject_cast<CSelSpooledFileDialogView*>(QApplication::activeModalWidget());
            if (view == nullptr) {
                ADD_FAILURE() << "the select dialog is not shown";
                if (QWidget* other = QApplication::activeModalWidget())
                    other->close();
                return;
            }
            steps(*view);
            if (view->isVisible())
                view->reject();
        });
    }

    static void Type(CSelSpooledFileDialogView& view, int controlId, const QString& text)
    {
        auto* edit = view.findChild<QLineEdit*>(QString::number(controlId));
        ASSERT_NE(edit, nullptr) << controlId;
        edit->setText(text);
    }

    static void Click(CSelSpooledFileDialogView& view, int controlId)
    {
        auto* button = view.findChild<QPushButton*>(QString::number(controlId));
        ASSERT_NE(button, nullptr) << controlId;
        button->click();
    }

    // The row whose file name is given, selected.
    static void SelectFile(CSelSpooledFileDialogView& view, const QString& file)
    {
        const QList<QTreeWidgetItem*> found = view.List()->findItems(file, Qt::MatchExactly, 0);
        ASSERT_FALSE(found.isEmpty()) << file.toStdString();
        view.List()->setCurrentItem(found.front());
        found.front()->setSelected(true);
    }

    static QStringList FileColumn(const CSelSpooledFileDialogView& view)
    {
        QStringList files;
        for (int i = 0; i < view.List()->topLevelItemCount(); ++i)
            files << view.List()->topLevelItem(i)->text(0);
        return files;
    }

    ScopedEmuhostStore m_store;
    ScopedRegistryFolder m_registry;
    ScopedPromptAnswers m_prompts;
};
