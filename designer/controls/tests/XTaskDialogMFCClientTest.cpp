// The task dialog client: its settings, the help context around a run, the
// handlers its callback table reaches, and its handle to the running dialog.

#include "designer/controls/XTaskDialogMFCClient.h"
#include "designer/controls/XTaskDialog.h"
#include "designer/controls/tests/TaskDialogTestSupport.h"
#include "platform/framework/Clock.h"
#include "platform/ui/HelpPrompt.h"

#include <QKeyEvent>
#include <QPushButton>

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

// Ends every run with OK unless the test says otherwise.
class RecordingClient : public CXTaskDialogMFCClient
{
public:
    std::vector<QString> events;
    DWORD contextDuringRun = 0xDEAD;
    CXTaskDialog* dialogInCreated = nullptr;
    int vetoes = 0;
    std::function<BOOL(DWORD)> timer;

protected:
    void OnDialogConstructed() override { events.push_back(QStringLiteral("constructed")); }
    void OnCreated() override
    {
        events.push_back(QStringLiteral("created"));
        contextDuringRun = HelpPromptContext();
        dialogInCreated = GetDialog();
    }
    BOOL OnButtonClicked(int id) override
    {
        events.push_back(QStringLiteral("button %1").arg(id));
        return vetoes-- > 0 ? TRUE : FALSE;
    }
    void OnRadioButtonClicked(int id) override { events.push_back(QStringLiteral("radio %1").arg(id)); }
    void OnVerificationClicked(BOOL checked) override { events.push_back(QStringLiteral("verify %1").arg(checked)); }
    void OnExpandoButtonClicked(BOOL expanded) override
    {
        events.push_back(QStringLiteral("expando %1").arg(expanded));
    }
    BOOL OnTimer(DWORD ms) override
    {
        events.push_back(QStringLiteral("timer %1").arg(ms));
        return timer ? timer(ms) : FALSE;
    }
    void OnDestroyed() override { events.push_back(QStringLiteral("destroyed")); }
};

QPushButton* Button(CXTaskDialog* dialog, int id)
{
    return qobject_cast<QPushButton*>(dialog->Control(id));
}

TEST(TaskDialogClient, SettingsAtConstruction)
{
    const CXTaskDialogMFCClient client;
    EXPECT_EQ(client.m_config.pfCallback, &CXTaskDialogMFCClient::TaskDialogCallback);
    EXPECT_EQ(client.m_config.lpCallbackData, reinterpret_cast<LONG_PTR>(&client));
    EXPECT_EQ(client.m_config.hInstance, CurrentResourceModule());
    EXPECT_EQ(client.m_config.dwFlags, 0u);
    EXPECT_EQ(client.m_config.hwndParent, nullptr);
    EXPECT_EQ(client.m_nButtonResult, 0);
    EXPECT_EQ(client.GetDialog(), nullptr);
}

TEST(TaskDialogClient, NoSystemDialogHere)
{
    CXTaskDialogMFCClient client;
    EXPECT_EQ(client.RunSystemDialog(), static_cast<HRESULT>(0x8007007Eu));
    EXPECT_EQ(client.GetDialog(), nullptr);
}

TEST(TaskDialogClient, HelpContextDuringTheRun)
{
    struct Case
    {
        const char* name;
        DWORD helpId;
        DWORD during;
    };
    const Case cases[] = {
        {"help id 0 leaves the context", 0, 0x1234},
        {"help id 5", 5, 0x30005},
    };
    for (const Case& c : cases) {
        const HelpPromptContextScope earlier(0x1234);
        RecordingClient client;
        client.m_nHelpId = c.helpId;
        WhenTaskDialogUp([](CXTaskDialog* dialog) { Button(dialog, IDOK)->click(); });
        EXPECT_EQ(client.RunDialog(nullptr), S_OK) << c.name;
        EXPECT_EQ(client.contextDuringRun, c.during) << c.name;
        EXPECT_EQ(HelpPromptContext(), 0x1234u) << c.name;
    }
}

TEST(TaskDialogClient, TheDialogIsReachableOnlyDuringTheRun)
{
    RecordingClient client;
    WhenTaskDialogUp([&](CXTaskDialog* dialog) {
        EXPECT_EQ(client.GetDialog(), dialog);
        Button(dialog, IDOK)->click();
    });
    client.RunDialog(nullptr);
    EXPECT_NE(client.dialogInCreated, nullptr);
    EXPECT_EQ(client.GetDialog(), nullptr);
    EXPECT_EQ(client.events, (std::vector<QString>{QStringLiteral("constructed"), QStringLiteral("created"),
                                                   QStringLiteral("button 1"), QStringLiteral("destroyed")}));
    EXPECT_EQ(client.m_nButtonResult, IDOK);
}

TEST(TaskDialogClient, ButtonClickedTrueKeepsTheDialogOpen)
{
    RecordingClient client;
    client.vetoes = 1;
    client.m_config.dwCommonButtons = TDCBF_YES_BUTTON | TDCBF_NO_BUTTON;
    bool openAfterFirst = false;
    WhenTaskDialogUp([&](CXTaskDialog* dialog) {
        Button(dialog, IDYES)->click();
        openAfterFirst = dialog->isVisible();
        Button(dialog, IDNO)->click();
    });
    EXPECT_EQ(client.RunDialog(nullptr), S_OK);
    EXPECT_TRUE(openAfterFirst);
    EXPECT_EQ(client.m_nButtonResult, IDNO);
}

TEST(TaskDialogClient, TimerTrueRestartsTheCount)
{
    const ManualTimers manual;
    const QDateTime start(QDate(2026, 3, 1), QTime(12, 0), Qt::UTC);
    const kwvd::FixedClock clock(start);
    RecordingClient client;
    client.m_config.dwFlags = TDF_CALLBACK_TIMER;
    client.timer = [](DWORD ms) { return ms == 400 ? TRUE : FALSE; };
    WhenTaskDialogUp([&](CXTaskDialog* dialog) {
        for (int ms : {200, 400, 700}) {
            kwvd::Clock::SetFixed(start.addMSecs(ms));
            dialog->OnTimer(CXTaskDialog::kCallbackTimer);
        }
        Button(dialog, IDOK)->click();
    });
    client.RunDialog(nullptr);
    std::vector<QString> timers;
    for (const QString& e : client.events) {
        if (e.startsWith(QStringLiteral("timer")))
            timers.push_back(e);
    }
    EXPECT_EQ(timers, (std::vector<QString>{QStringLiteral("timer 200"), QStringLiteral("timer 400"),
                                            QStringLiteral("timer 300")}));
}

TEST(TaskDialogClient, NotificationsReachTheirHandlers)
{
    RecordingClient client;
    const TASKDIALOG_BUTTON radios[] = {{100, QStringLiteral("One")}, {101, QStringLiteral("Two")}};
    client.m_config.cRadioButtons = 2;
    client.m_config.pRadioButtons = radios;
    client.m_config.pszVerificationText = QStringLiteral("Always");
    client.m_config.pszExpandedInformation = QStringLiteral("More");
    WhenTaskDialogUp([&](CXTaskDialog* dialog) {
        qobject_cast<QAbstractButton*>(dialog->Control(101))->click();
        qobject_cast<QAbstractButton*>(dialog->Control(dialog->Layout().verificationId))->click();
        dialog->SetClientAreaAnimation(false);
        Button(dialog, dialog->ExpandoId())->click();
        Button(dialog, IDOK)->click();
    });
    client.RunDialog(nullptr);
    EXPECT_EQ(client.events, (std::vector<QString>{QStringLiteral("constructed"), QStringLiteral("created"),
                                                   QStringLiteral("radio 101"), QStringLiteral("verify 1"),
                                                   QStringLiteral("expando 1"), QStringLiteral("button 1"),
                                                   QStringLiteral("destroyed")}));
    EXPECT_EQ(client.m_nRadioButtonResult, 101);
    EXPECT_EQ(client.m_bVerificationFlag, TRUE);
}

TEST(TaskDialogClient, DefaultHelpGoesToTheOwner)
{
    std::vector<HelpRequest> requests;
    const HelpRequestHandler earlier =
        SetHelpRequestHandler([&](const HelpRequest& request) { requests.push_back(request); });
    QWidget owner;
    CXTaskDialogMFCClient client;
    client.m_config.hwndParent = &owner;
    CXTaskDialog* shown = nullptr;
    WhenTaskDialogUp([&](CXTaskDialog* dialog) {
        shown = dialog;
        QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
        QApplication::sendEvent(dialog, &f1);
        Button(dialog, IDOK)->click();
    });
    client.RunDialog(nullptr);
    SetHelpRequestHandler(earlier);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].contextType, HELPINFO_WINDOW);
    EXPECT_EQ(requests[0].controlId, 0);
    EXPECT_EQ(requests[0].contextId, 0u);
    EXPECT_EQ(requests[0].owner, &owner);
    EXPECT_EQ(requests[0].item, shown);
}

// A platform-like function the run calls in place of the dialog.
HRESULT FakeTaskDialog(const TASKDIALOGCONFIG*, int* button, int* radio, BOOL* verification)
{
    *button = 42;
    *radio = 7;
    *verification = TRUE;
    return S_OK;
}

HRESULT ThrowingTaskDialog(const TASKDIALOGCONFIG*, int*, int*, BOOL*)
{
    throw std::runtime_error("failed");
}

TEST(TaskDialogClient, AFunctionRunsInPlaceOfTheDialog)
{
    CXTaskDialogMFCClient client;
    EXPECT_EQ(client.RunDialog(&FakeTaskDialog), S_OK);
    EXPECT_EQ(client.m_nButtonResult, 42);
    EXPECT_EQ(client.m_nRadioButtonResult, 7);
    EXPECT_EQ(client.m_bVerificationFlag, TRUE);
}

TEST(TaskDialogClient, AThrowingRunStillRestoresTheHelpContext)
{
    const HelpPromptContextScope earlier(0x77);
    CXTaskDialogMFCClient client;
    client.m_nHelpId = 9;
    EXPECT_THROW(client.RunDialog(&ThrowingTaskDialog), std::runtime_error);
    EXPECT_EQ(HelpPromptContext(), 0x77u);
}

} // namespace
