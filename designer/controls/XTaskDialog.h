#pragma once
// The task dialog we show ourselves: it reads a TASKDIALOGCONFIG, loads its
// texts and icons, lays the controls out in pixels (BuildLayout) and runs
// as a modal QDialog that sends the settings' callback its notifications
// and answers the task dialog operations a callback may call. One object
// serves one run; the caller's settings, arrays and callback must outlive it.

#include "designer/controls/TaskDialogConfig.h"
#include "designer/controls/TaskDialogControls.h"
#include "designer/controls/TaskDialogLayout.h"

#include <QDialog>
#include <QFont>
#include <QPixmap>

#include <array>
#include <map>
#include <vector>

class QProgressBar;

// A text of the settings: empty for neither text nor id; a string id that
// the instance does not have fails with the resource error.
HRESULT LoadTextOrResource(const TaskDialogText& setting, QString& target, const TaskDialogResources* instance);

class CXTaskDialog : public QDialog
{
    Q_OBJECT

public:
    CXTaskDialog();
    ~CXTaskDialog() override;

    // Any of the three result pointers may be null. A failure before the
    // dialog shows writes none of them.
    HRESULT DoModal(const TASKDIALOGCONFIG* config, int* button, int* radioButton, BOOL* verificationFlagChecked);

    // The six common-button captions from strings 421 to 426 of the current
    // resource source, where it has them.
    virtual HRESULT LoadButtonTexts();

    // Measures with this in place of the dialog's fonts (tests); the
    // measurer must outlive the run.
    void SetMeasurer(const TaskDialogTextMeasurer* measurer);

    // The client-area animation of the desktop; on unless switched off.
    void SetClientAreaAnimation(bool on) { m_bClientAreaAnimation = on ? TRUE : FALSE; }

    // With manual timers nothing ticks by itself and the caller drives
    // OnTimer; for tests that step time by hand.
    static void SetManualTimers(bool manual);

    static constexpr UINT kCallbackTimer = 1;
    static constexpr UINT kAnimationTimer = 2;
    bool IsTimerRunning(UINT id) const;
    void OnTimer(UINT id);

    // The task dialog operations, each with the answer the caller gets.
    LRESULT ClickButton(int id);
    LRESULT ClickRadioButton(int id);
    LRESULT ClickVerification(BOOL checked, BOOL setFocus);
    LRESULT EnableButton(int id, BOOL enable);
    LRESULT EnableRadioButton(int id, BOOL enable);
    LRESULT SetElementText(int element, const QString& text);
    LRESULT UpdateElementText(int element, const QString& text);
    LRESULT SetProgressBarRange(int minimum, int maximum); // the old range, minimum low word
    LRESULT SetProgressBarPos(int position);               // the old position
    LRESULT SetProgressBarState(int state);
    LRESULT SetMarqueeProgressBar(BOOL on, UINT interval);
    LRESULT SetProgressBarMarquee(BOOL on, UINT interval); // speed: not handled
    LRESULT NavigatePage(const TASKDIALOGCONFIG* config);  // not handled
    LRESULT SetButtonElevationRequiredState(int id, BOOL required);
    LRESULT UpdateIcon(int element, const TaskDialogIcon& icon);

    // What a run reads; valid from the start of the run.
    const TaskDialogLayout& Layout() const { return m_layout; }
    QWidget* Control(int id) const;
    int ExpandoId() const { return m_layout.expandoId; }
    bool IsExpanded() const { return m_bExpanded != FALSE; }
    bool IsAnimating() const { return m_animationRunning; }
    std::array<int, 3> Separators() const { return m_separators; }
    int ProgressBarState() const { return m_progressState; }
    const QPixmap& MainIcon() const { return m_mainIcon; }
    const QPixmap& FooterIcon() const { return m_footerIcon; }
    const QString& WindowTitle() const { return m_windowTitle; }

    const StandardButtonTable& StandardButtons() const { return m_standardButtons; }

    // Colours, COLORREF values.
    static constexpr COLORREF kContentBackground = 0xFFFFFF;
    static constexpr COLORREF kButtonArea = 0xF0F0F0;
    static constexpr COLORREF kSeparator = 0xE9E9E9;
    static constexpr COLORREF kMainInstruction = 0x993300;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void timerEvent(QTimerEvent* event) override;

private:
    HRESULT LoadTexts();
    HRESULT LoadMainIcon();
    void LoadFooterIcon();
    HRESULT RunTemplate(int* button);
    void CreateControls();
    void OnInitDialog();
    void OnCommand(int id);
    void OnDestroy();
    void ToggleExpando();
    void AnimationStep();
    void FinishAnimation();
    void ShiftControl(int id, int dy);
    void ShiftBelowControls(int dy);
    void ShowBelowControls(bool show);
    void SetClientHeight(int height);
    HRESULT Notify(UINT code, WPARAM wParam = 0, LPARAM lParam = 0);
    void StartTimer(UINT id, int interval);
    void StopTimer(UINT id);
    bool Has(DWORD flag) const { return m_config != nullptr && (m_config->dwFlags & flag) != 0; }
    bool Cancellable() const;
    bool IsRadioId(int id) const;
    QPixmap IconFor(const TaskDialogIcon& icon, bool large, bool useHandle, bool* failed) const;
    int ElementId(int element) const;
    QProgressBar* ProgressBar() const;
    qint64 NowMs() const;

    const TASKDIALOGCONFIG* m_config = nullptr;
    const TaskDialogTextMeasurer* m_measurer = nullptr;
    QString m_windowTitle;
    QFont m_normalFont;
    QFont m_largeFont;
    TaskDialogTexts m_texts;
    TaskDialogLayout m_layout;
    StandardButtonTable m_standardButtons;
    std::map<int, QWidget*> m_controls;
    std::vector<CXTaskDialogButton*> m_radioButtons;
    std::vector<CXTaskDialogCommandLink*> m_commandLinks;

    // 0 none, 1 the callback timer, 2 the animation: Qt's timer ids.
    std::array<int, 3> m_timerIds{0, 0, 0};
    std::array<bool, 3> m_manualTimerRunning{false, false, false};
    qint64 m_timerStart = 0;

    std::array<int, 3> m_separators{-1, -1, -1};
    std::array<int, 3> m_savedSeparators{-1, -1, -1};
    BOOL m_bExpanded = FALSE;
    int m_expandHeight = 0;
    int m_animationProgress = 0;
    int m_animationStartHeight = 0;
    bool m_animationRunning = false;
    BOOL m_bClientAreaAnimation = TRUE;

    BOOL m_bVerification = FALSE;
    int m_nRadioResult = -1;
    bool m_ended = false;

    QPixmap m_mainIcon;
    QPixmap m_footerIcon;
    // Arrow, hot arrow, and information, warning, error, shield at 32 and 16.
    QPixmap m_arrow, m_hotArrow;
    QPixmap m_information32, m_information16, m_warning32, m_warning16, m_error32, m_error16, m_shield32, m_shield16;

    int m_progressMin = 0;
    int m_progressMax = 100;
    int m_progressPos = 0;
    int m_progressState = 1;
    bool m_marquee = false;
};
