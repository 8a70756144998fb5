#include "designer/controls/XTaskDialog.h"
#include "designer/preferences/ColourRef.h"

#include "designer/controls/TaskDialogPictures.h"
#include "platform/framework/Clock.h"
#include "platform/ui/PromptService.h"
#include "platform/ui/StringTable.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimerEvent>

#include <algorithm>

namespace {

bool g_manualTimers = false;

// Progress bar answers pack two 16-bit values, the first in the low word.
LRESULT PackWords(int low, int high)
{
    return static_cast<LRESULT>((static_cast<DWORD>(high & 0xFFFF) << 16) | static_cast<DWORD>(low & 0xFFFF));
}

} // namespace

TaskDialogResources::~TaskDialogResources() = default;

std::optional<QString> TaskDialogResources::LoadString(UINT id) const
{
    return StringTable::Find(id);
}

QPixmap TaskDialogResources::LoadIcon(UINT id, int size) const
{
    return TaskDialogStockPicture(id, size);
}

const TaskDialogResources* CurrentResourceModule()
{
    static const TaskDialogResources resources;
    return &resources;
}

HRESULT LoadTextOrResource(const TaskDialogText& setting, QString& target, const TaskDialogResources* instance)
{
    if (setting.text) {
        target = *setting.text;
        return S_OK;
    }
    if (setting.id == 0) {
        target.clear();
        return S_OK;
    }
    const std::optional<QString> loaded = instance != nullptr ? instance->LoadString(setting.id) : std::nullopt;
    if (!loaded)
        return HResultFromError(ERROR_RESOURCE_NAME_NOT_FOUND);
    target = *loaded;
    return S_OK;
}

CXTaskDialog::CXTaskDialog() : m_standardButtons(DefaultStandardButtons())
{
    m_texts = TaskDialogTexts{};
}

CXTaskDialog::~CXTaskDialog() = default;

void CXTaskDialog::SetManualTimers(bool manual)
{
    g_manualTimers = manual;
}

HRESULT CXTaskDialog::LoadButtonTexts()
{
    for (std::size_t row = 0; row < m_standardButtons.size(); ++row) {
        if (const std::optional<QString> caption = CurrentResourceModule()->LoadString(421 + static_cast<UINT>(row)))
            m_standardButtons[row].caption = *caption;
    }
    return S_OK;
}

HRESULT CXTaskDialog::LoadTexts()
{
    const TASKDIALOGCONFIG& config = *m_config;
    const TaskDialogResources* instance = config.hInstance;
    HRESULT hr = S_OK;
    auto load = [&](const TaskDialogText& setting, QString& target) {
        if (hr >= 0)
            hr = LoadTextOrResource(setting, target, instance);
    };
    TaskDialogTexts& texts = m_texts;
    load(config.pszMainInstruction, texts.mainInstruction);
    load(config.pszContent, texts.content);
    load(config.pszExpandedInformation, texts.expandedInformation);
    load(config.pszExpandedControlText, texts.expandedControlText);
    load(config.pszCollapsedControlText, texts.collapsedControlText);
    load(config.pszVerificationText, texts.verification);
    load(config.pszFooter, texts.footer);
    if (hr < 0)
        return hr;
    if (texts.expandedControlText.isEmpty())
        texts.expandedControlText = QStringLiteral("Hide &details <<");
    if (texts.collapsedControlText.isEmpty())
        texts.collapsedControlText = QStringLiteral("See &details >>");
    const bool links = Has(TDF_ENABLE_HYPERLINKS);
    texts.contentMeasure = links ? StripLinkMarkup(texts.content) : texts.content;
    texts.expandedInformationMeasure = links ? StripLinkMarkup(texts.expandedInformation) : texts.expandedInformation;
    texts.footerMeasure = links ? StripLinkMarkup(texts.footer) : texts.footer;

    // A button whose string is missing shows an empty caption.
    auto captions = [&](const TASKDIALOG_BUTTON* buttons, UINT count) {
        std::vector<QString> result(count);
        for (UINT i = 0; i < count; ++i) {
            if (LoadTextOrResource(buttons[i].pszButtonText, result[i], instance) < 0)
                result[i].clear();
        }
        return result;
    };
    texts.buttons = captions(config.pButtons, config.pButtons ? config.cButtons : 0);
    texts.radioButtons = captions(config.pRadioButtons, config.pRadioButtons ? config.cRadioButtons : 0);
    return S_OK;
}

QPixmap CXTaskDialog::IconFor(const TaskDialogIcon& icon, bool large, bool useHandle, bool* failed) const
{
    *failed = false;
    if (useHandle) {
        if (icon.handle.isNull())
            *failed = true;
        return icon.handle;
    }
    switch (icon.id) {
    case TD_WARNING_ICON:
        return large ? m_warning32 : m_warning16;
    case TD_ERROR_ICON:
        return large ? m_error32 : m_error16;
    case TD_INFORMATION_ICON:
        return large ? m_information32 : m_information16;
    case TD_SHIELD_ICON:
        return large ? m_shield32 : m_shield16;
    default:
        break;
    }
    if (icon.id != 0 && icon.id <= 0xFFFF && m_config->hInstance != nullptr) {
        QPixmap loaded = m_config->hInstance->LoadIcon(icon.id, large ? 32 : 16);
        if (loaded.isNull())
            *failed = true;
        return loaded;
    }
    return {};
}

HRESULT CXTaskDialog::LoadMainIcon()
{
    bool failed = false;
    m_mainIcon = IconFor(m_config->hMainIcon, true, Has(TDF_USE_HICON_MAIN), &failed);
    if (failed)
        return HResultFromError(Has(TDF_USE_HICON_MAIN) ? ERROR_INVALID_HANDLE : ERROR_RESOURCE_NAME_NOT_FOUND);
    return S_OK;
}

void CXTaskDialog::LoadFooterIcon()
{
    bool failed = false;
    m_footerIcon = IconFor(m_config->hFooterIcon, false, Has(TDF_USE_HICON_FOOTER), &failed);
    if (failed)
        m_footerIcon = QPixmap();
}

void CXTaskDialog::SetMeasurer(const TaskDialogTextMeasurer* measurer)
{
    m_measurer = measurer;
}

HRESULT CXTaskDialog::DoModal(const TASKDIALOGCONFIG* config, int* button, int* radioButton,
                              BOOL* verificationFlagChecked)
{
    if (config == nullptr)
        return HResultFromError(ERROR_INVALID_HANDLE);
    m_config = config;
    LoadButtonTexts();

    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return HResultFromError(ERROR_NO_SCREEN);
    const TaskDialogResources* module = CurrentResourceModule();
    m_arrow = module->LoadIcon(IDI_TASK_ARROW, 16);
    m_hotArrow = module->LoadIcon(IDI_TASK_HOT_ARROW, 16);
    m_information32 = module->LoadIcon(IDI_TASK_INFORMATION, 32);
    m_information16 = module->LoadIcon(IDI_TASK_INFORMATION, 16);
    m_warning32 = module->LoadIcon(IDI_TASK_WARNING, 32);
    m_warning16 = module->LoadIcon(IDI_TASK_WARNING, 16);
    m_error32 = module->LoadIcon(IDI_TASK_ERROR, 32);
    m_error16 = module->LoadIcon(IDI_TASK_ERROR, 16);
    m_shield32 = module->LoadIcon(IDI_TASK_SHIELD, 32);
    m_shield16 = module->LoadIcon(IDI_TASK_SHIELD, 16);
    for (const QPixmap* stock : {&m_arrow, &m_hotArrow, &m_information32, &m_information16, &m_warning32, &m_warning16,
                                 &m_error32, &m_error16, &m_shield32, &m_shield16}) {
        if (stock->isNull())
            return HResultFromError(ERROR_RESOURCE_NAME_NOT_FOUND);
    }

    HRESULT hr = LoadTextOrResource(config->pszWindowTitle, m_windowTitle, config->hInstance);
    if (hr < 0)
        return hr;
    if (m_windowTitle.isEmpty())
        m_windowTitle = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    hr = LoadTexts();
    if (hr < 0)
        return hr;
    hr = LoadMainIcon();
    if (hr < 0)
        return hr;
    LoadFooterIcon();
    m_texts.hasMainIcon = !m_mainIcon.isNull();
    m_texts.hasFooterIcon = !m_footerIcon.isNull();

    m_normalFont = TaskDialogNormalFont();
    m_largeFont = TaskDialogLargeFont(m_normalFont);
    const QtTextMeasurer fontMeasurer(m_normalFont, m_largeFont);
    const QScreen* screen = config->hwndParent != nullptr ? config->hwndParent->screen() : nullptr;
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    const int screenWidth = screen != nullptr ? screen->geometry().width() : 1024;
    m_layout = BuildLayout(*config, m_texts, m_standardButtons, m_measurer ? *m_measurer : fontMeasurer, screenWidth);

    hr = RunTemplate(button);
    if (verificationFlagChecked != nullptr)
        *verificationFlagChecked = m_bVerification;
    if (radioButton != nullptr)
        *radioButton = m_nRadioResult;
    return hr;
}

HRESULT CXTaskDialog::RunTemplate(int* button)
{
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (Cancellable())
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (Has(TDF_CAN_BE_MINIMIZED))
        flags |= Qt::WindowMinimizeButtonHint;
    setParent(m_config->hwndParent, flags);
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(m_windowTitle);
    setFixedSize(m_layout.client);
    m_bExpanded = m_layout.expanded ? TRUE : FALSE;
    m_separators = m_layout.separators;
    CreateControls();
    OnInitDialog();
    const int result = exec();
    OnDestroy();
    if (button != nullptr)
        *button = result;
    return S_OK;
}

bool CXTaskDialog::Cancellable() const
{
    return Has(TDF_ALLOW_DIALOG_CANCELLATION) || (m_config->dwCommonButtons & TDCBF_CANCEL_BUTTON) != 0;
}

void CXTaskDialog::CreateControls()
{
    for (const TaskDialogItem& item : m_layout.items) {
        QWidget* control = nullptr;
        const int id = item.id;
        switch (item.kind) {
        case TaskDialogItemKind::Static:
            if (id == m_layout.mainIconId || id == m_layout.footerIconId) {
                auto* icon = new CXTaskDialogIconStatic(this);
                control = icon;
            } else {
                auto* text = new CXTaskDialogStatic(this);
                text->SetWindowText(item.text);
                control = text;
            }
            break;
        case TaskDialogItemKind::Link: {
            auto* text = new CXTaskDialogLinkStatic(this);
            text->SetWindowText(item.text);
            connect(text, &CXTaskDialogLinkStatic::LinkClicked, this, [this](const QString& target) {
                Notify(TDN_HYPERLINK_CLICKED, 0, reinterpret_cast<LPARAM>(&target));
            });
            control = text;
            break;
        }
        case TaskDialogItemKind::Button: {
            QPushButton* push = nullptr;
            if ((item.style & TDIS_COMMAND_LINK) == TDIS_COMMAND_LINK) {
                auto* link = new CXTaskDialogCommandLink(this);
                m_commandLinks.push_back(link);
                push = link;
            } else {
                push = new QPushButton(this);
                push->setAutoDefault(false);
                push->setDefault(item.isDefault);
            }
            push->setText(item.text);
            connect(push, &QPushButton::clicked, this, [this, id] { OnCommand(id); });
            control = push;
            break;
        }
        case TaskDialogItemKind::CheckBox: {
            auto* check = new CXTaskDialogButton(CXTaskDialogButton::Kind::CheckBox, this);
            check->setText(item.text);
            connect(check, &QCheckBox::clicked, this, [this, id] { OnCommand(id); });
            control = check;
            break;
        }
        case TaskDialogItemKind::Radio: {
            auto* radio = new CXTaskDialogButton(CXTaskDialogButton::Kind::Radio, this);
            radio->setText(item.text);
            radio->setAutoExclusive(false);
            radio->setFocusPolicy(Qt::StrongFocus);
            m_radioButtons.push_back(radio);
            connect(radio, &QCheckBox::clicked, this, [this, radio, id] {
                // One group: checking one clears the others.
                for (CXTaskDialogButton* other : m_radioButtons) {
                    if (other != radio)
                        other->setChecked(false);
                }
                OnCommand(id);
            });
            control = radio;
            break;
        }
        case TaskDialogItemKind::Progress: {
            auto* bar = new QProgressBar(this);
            bar->setTextVisible(false);
            bar->setRange(m_progressMin, m_progressMax);
            bar->setValue(m_progressPos);
            control = bar;
            break;
        }
        case TaskDialogItemKind::Icon:
        case TaskDialogItemKind::Edit:
            control = new QWidget(this);
            break;
        }
        if ((item.style & 0x00010000u) == 0 && item.kind != TaskDialogItemKind::Radio)
            control->setFocusPolicy(Qt::NoFocus);
        control->setGeometry(item.rect.ToQRect());
        control->setVisible(item.Visible());
        m_controls[id] = control;
    }
}

QWidget* CXTaskDialog::Control(int id) const
{
    const auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : found->second;
}

QProgressBar* CXTaskDialog::ProgressBar() const
{
    return qobject_cast<QProgressBar*>(Control(m_layout.progressBarId));
}

qint64 CXTaskDialog::NowMs() const
{
    return kwvd::Clock::Now().toMSecsSinceEpoch();
}

HRESULT CXTaskDialog::Notify(UINT code, WPARAM wParam, LPARAM lParam)
{
    if (m_config == nullptr || m_config->pfCallback == nullptr)
        return S_OK;
    return m_config->pfCallback(this, code, wParam, lParam, m_config->lpCallbackData);
}

void CXTaskDialog::OnInitDialog()
{
    Notify(TDN_DIALOG_CONSTRUCTED);

    if (!Has(TDF_POSITION_RELATIVE_TO_WINDOW)) {
        const QScreen* screen = m_config->hwndParent != nullptr ? m_config->hwndParent->screen() : nullptr;
        if (screen == nullptr)
            screen = QGuiApplication::primaryScreen();
        if (screen != nullptr) {
            const QRect area = screen->availableGeometry();
            move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
        }
    }

    for (const auto& [id, control] : m_controls)
        control->setFont(m_normalFont);
    if (QWidget* instruction = Control(m_layout.mainInstructionId))
        instruction->setFont(m_largeFont);

    if (auto* verification = qobject_cast<QCheckBox*>(Control(m_layout.verificationId)))
        verification->setChecked(Has(TDF_VERIFICATION_FLAG_CHECKED));

    if (Has(TDF_SHOW_MARQUEE_PROGRESS_BAR))
        SetMarqueeProgressBar(TRUE, 20);

    if (QWidget* focus = Control(m_layout.focusId))
        focus->setFocus(Qt::OtherFocusReason);

    if (!m_radioButtons.empty() && !Has(TDF_NO_DEFAULT_RADIO_BUTTON)) {
        const int wanted =
            m_config->nDefaultRadioButton != 0 ? m_config->nDefaultRadioButton : m_config->pRadioButtons[0].nButtonID;
        if (auto* radio = qobject_cast<CXTaskDialogButton*>(Control(wanted)))
            radio->setChecked(true);
    }

    if (Has(TDF_CAN_BE_MINIMIZED) && !m_mainIcon.isNull())
        setWindowIcon(QIcon(m_mainIcon));

    if (auto* icon = qobject_cast<CXTaskDialogIconStatic*>(Control(m_layout.mainIconId))) {
        icon->m_icon = &m_mainIcon;
        icon->m_bLarge = TRUE;
    }
    if (auto* icon = qobject_cast<CXTaskDialogIconStatic*>(Control(m_layout.footerIconId))) {
        icon->m_icon = &m_footerIcon;
        icon->m_bLarge = FALSE;
    }
    const QColor buttonText = QApplication::palette().color(QPalette::ButtonText);
    const COLORREF text = static_cast<COLORREF>(buttonText.red()) | (static_cast<COLORREF>(buttonText.green()) << 8)
                          | (static_cast<COLORREF>(buttonText.blue()) << 16);
    auto colour = [&](int id, COLORREF textColour, COLORREF background) {
        if (auto* label = qobject_cast<CXTaskDialogStatic*>(Control(id))) {
            label->m_crText = textColour;
            label->m_crBackground = background;
        }
    };
    colour(m_layout.mainInstructionId, kMainInstruction, kContentBackground);
    colour(m_layout.contentId, text, kContentBackground);
    colour(m_layout.expandedInformationId, text, Has(TDF_EXPAND_FOOTER_AREA) ? kButtonArea : kContentBackground);
    colour(m_layout.footerTextId, text, kButtonArea);
    for (CXTaskDialogButton* radio : m_radioButtons)
        radio->m_crErase = kContentBackground;
    const bool linkIcons = !Has(TDF_USE_COMMAND_LINKS_NO_ICON);
    for (CXTaskDialogCommandLink* link : m_commandLinks) {
        link->setFont(m_largeFont);
        link->Init(m_largeFont, m_normalFont, &m_shield16, linkIcons ? &m_arrow : nullptr,
                   linkIcons ? &m_hotArrow : nullptr);
        link->SetImage(linkIcons ? &m_arrow : nullptr);
    }
    // The check box lies on the button area.
    if (auto* verification = qobject_cast<CXTaskDialogButton*>(Control(m_layout.verificationId)))
        verification->m_crErase = kButtonArea;

    if (Has(TDF_CALLBACK_TIMER))
        StartTimer(kCallbackTimer, 200);
    m_timerStart = NowMs();

    if (!Has(TDF_USE_HICON_MAIN)) {
        switch (m_config->hMainIcon.id) {
        case TD_ERROR_ICON:
            Prompts().MessageBeep(MB_ICONHAND);
            break;
        case TD_WARNING_ICON:
            Prompts().MessageBeep(MB_ICONEXCLAMATION);
            break;
        case TD_INFORMATION_ICON:
            Prompts().MessageBeep(MB_ICONASTERISK);
            break;
        default:
            break;
        }
    }

    Notify(TDN_CREATED);
}

bool CXTaskDialog::IsRadioId(int id) const
{
    for (UINT i = 0; i < m_config->cRadioButtons; ++i) {
        if (m_config->pRadioButtons[i].nButtonID == id)
            return true;
    }
    return false;
}

void CXTaskDialog::OnCommand(int id)
{
    if (m_ended)
        return;
    if (IsRadioId(id)) {
        Notify(TDN_RADIO_BUTTON_CLICKED, static_cast<WPARAM>(id));
        return;
    }
    if (id == m_layout.expandoId) {
        ToggleExpando();
        return;
    }
    if (id == m_layout.verificationId) {
        const auto* box = qobject_cast<QCheckBox*>(Control(id));
        Notify(TDN_VERIFICATION_CLICKED, box != nullptr && box->isChecked() ? 1 : 0);
        return;
    }
    if (id == IDCANCEL && !Cancellable())
        return;
    if (Notify(TDN_BUTTON_CLICKED, static_cast<WPARAM>(id)) == S_FALSE)
        return;
    const auto* box = qobject_cast<QCheckBox*>(Control(m_layout.verificationId));
    m_bVerification = box != nullptr && box->isChecked() ? TRUE : FALSE;
    m_nRadioResult = -1;
    for (UINT i = 0; i < m_config->cRadioButtons; ++i) {
        const auto* radio = qobject_cast<QCheckBox*>(Control(m_config->pRadioButtons[i].nButtonID));
        if (radio != nullptr && radio->isChecked()) {
            m_nRadioResult = m_config->pRadioButtons[i].nButtonID;
            break;
        }
    }
    m_ended = true;
    done(id);
}

void CXTaskDialog::OnDestroy()
{
    StopTimer(kCallbackTimer);
    StopTimer(kAnimationTimer);
    Notify(TDN_DESTROYED);
}

void CXTaskDialog::reject()
{
    OnCommand(IDCANCEL);
}

void CXTaskDialog::closeEvent(QCloseEvent* event)
{
    if (m_ended) {
        event->accept();
        return;
    }
    event->ignore();
    OnCommand(IDCANCEL);
}

void CXTaskDialog::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        OnCommand(IDCANCEL);
        return;
    case Qt::Key_F1:
        Notify(TDN_HELP);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        auto* focused = qobject_cast<QPushButton*>(focusWidget());
        if (focused == nullptr || !focused->isEnabled() || !focused->isVisible())
            focused = qobject_cast<QPushButton*>(Control(m_layout.focusId));
        if (focused != nullptr && focused->isEnabled())
            focused->click();
        else
            OnCommand(IDOK);
        return;
    }
    default:
        QDialog::keyPressEvent(event);
    }
}

void CXTaskDialog::StartTimer(UINT id, int interval)
{
    StopTimer(id);
    if (g_manualTimers)
        m_manualTimerRunning[id] = true;
    else
        m_timerIds[id] = startTimer(interval);
}

void CXTaskDialog::StopTimer(UINT id)
{
    if (m_timerIds[id] != 0)
        killTimer(m_timerIds[id]);
    m_timerIds[id] = 0;
    m_manualTimerRunning[id] = false;
}

bool CXTaskDialog::IsTimerRunning(UINT id) const
{
    return id < m_timerIds.size() && (m_timerIds[id] != 0 || m_manualTimerRunning[id]);
}

void CXTaskDialog::timerEvent(QTimerEvent* event)
{
    for (UINT id : {kCallbackTimer, kAnimationTimer}) {
        if (m_timerIds[id] == event->timerId()) {
            OnTimer(id);
            return;
        }
    }
    QDialog::timerEvent(event);
}

void CXTaskDialog::OnTimer(UINT id)
{
    if (!IsTimerRunning(id))
        return;
    if (id == kAnimationTimer) {
        AnimationStep();
        return;
    }
    const qint64 now = NowMs();
    const auto elapsed = static_cast<WPARAM>(std::max<qint64>(0, now - m_timerStart));
    if (Notify(TDN_TIMER, elapsed) == S_FALSE)
        m_timerStart = now;
}

void CXTaskDialog::ShiftControl(int id, int dy)
{
    if (QWidget* control = Control(id))
        control->move(control->x(), control->y() + dy);
}

// The controls below the details that wait for the animation's end: the
// push buttons (the expando button among them), the check box and footer.
void CXTaskDialog::ShiftBelowControls(int dy)
{
    for (const TaskDialogItem& item : m_layout.items) {
        const bool pushButton =
            item.kind == TaskDialogItemKind::Button && (item.style & TDIS_COMMAND_LINK) != TDIS_COMMAND_LINK;
        if (pushButton || item.id == m_layout.verificationId || item.id == m_layout.footerIconId
            || item.id == m_layout.footerTextId)
            ShiftControl(item.id, dy);
    }
}

void CXTaskDialog::ShowBelowControls(bool show)
{
    for (const TaskDialogItem& item : m_layout.items) {
        const bool pushButton =
            item.kind == TaskDialogItemKind::Button && (item.style & TDIS_COMMAND_LINK) != TDIS_COMMAND_LINK;
        if (pushButton || item.id == m_layout.verificationId || item.id == m_layout.footerIconId
            || item.id == m_layout.footerTextId) {
            if (QWidget* control = Control(item.id))
                control->setVisible(show);
        }
    }
}

void CXTaskDialog::SetClientHeight(int height)
{
    setFixedSize(width(), height);
}

void CXTaskDialog::ToggleExpando()
{
    // A toggle while the last one still moves first lands that one.
    if (m_animationRunning)
        FinishAnimation();

    m_bExpanded = m_bExpanded ? FALSE : TRUE;
    if (auto* expando = qobject_cast<QPushButton*>(Control(m_layout.expandoId)))
        expando->setText(m_bExpanded ? m_texts.expandedControlText : m_texts.collapsedControlText);
    QWidget* details = Control(m_layout.expandedInformationId);
    if (details == nullptr) {
        Notify(TDN_EXPANDO_BUTTON_CLICKED, m_bExpanded ? 1 : 0);
        return;
    }
    const bool animate = m_bClientAreaAnimation != FALSE;
    const bool footerArea = Has(TDF_EXPAND_FOOTER_AREA);
    if (animate) {
        details->hide();
        if (!footerArea)
            ShowBelowControls(false);
    }
    const int startHeight = height();
    if (!footerArea) {
        m_expandHeight = details->height() + 10;
        const int c = m_bExpanded ? m_expandHeight : -m_expandHeight;
        for (CXTaskDialogCommandLink* link : m_commandLinks)
            link->move(link->x(), link->y() + c);
        for (CXTaskDialogButton* radio : m_radioButtons)
            radio->move(radio->x(), radio->y() + c);
        ShiftControl(m_layout.progressBarId, c);
        auto shifted = [c](int row) { return row == -1 ? -1 : row + c; };
        if (animate) {
            m_savedSeparators = {shifted(m_separators[0]), shifted(m_separators[1]), m_separators[2]};
            m_separators = {-1, -1, -1};
        } else {
            ShiftBelowControls(c);
            details->setVisible(m_bExpanded != FALSE);
            m_separators[0] = shifted(m_separators[0]);
            m_separators[1] = shifted(m_separators[1]);
            SetClientHeight(startHeight + c);
        }
    } else {
        // We size the client area itself, so no frame enters the height.
        m_expandHeight = details->height() + 20;
        const int c = m_bExpanded ? m_expandHeight : -m_expandHeight;
        const int line = m_bExpanded ? startHeight : -1;
        if (animate) {
            m_savedSeparators = {m_separators[0], m_separators[1], line};
            m_separators[2] = -1;
        } else {
            details->setVisible(m_bExpanded != FALSE);
            m_separators[2] = line;
            SetClientHeight(startHeight + c);
        }
    }
    if (animate) {
        m_animationProgress = 0;
        m_animationStartHeight = startHeight;
        m_animationRunning = true;
        details->setFocus();
        update();
        StartTimer(kAnimationTimer, 25);
    } else {
        update();
    }
    Notify(TDN_EXPANDO_BUTTON_CLICKED, m_bExpanded ? 1 : 0);
}

void CXTaskDialog::AnimationStep()
{
    const int step = std::max(1, m_expandHeight / 10);
    // The last step is cut so the window ends at exactly the details' height.
    const int take = std::min(step, m_expandHeight - m_animationProgress);
    m_animationProgress += take;
    SetClientHeight(height() + (m_bExpanded ? take : -take));
    if (m_animationProgress >= m_expandHeight)
        FinishAnimation();
}

void CXTaskDialog::FinishAnimation()
{
    StopTimer(kAnimationTimer);
    m_animationRunning = false;
    const int d = m_bExpanded ? m_expandHeight : -m_expandHeight;
    SetClientHeight(m_animationStartHeight + d);
    m_animationProgress = m_expandHeight;
    const bool footerArea = Has(TDF_EXPAND_FOOTER_AREA);
    if (!footerArea)
        ShiftBelowControls(d);
    m_separators = m_savedSeparators;
    if (QWidget* details = Control(m_layout.expandedInformationId))
        details->setVisible(m_bExpanded != FALSE);
    if (!footerArea) {
        ShowBelowControls(true);
        if (QWidget* bar = Control(m_layout.progressBarId))
            bar->show();
        for (CXTaskDialogCommandLink* link : m_commandLinks)
            link->show();
        for (CXTaskDialogButton* radio : m_radioButtons)
            radio->show();
    }
    if (QWidget* expando = Control(m_layout.expandoId))
        expando->setFocus();
    update();
}

void CXTaskDialog::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int w = width();
    const int h = height();
    const QColor white = kwvd::ToQColor(kContentBackground);
    const QColor band = kwvd::ToQColor(kButtonArea);
    const QColor line = kwvd::ToQColor(kSeparator);
    if (m_separators[0] == -1) {
        painter.fillRect(0, 0, w, h, white);
        return;
    }
    auto fill = [&](int top, int bottom, const QColor& colour) {
        if (bottom > top)
            painter.fillRect(0, top, w, bottom - top, colour);
    };
    std::vector<int> later;
    for (int i = 1; i < 3; ++i) {
        if (m_separators[i] != -1)
            later.push_back(m_separators[i]);
    }
    const int first = m_separators[0];
    fill(0, first, white);
    fill(first, first + 1, line);
    fill(first + 1, later.empty() ? h : later.front() - 1, band);
    for (std::size_t i = 0; i < later.size(); ++i) {
        const int row = later[i];
        fill(row - 1, row, line);
        fill(row, row + 1, white);
        fill(row + 1, i + 1 < later.size() ? later[i + 1] - 1 : h, band);
    }
}

int CXTaskDialog::ElementId(int element) const
{
    switch (element) {
    case TDE_CONTENT:
        return m_layout.contentId;
    case TDE_EXPANDED_INFORMATION:
        return m_layout.expandedInformationId;
    case TDE_FOOTER:
        return m_layout.footerTextId;
    case TDE_MAIN_INSTRUCTION:
        return m_layout.mainInstructionId;
    default:
        return -1;
    }
}

LRESULT CXTaskDialog::ClickButton(int id)
{
    if (QWidget* control = Control(id))
        control->setFocus(Qt::OtherFocusReason);
    QMetaObject::invokeMethod(
        this, [this, id] { OnCommand(id); }, Qt::QueuedConnection);
    return TRUE;
}

LRESULT CXTaskDialog::ClickRadioButton(int id)
{
    for (CXTaskDialogButton* radio : m_radioButtons) {
        const bool chosen = radio == Control(id);
        radio->setChecked(chosen);
        if (chosen)
            radio->setFocus(Qt::OtherFocusReason);
    }
    return 0;
}

LRESULT CXTaskDialog::ClickVerification(BOOL checked, BOOL setFocus)
{
    if (auto* box = qobject_cast<QCheckBox*>(Control(m_layout.verificationId))) {
        box->setChecked(checked != FALSE);
        if (setFocus)
            box->setFocus(Qt::OtherFocusReason);
    }
    return 0;
}

LRESULT CXTaskDialog::EnableButton(int id, BOOL enable)
{
    if (QWidget* control = Control(id))
        control->setEnabled(enable != FALSE);
    return 0;
}

LRESULT CXTaskDialog::EnableRadioButton(int id, BOOL enable)
{
    if (IsRadioId(id))
        return EnableButton(id, enable);
    return 0;
}

LRESULT CXTaskDialog::SetElementText(int element, const QString& text)
{
    auto* label = qobject_cast<CXTaskDialogStatic*>(Control(ElementId(element)));
    if (label == nullptr)
        return 0;
    label->SetWindowText(text);
    return 1;
}

LRESULT CXTaskDialog::UpdateElementText(int element, const QString& text)
{
    SetElementText(element, text);
    return 1;
}

LRESULT CXTaskDialog::SetProgressBarRange(int minimum, int maximum)
{
    QProgressBar* bar = ProgressBar();
    if (bar == nullptr)
        return 0;
    const LRESULT previous = PackWords(m_progressMin, m_progressMax);
    m_progressMin = minimum;
    m_progressMax = maximum;
    if (!m_marquee)
        bar->setRange(minimum, maximum);
    return previous;
}

LRESULT CXTaskDialog::SetProgressBarPos(int position)
{
    QProgressBar* bar = ProgressBar();
    if (bar == nullptr)
        return 0;
    const LRESULT previous = m_progressPos;
    m_progressPos =
        std::clamp(position, std::min(m_progressMin, m_progressMax), std::max(m_progressMin, m_progressMax));
    if (!m_marquee)
        bar->setValue(m_progressPos);
    return previous;
}

LRESULT CXTaskDialog::SetProgressBarState(int state)
{
    // Qt draws no paused or error bar; the state is kept for the asking.
    m_progressState = state;
    return 1;
}

LRESULT CXTaskDialog::SetMarqueeProgressBar(BOOL on, UINT)
{
    if (QProgressBar* bar = ProgressBar()) {
        m_marquee = on != FALSE;
        if (m_marquee) {
            bar->setRange(0, 0);
        } else {
            bar->setRange(m_progressMin, m_progressMax);
            bar->setValue(m_progressPos);
        }
    }
    return static_cast<LRESULT>(on);
}

LRESULT CXTaskDialog::SetProgressBarMarquee(BOOL, UINT)
{
    return 0;
}

LRESULT CXTaskDialog::NavigatePage(const TASKDIALOGCONFIG*)
{
    return 0;
}

LRESULT CXTaskDialog::SetButtonElevationRequiredState(int id, BOOL required)
{
    QWidget* control = Control(id);
    const QPixmap* image = required ? &m_shield16 : (Has(TDF_USE_COMMAND_LINKS_NO_ICON) ? nullptr : &m_arrow);
    if (auto* link = qobject_cast<CXTaskDialogCommandLink*>(control))
        link->SetImage(image);
    else if (auto* push = qobject_cast<QPushButton*>(control))
        push->setIcon(image != nullptr ? QIcon(*image) : QIcon());
    return 0;
}

LRESULT CXTaskDialog::UpdateIcon(int element, const TaskDialogIcon& icon)
{
    bool failed = false;
    if (element != TDIE_ICON_MAIN) {
        m_footerIcon = icon.IsNull() ? QPixmap() : IconFor(icon, false, Has(TDF_USE_HICON_FOOTER), &failed);
        if (QWidget* placeholder = Control(m_layout.footerIconId))
            placeholder->update();
        return 0;
    }
    m_mainIcon = icon.IsNull() ? QPixmap() : IconFor(icon, true, Has(TDF_USE_HICON_MAIN), &failed);
    if (QWidget* placeholder = Control(m_layout.mainIconId))
        placeholder->update();
    if (Has(TDF_CAN_BE_MINIMIZED))
        setWindowIcon(m_mainIcon.isNull() ? QIcon() : QIcon(m_mainIcon));
    if (m_mainIcon.isNull())
        update();
    return 0;
}
