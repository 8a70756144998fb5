// The running task dialog offscreen: each test queues its steps into the
// dialog's own modal loop and checks the results, the notifications and the
// controls.

#include "designer/controls/XTaskDialog.h"
#include "designer/controls/TaskDialogPictures.h"
#include "designer/controls/tests/TaskDialogTestSupport.h"
#include "designer/preferences/ColourRef.h"
#include "platform/framework/Clock.h"
#include "tests/support/ScopedPrompts.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

struct Notification
{
    UINT code;
    WPARAM wParam;
    QString text;
};

// The settings of one run, with a callback that records every notification
// and answers through a function the test may set.
struct DialogRun
{
    TASKDIALOGCONFIG config;
    std::vector<TASKDIALOG_BUTTON> buttons;
    std::vector<TASKDIALOG_BUTTON> radios;
    std::vector<Notification> notifications;
    std::function<HRESULT(UINT code, WPARAM wParam)> answer;
    const TaskDialogTextMeasurer* measurer = nullptr;
    bool animation = true;

    int button = -7;
    int radio = -7;
    BOOL verification = -7;

    static HRESULT Callback(CXTaskDialog*, UINT code, WPARAM wParam, LPARAM lParam, LONG_PTR data)
    {
        auto* run = reinterpret_cast<DialogRun*>(data);
        QString text;
        if (code == TDN_HYPERLINK_CLICKED)
            text = *reinterpret_cast<const QString*>(lParam);
        run->notifications.push_back({code, wParam, text});
        return run->answer ? run->answer(code, wParam) : S_OK;
    }

    HRESULT Go(std::function<void(CXTaskDialog*)> action)
    {
        config.cButtons = static_cast<UINT>(buttons.size());
        config.pButtons = buttons.data();
        config.cRadioButtons = static_cast<UINT>(radios.size());
        config.pRadioButtons = radios.data();
        config.pfCallback = &DialogRun::Callback;
        config.lpCallbackData = reinterpret_cast<LONG_PTR>(this);
        config.hInstance = CurrentResourceModule();
        CXTaskDialog dialog;
        dialog.SetMeasurer(measurer);
        dialog.SetClientAreaAnimation(animation);
        if (action)
            WhenTaskDialogUp(action);
        return dialog.DoModal(&config, &button, &radio, &verification);
    }

    std::vector<UINT> Codes() const
    {
        std::vector<UINT> codes;
        for (const Notification& n : notifications)
            codes.push_back(n.code);
        return codes;
    }
};

QPushButton* PushButton(CXTaskDialog* dialog, int id)
{
    return qobject_cast<QPushButton*>(dialog->Control(id));
}

void SendKey(QWidget* target, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

TEST(TaskDialogRun, EscapeAndCloseEndOnlyWhenCancellable)
{
    struct Case
    {
        const char* name;
        DWORD flags;
        DWORD common;
        bool byClose;
        int result;
    };
    const Case cases[] = {
        {"Escape, no cancellation", 0, 0, false, IDOK},
        {"close box, no cancellation", 0, 0, true, IDOK},
        {"Escape, cancellation allowed", TDF_ALLOW_DIALOG_CANCELLATION, 0, false, IDCANCEL},
        {"Escape, a Cancel button", 0, TDCBF_CANCEL_BUTTON | TDCBF_OK_BUTTON, false, IDCANCEL},
        {"close box, cancellation allowed", TDF_ALLOW_DIALOG_CANCELLATION, 0, true, IDCANCEL},
    };
    for (const Case& c : cases) {
        DialogRun run;
        run.config.dwFlags = c.flags;
        run.config.dwCommonButtons = c.common;
        bool closeButton = true;
        const HRESULT hr = run.Go([&](CXTaskDialog* dialog) {
            closeButton = dialog->windowFlags().testFlag(Qt::WindowCloseButtonHint);
            if (c.byClose)
                dialog->close();
            else
                SendKey(dialog, Qt::Key_Escape);
            if (dialog->isVisible())
                PushButton(dialog, IDOK)->click();
        });
        EXPECT_EQ(hr, S_OK) << c.name;
        EXPECT_EQ(run.button, c.result) << c.name;
        EXPECT_EQ(closeButton, c.result == IDCANCEL) << c.name;
    }
}

TEST(TaskDialogRun, NotificationsComeInOrder)
{
    DialogRun run;
    run.config.dwCommonButtons = TDCBF_OK_BUTTON;
    run.Go([](CXTaskDialog* dialog) { PushButton(dialog, IDOK)->click(); });
    EXPECT_EQ(run.Codes(), (std::vector<UINT>{TDN_DIALOG_CONSTRUCTED, TDN_CREATED, TDN_BUTTON_CLICKED, TDN_DESTROYED}));
    EXPECT_EQ(run.notifications[2].wParam, static_cast<WPARAM>(IDOK));
}

TEST(TaskDialogRun, VetoKeepsTheDialogOpenAndRecordsNothing)
{
    DialogRun run;
    run.config.dwCommonButtons = TDCBF_YES_BUTTON | TDCBF_NO_BUTTON;
    run.config.pszVerificationText = QStringLiteral("Always");
    run.radios = {{100, QStringLiteral("One")}, {101, QStringLiteral("Two")}};
    int vetoes = 1;
    run.answer = [&](UINT code, WPARAM) { return code == TDN_BUTTON_CLICKED && vetoes-- > 0 ? S_FALSE : S_OK; };
    bool openAfterVeto = false;
    run.Go([&](CXTaskDialog* dialog) {
        PushButton(dialog, IDYES)->click();
        openAfterVeto = dialog->isVisible();
        // What changes after the veto is what the end records.
        dialog->ClickRadioButton(101);
        dialog->ClickVerification(TRUE, FALSE);
        PushButton(dialog, IDNO)->click();
    });
    EXPECT_TRUE(openAfterVeto);
    EXPECT_EQ(run.button, IDNO);
    EXPECT_EQ(run.radio, 101);
    EXPECT_EQ(run.verification, TRUE);
}

TEST(TaskDialogRun, RadioResults)
{
    struct Case
    {
        const char* name;
        DWORD flags;
        int defaultRadio;
        int click; // 0: none
        int expected;
    };
    const Case cases[] = {
        {"the first by default", 0, 0, 0, 100},
        {"the default radio", 0, 101, 0, 101},
        {"the second clicked", 0, 0, 101, 101},
        {"none checked", TDF_NO_DEFAULT_RADIO_BUTTON, 0, 0, -1},
    };
    for (const Case& c : cases) {
        DialogRun run;
        run.config.dwFlags = c.flags;
        run.config.nDefaultRadioButton = c.defaultRadio;
        run.radios = {{100, QStringLiteral("One")}, {101, QStringLiteral("Two")}};
        run.Go([&](CXTaskDialog* dialog) {
            if (c.click != 0)
                qobject_cast<QAbstractButton*>(dialog->Control(c.click))->click();
            PushButton(dialog, IDOK)->click();
        });
        EXPECT_EQ(run.radio, c.expected) << c.name;
        const bool notified = std::any_of(run.notifications.begin(), run.notifications.end(), [&](const auto& n) {
            return n.code == TDN_RADIO_BUTTON_CLICKED && n.wParam == static_cast<WPARAM>(c.click);
        });
        EXPECT_EQ(notified, c.click != 0) << c.name;
    }
}

TEST(TaskDialogRun, EnterPressesTheFocusedDefaultButton)
{
    DialogRun run;
    run.config.dwFlags = TDF_USE_COMMAND_LINKS;
    run.buttons = {{541, QStringLiteral("First")}, {542, QStringLiteral("Second")}};
    run.config.nDefaultButton = 542;
    run.Go([](CXTaskDialog* dialog) { SendKey(dialog, Qt::Key_Return); });
    EXPECT_EQ(run.button, 542);
}

TEST(TaskDialogRun, TimerReportsMillisecondsSinceTheStartOrTheLastReset)
{
    const ManualTimers manual;
    const QDateTime start = QDateTime(QDate(2026, 1, 5), QTime(9, 0), Qt::UTC);
    const kwvd::FixedClock clock(start);
    DialogRun run;
    run.config.dwFlags = TDF_CALLBACK_TIMER;
    run.answer = [](UINT code, WPARAM wParam) { return code == TDN_TIMER && wParam == 600 ? S_FALSE : S_OK; };
    run.Go([&](CXTaskDialog* dialog) {
        EXPECT_TRUE(dialog->IsTimerRunning(CXTaskDialog::kCallbackTimer));
        for (int ms : {200, 400, 600, 800}) {
            kwvd::Clock::SetFixed(start.addMSecs(ms));
            dialog->OnTimer(CXTaskDialog::kCallbackTimer);
        }
        PushButton(dialog, IDOK)->click();
    });
    std::vector<WPARAM> reports;
    for (const Notification& n : run.notifications) {
        if (n.code == TDN_TIMER)
            reports.push_back(n.wParam);
    }
    EXPECT_EQ(reports, (std::vector<WPARAM>{200, 400, 600, 200}));
}

// Details of three lines: 3 * 13 + 1 = 40 pixels, so the dialog grows by 50.
struct DetailsRun : DialogRun
{
    FixedMeasurer fixed;
    DetailsRun(DWORD flags)
    {
        measurer = &fixed;
        config.dwFlags = flags;
        config.dwCommonButtons = TDCBF_OK_BUTTON;
        config.pszContent = QStringLiteral("Body");
        config.pszExpandedInformation = QStringLiteral("one\ntwo\nthree");
        config.pszVerificationText = QStringLiteral("Always");
        config.pszFooter = QStringLiteral("Note");
    }
};

struct Positions
{
    int radio, link, progress, ok, verification, footer, height;
};

Positions Read(CXTaskDialog* dialog)
{
    const TaskDialogLayout& layout = dialog->Layout();
    return {dialog->Control(100)->y(),
            dialog->Control(541)->y(),
            dialog->Control(layout.progressBarId)->y(),
            dialog->Control(IDOK)->y(),
            dialog->Control(layout.verificationId)->y(),
            dialog->Control(layout.footerTextId)->y(),
            dialog->height()};
}

TEST(TaskDialogRun, ExpandingDetailsAnimatesInTenSteps)
{
    const ManualTimers manual;
    DetailsRun run(TDF_USE_COMMAND_LINKS | TDF_SHOW_PROGRESS_BAR);
    run.radios = {{100, QStringLiteral("One")}};
    run.buttons = {{541, QStringLiteral("Link")}};
    run.Go([&](CXTaskDialog* dialog) {
        const int expando = dialog->ExpandoId();
        const Positions before = Read(dialog);
        EXPECT_EQ(dialog->Control(dialog->Layout().expandedInformationId)->height(), 40);
        PushButton(dialog, expando)->click();

        const Positions moved = Read(dialog);
        EXPECT_EQ(moved.radio, before.radio + 50);
        EXPECT_EQ(moved.link, before.link + 50);
        EXPECT_EQ(moved.progress, before.progress + 50);
        EXPECT_EQ(moved.ok, before.ok);
        EXPECT_FALSE(dialog->Control(IDOK)->isVisible());
        EXPECT_EQ(dialog->Separators(), (std::array<int, 3>{-1, -1, -1}));
        ASSERT_TRUE(dialog->IsTimerRunning(CXTaskDialog::kAnimationTimer));

        std::vector<int> heights;
        for (int tick = 0; tick < 10; ++tick) {
            dialog->OnTimer(CXTaskDialog::kAnimationTimer);
            heights.push_back(dialog->height() - before.height);
        }
        EXPECT_EQ(heights, (std::vector<int>{5, 10, 15, 20, 25, 30, 35, 40, 45, 50}));
        EXPECT_FALSE(dialog->IsTimerRunning(CXTaskDialog::kAnimationTimer));
        const Positions after = Read(dialog);
        EXPECT_EQ(after.ok, before.ok + 50);
        EXPECT_EQ(after.verification, before.verification + 50);
        EXPECT_EQ(after.footer, before.footer + 50);
        EXPECT_TRUE(dialog->Control(IDOK)->isVisible());
        EXPECT_TRUE(dialog->Control(dialog->Layout().expandedInformationId)->isVisible());
        EXPECT_EQ(dialog->Separators()[0], dialog->Layout().separators[0] + 50);
        EXPECT_EQ(PushButton(dialog, expando)->text(), QStringLiteral("Hide &details <<"));
        PushButton(dialog, IDOK)->click();
    });
    EXPECT_EQ(run.button, IDOK);
    EXPECT_TRUE(std::any_of(run.notifications.begin(), run.notifications.end(),
                            [](const auto& n) { return n.code == TDN_EXPANDO_BUTTON_CLICKED && n.wParam == 1; }));
}

TEST(TaskDialogRun, ExpandingWithoutAnimationMovesEverythingAtOnce)
{
    DetailsRun run(0);
    run.animation = false;
    run.radios = {{100, QStringLiteral("One")}};
    run.config.dwFlags |= TDF_USE_COMMAND_LINKS | TDF_SHOW_PROGRESS_BAR;
    run.buttons = {{541, QStringLiteral("Link")}};
    run.Go([&](CXTaskDialog* dialog) {
        const Positions before = Read(dialog);
        PushButton(dialog, dialog->ExpandoId())->click();
        const Positions after = Read(dialog);
        EXPECT_FALSE(dialog->IsTimerRunning(CXTaskDialog::kAnimationTimer));
        EXPECT_EQ(after.radio, before.radio + 50);
        EXPECT_EQ(after.ok, before.ok + 50);
        EXPECT_EQ(after.footer, before.footer + 50);
        EXPECT_EQ(after.height, before.height + 50);
        PushButton(dialog, dialog->ExpandoId())->click();
        EXPECT_EQ(Read(dialog).ok, before.ok);
        EXPECT_EQ(dialog->height(), before.height);
        PushButton(dialog, IDOK)->click();
    });
}

TEST(TaskDialogRun, AnimationEndsAtExactlyTheDetailsHeight)
{
    const ManualTimers manual;
    DetailsRun run(0);
    // Four lines: 53 + 10 = 63, in steps of 6 with a last step of 3.
    run.config.pszExpandedInformation = QStringLiteral("a\nb\nc\nd");
    run.Go([&](CXTaskDialog* dialog) {
        const int start = dialog->height();
        PushButton(dialog, dialog->ExpandoId())->click();
        int ticks = 0;
        while (dialog->IsTimerRunning(CXTaskDialog::kAnimationTimer) && ticks < 50) {
            dialog->OnTimer(CXTaskDialog::kAnimationTimer);
            ++ticks;
        }
        EXPECT_EQ(ticks, 11);
        EXPECT_EQ(dialog->height(), start + 63);
        PushButton(dialog, IDOK)->click();
    });
}

TEST(TaskDialogRun, ToggleMidwayInTheFooterAreaLandsTheFirstAnimation)
{
    const ManualTimers manual;
    DetailsRun run(TDF_EXPAND_FOOTER_AREA);
    run.Go([&](CXTaskDialog* dialog) {
        const int start = dialog->height();
        QWidget* expando = dialog->Control(dialog->ExpandoId());
        QWidget* details = dialog->Control(dialog->Layout().expandedInformationId);
        const int okTop = dialog->Control(IDOK)->y();
        // d = 40 + 20: steps of 6.
        PushButton(dialog, dialog->ExpandoId())->click();
        for (int tick = 0; tick < 3; ++tick)
            dialog->OnTimer(CXTaskDialog::kAnimationTimer);
        EXPECT_EQ(dialog->height(), start + 18);
        EXPECT_TRUE(expando->isVisible());

        PushButton(dialog, dialog->ExpandoId())->click();
        // The expansion landed at once, and the collapse starts from there.
        EXPECT_EQ(dialog->height(), start + 60);
        EXPECT_FALSE(dialog->IsExpanded());
        EXPECT_TRUE(expando->isVisible());
        int ticks = 0;
        while (dialog->IsTimerRunning(CXTaskDialog::kAnimationTimer) && ticks < 50) {
            dialog->OnTimer(CXTaskDialog::kAnimationTimer);
            EXPECT_TRUE(expando->isVisible());
            ++ticks;
        }
        EXPECT_EQ(ticks, 10);
        EXPECT_EQ(dialog->height(), start);
        EXPECT_FALSE(details->isVisible());
        EXPECT_EQ(dialog->Control(IDOK)->y(), okTop);
        EXPECT_EQ(dialog->Separators(), dialog->Layout().separators);
        PushButton(dialog, IDOK)->click();
    });
}

TEST(TaskDialogRun, BeepsByTheMainIcon)
{
    struct Case
    {
        const char* name;
        TaskDialogIcon icon;
        DWORD flags;
        std::vector<UINT> beeps;
    };
    const Case cases[] = {
        {"error", TD_ERROR_ICON, 0, {MB_ICONHAND}},
        {"warning", TD_WARNING_ICON, 0, {MB_ICONEXCLAMATION}},
        {"information", TD_INFORMATION_ICON, 0, {MB_ICONASTERISK}},
        {"shield", TD_SHIELD_ICON, 0, {}},
        {"a resource icon", 419u, 0, {}},
        {"a picture", TaskDialogStockPicture(IDI_TASK_ERROR, 32), TDF_USE_HICON_MAIN, {}},
    };
    for (const Case& c : cases) {
        const ScopedPromptAnswers prompts;
        DialogRun run;
        run.config.hMainIcon = c.icon;
        run.config.dwFlags = c.flags;
        run.Go([](CXTaskDialog* dialog) { PushButton(dialog, IDOK)->click(); });
        EXPECT_EQ(prompts->Beeps(), c.beeps) << c.name;
    }
}

TEST(TaskDialogRun, AMainIconPictureThatIsNullFailsTheRun)
{
    DialogRun run;
    run.config.dwFlags = TDF_USE_HICON_MAIN;
    EXPECT_EQ(run.Go({}), HResultFromError(ERROR_INVALID_HANDLE));
    EXPECT_TRUE(run.notifications.empty());
}

TEST(TaskDialogRun, MissingTextIdFailsWithNothingShown)
{
    DialogRun run;
    run.config.pszContent = TaskDialogText::FromId(0xFEDC);
    const HRESULT hr = run.Go({});
    EXPECT_EQ(hr, HResultFromError(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_TRUE(run.notifications.empty());
    EXPECT_EQ(run.button, -7);
    EXPECT_EQ(run.radio, -7);
    EXPECT_EQ(run.verification, -7);
}

TEST(TaskDialogRun, MissingButtonCaptionComesOutEmpty)
{
    DialogRun run;
    run.buttons = {{100, TaskDialogText::FromId(0xFEDC)}};
    run.radios = {{200, TaskDialogText::FromId(0xFEDD)}};
    QString button = QStringLiteral("unset");
    QString radio = QStringLiteral("unset");
    const HRESULT hr = run.Go([&](CXTaskDialog* dialog) {
        button = PushButton(dialog, 100)->text();
        radio = qobject_cast<QAbstractButton*>(dialog->Control(200))->text();
        PushButton(dialog, 100)->click();
    });
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(run.button, 100);
    EXPECT_TRUE(button.isEmpty());
    EXPECT_TRUE(radio.isEmpty());
}

TEST(TaskDialogRun, EmptyTitleGivesTheProgramsFileName)
{
    DialogRun run;
    QString title;
    run.Go([&](CXTaskDialog* dialog) {
        title = dialog->windowTitle();
        PushButton(dialog, IDOK)->click();
    });
    EXPECT_EQ(title, QFileInfo(QCoreApplication::applicationFilePath()).fileName());
}

TEST(TaskDialogRun, TextsShowAsTheyStandAndLinksReportTheirTarget)
{
    DialogRun run;
    run.config.dwFlags = TDF_ENABLE_HYPERLINKS;
    run.config.pszMainInstruction = QStringLiteral("File <b>x</b>.wvd");
    run.config.pszContent = QStringLiteral("See <A HREF=\"topic-7\">the help</A> & <i>more</i>");
    QString instruction;
    QString shownContent;
    run.Go([&](CXTaskDialog* dialog) {
        auto* label = qobject_cast<QLabel*>(dialog->Control(dialog->Layout().mainInstructionId));
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
        instruction = label->text();
        auto* content = qobject_cast<CXTaskDialogLinkStatic*>(dialog->Control(dialog->Layout().contentId));
        ASSERT_NE(content, nullptr);
        QTextDocument document;
        document.setHtml(content->text());
        shownContent = document.toPlainText();
        emit content->linkActivated(QStringLiteral("topic-7"));
        PushButton(dialog, IDOK)->click();
    });
    EXPECT_EQ(instruction, QStringLiteral("File <b>x</b>.wvd"));
    EXPECT_EQ(shownContent, QStringLiteral("See the help & <i>more</i>"));
    ASSERT_GE(run.notifications.size(), 3u);
    EXPECT_EQ(run.notifications[2].code, TDN_HYPERLINK_CLICKED);
    EXPECT_EQ(run.notifications[2].text, QStringLiteral("topic-7"));
}

TEST(TaskDialogRun, BackgroundBandsAndTheCheckBoxBand)
{
    DialogRun run;
    FixedMeasurer fixed;
    run.measurer = &fixed;
    run.config.pszMainInstruction = QStringLiteral("Main");
    run.config.pszVerificationText = QStringLiteral("Always");
    run.config.pszFooter = QStringLiteral("Note");
    run.Go([&](CXTaskDialog* dialog) {
        const QImage image = dialog->grab().toImage();
        const std::array<int, 3> rows = dialog->Separators();
        ASSERT_NE(rows[0], -1);
        ASSERT_NE(rows[1], -1);
        const int x = dialog->width() - 3;
        EXPECT_EQ(image.pixelColor(x, rows[0] - 1), kwvd::ToQColor(0xFFFFFF));
        EXPECT_EQ(image.pixelColor(x, rows[0]), kwvd::ToQColor(0xE9E9E9));
        EXPECT_EQ(image.pixelColor(x, rows[0] + 1), kwvd::ToQColor(0xF0F0F0));
        EXPECT_EQ(image.pixelColor(x, rows[1] - 1), kwvd::ToQColor(0xE9E9E9));
        EXPECT_EQ(image.pixelColor(x, rows[1]), kwvd::ToQColor(0xFFFFFF));
        EXPECT_EQ(image.pixelColor(x, rows[1] + 1), kwvd::ToQColor(0xF0F0F0));
        // The check box paints the band it lies on, to its right edge.
        const QRect check = dialog->Control(dialog->Layout().verificationId)->geometry();
        EXPECT_EQ(image.pixelColor(check.right(), check.center().y()), kwvd::ToQColor(0xF0F0F0));
        // The main instruction paints its whole rectangle white.
        const QRect instruction = dialog->Control(dialog->Layout().mainInstructionId)->geometry();
        EXPECT_EQ(image.pixelColor(instruction.right(), instruction.bottom()), kwvd::ToQColor(0xFFFFFF));
        PushButton(dialog, IDOK)->click();
    });
}

// One row per task dialog operation, each on a dialog of its own with a
// main instruction, footer, two radio buttons, a link, a check box and a
// progress bar, but no content.
TEST(TaskDialogRun, Operations)
{
    struct Case
    {
        const char* name;
        std::function<LRESULT(CXTaskDialog*)> operation;
        LRESULT answer;
        std::function<void(CXTaskDialog*)> check;
    };
    auto label = [](CXTaskDialog* d, int id) { return qobject_cast<QLabel*>(d->Control(id)); };
    auto bar = [](CXTaskDialog* d) { return qobject_cast<QProgressBar*>(d->Control(d->Layout().progressBarId)); };
    auto radio = [](CXTaskDialog* d, int id) { return qobject_cast<QAbstractButton*>(d->Control(id)); };
    const Case cases[] = {
        {"set the main instruction's text",
         [](CXTaskDialog* d) { return d->SetElementText(TDE_MAIN_INSTRUCTION, QStringLiteral("A longer new text")); },
         1,
         [&](CXTaskDialog* d) {
             QLabel* l = label(d, d->Layout().mainInstructionId);
             EXPECT_EQ(l->text(), QStringLiteral("A longer new text"));
             EXPECT_EQ(kwvd::Rect::FromQRect(l->geometry()), d->Layout().Find(d->Layout().mainInstructionId)->rect);
         }},
        {"set the text of a missing content",
         [](CXTaskDialog* d) { return d->SetElementText(TDE_CONTENT, "x"); },
         0,
         {}},
        {"update the footer's text",
         [](CXTaskDialog* d) { return d->UpdateElementText(TDE_FOOTER, QStringLiteral("New note")); }, 1,
         [&](CXTaskDialog* d) { EXPECT_EQ(label(d, d->Layout().footerTextId)->text(), QStringLiteral("New note")); }},
        {"update a missing content", [](CXTaskDialog* d) { return d->UpdateElementText(TDE_CONTENT, "x"); }, 1, {}},
        {"disable a button", [](CXTaskDialog* d) { return d->EnableButton(IDOK, FALSE); }, 0,
         [](CXTaskDialog* d) { EXPECT_FALSE(d->Control(IDOK)->isEnabled()); }},
        {"disable a radio button", [](CXTaskDialog* d) { return d->EnableRadioButton(101, FALSE); }, 0,
         [&](CXTaskDialog* d) { EXPECT_FALSE(radio(d, 101)->isEnabled()); }},
        {"a push button is no radio button", [](CXTaskDialog* d) { return d->EnableRadioButton(IDOK, FALSE); }, 0,
         [](CXTaskDialog* d) { EXPECT_TRUE(d->Control(IDOK)->isEnabled()); }},
        {"click a radio button", [](CXTaskDialog* d) { return d->ClickRadioButton(101); }, 0,
         [&](CXTaskDialog* d) {
             EXPECT_TRUE(radio(d, 101)->isChecked());
             EXPECT_FALSE(radio(d, 100)->isChecked());
         }},
        {"click the verification", [](CXTaskDialog* d) { return d->ClickVerification(TRUE, FALSE); }, 0,
         [&](CXTaskDialog* d) { EXPECT_TRUE(radio(d, d->Layout().verificationId)->isChecked()); }},
        {"set the range", [](CXTaskDialog* d) { return d->SetProgressBarRange(10, 50); }, 100 << 16,
         [&](CXTaskDialog* d) {
             EXPECT_EQ(bar(d)->minimum(), 10);
             EXPECT_EQ(bar(d)->maximum(), 50);
         }},
        {"set the position",
         [](CXTaskDialog* d) {
             d->SetProgressBarPos(30);
             return d->SetProgressBarPos(40);
         },
         30, [&](CXTaskDialog* d) { EXPECT_EQ(bar(d)->value(), 40); }},
        {"set the bar's state", [](CXTaskDialog* d) { return d->SetProgressBarState(2); }, 1,
         [](CXTaskDialog* d) { EXPECT_EQ(d->ProgressBarState(), 2); }},
        {"marquee on", [](CXTaskDialog* d) { return d->SetMarqueeProgressBar(TRUE, 30); }, 1,
         [&](CXTaskDialog* d) { EXPECT_EQ(bar(d)->maximum(), 0); }},
        {"marquee off restores the range",
         [](CXTaskDialog* d) {
             d->SetProgressBarRange(0, 80);
             d->SetProgressBarPos(20);
             d->SetMarqueeProgressBar(TRUE, 30);
             return d->SetMarqueeProgressBar(FALSE, 0);
         },
         0,
         [&](CXTaskDialog* d) {
             EXPECT_EQ(bar(d)->maximum(), 80);
             EXPECT_EQ(bar(d)->value(), 20);
         }},
        {"marquee speed does nothing", [](CXTaskDialog* d) { return d->SetProgressBarMarquee(TRUE, 10); }, 0,
         [&](CXTaskDialog* d) { EXPECT_EQ(bar(d)->maximum(), 100); }},
        {"navigate does nothing", [](CXTaskDialog* d) { return d->NavigatePage(nullptr); }, 0,
         [&](CXTaskDialog* d) { EXPECT_EQ(label(d, d->Layout().mainInstructionId)->text(), QStringLiteral("Main")); }},
        {"elevation shows the shield", [](CXTaskDialog* d) { return d->SetButtonElevationRequiredState(541, TRUE); }, 0,
         [](CXTaskDialog* d) {
             const auto* link = qobject_cast<CXTaskDialogCommandLink*>(d->Control(541));
             ASSERT_NE(link->Image(), nullptr);
             EXPECT_EQ(link->Image()->toImage(), TaskDialogStockPicture(IDI_TASK_SHIELD, 16).toImage());
         }},
        {"the main icon replaced", [](CXTaskDialog* d) { return d->UpdateIcon(TDIE_ICON_MAIN, TD_ERROR_ICON); }, 0,
         [](CXTaskDialog* d) {
             EXPECT_EQ(d->MainIcon().toImage(), TaskDialogStockPicture(IDI_TASK_ERROR, 32).toImage());
         }},
        {"the footer icon dropped", [](CXTaskDialog* d) { return d->UpdateIcon(TDIE_ICON_FOOTER, {}); }, 0,
         [](CXTaskDialog* d) { EXPECT_TRUE(d->FooterIcon().isNull()); }},
        {"click a button", [](CXTaskDialog* d) { return d->ClickButton(IDOK); }, TRUE, {}},
    };
    for (const Case& c : cases) {
        DialogRun run;
        run.config.dwFlags = TDF_USE_COMMAND_LINKS | TDF_SHOW_PROGRESS_BAR;
        run.config.dwCommonButtons = TDCBF_OK_BUTTON;
        run.config.hMainIcon = TD_WARNING_ICON;
        run.config.hFooterIcon = TD_INFORMATION_ICON;
        run.config.pszMainInstruction = QStringLiteral("Main");
        run.config.pszFooter = QStringLiteral("Note");
        run.config.pszVerificationText = QStringLiteral("Always");
        run.radios = {{100, QStringLiteral("One")}, {101, QStringLiteral("Two")}};
        run.buttons = {{541, QStringLiteral("Link")}};
        LRESULT answer = -1;
        run.Go([&](CXTaskDialog* dialog) {
            answer = c.operation(dialog);
            if (c.check)
                c.check(dialog);
            // Queued like a click, so it ends the run even with OK disabled.
            dialog->ClickButton(IDOK);
        });
        EXPECT_EQ(answer, c.answer) << c.name;
        EXPECT_EQ(run.button, IDOK) << c.name;
    }
}

} // namespace
