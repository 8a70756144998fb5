#include "designer/output/ui/OutputDevicePropPageView.h"

#include "designer/controls/ComboBoxClr.h"
#include "platform/ui/ReentryGuard.h"
#include "platform/ui/qt/DialogBinder.h"
#include "platform/ui/qt/UpDownControl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QValidator>

#include <utility>

namespace {

template <class Widget>
Widget* Named(Widget* widget, int id)
{
    widget->setObjectName(QString::number(id));
    return widget;
}

class UpperCaseValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        input = input.toUpper();
        return Acceptable;
    }
};

} // namespace

// What a list that reports its close-up keeps: whether it was dropped down,
// and the call, taken away when the page goes.
class CloseUpNotifier
{
public:
    explicit CloseUpNotifier(std::function<void()> closedUp) : m_closedUp(std::move(closedUp)) {}

    // The page is going: a list still open tells it nothing.
    void Disarm() { m_closedUp = nullptr; }

protected:
    void Opened() { m_open = true; }
    // Qt also hides the popup when the box is hidden, the dying page's
    // children included: only a list that was dropped down closes up.
    bool TakeOpen() { return std::exchange(m_open, false); }
    void ClosedUp()
    {
        if (m_closedUp)
            m_closedUp();
    }

private:
    std::function<void()> m_closedUp;
    bool m_open = false;
};

namespace {

template <class Box>
class CloseUpComboBox : public Box, public CloseUpNotifier
{
public:
    CloseUpComboBox(QWidget* parent, std::function<void()> closedUp) : Box(parent), CloseUpNotifier(std::move(closedUp))
    {}

    void showPopup() override
    {
        Opened();
        Box::showPopup();
    }

    void hidePopup() override
    {
        const bool wasOpen = TakeOpen();
        Box::hidePopup();
        if (wasOpen)
            ClosedUp();
    }
};

class FocusOutFilter : public QObject
{
public:
    FocusOutFilter(QObject* parent, std::function<void()> handler) : QObject(parent), m_handler(std::move(handler)) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // A list or menu that pops up keeps the focus where it was.
        if (event->type() == QEvent::FocusOut && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
            if (auto scope = m_guard.TryEnter())
                m_handler();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_handler;
    ReentryGuard m_guard;
};

} // namespace

COutputDevicePropPageView::COutputDevicePropPageView(COutputDevicePropPage& model, QWidget* parent)
    : QWidget(parent), m_model(model)
{}

COutputDevicePropPageView::~COutputDevicePropPageView()
{
    for (QObject* filter : m_focusOutFilters)
        delete filter;
    // The controls go after this page: whatever they still say while Qt
    // takes them down (a hidden list, an edit losing the focus) reaches no
    // handler of the page.
    for (QWidget* control : findChildren<QWidget*>())
        control->blockSignals(true);
    for (CloseUpNotifier* list : m_closeUpLists)
        list->Disarm();
    m_model.DetachWindow();
}

bool COutputDevicePropPageView::UpdateData(bool saveAndValidate)
{
    if (saveAndValidate)
        ReadDialogModel(m_model, this);
    const bool done = m_model.UpdateData(saveAndValidate);
    Show();
    if (!done)
        FocusFailedControl();
    return done;
}

bool COutputDevicePropPageView::Apply()
{
    ReadDialogModel(m_model, this);
    if (m_model.OnApply())
        return true;
    FocusFailedControl();
    return false;
}

void COutputDevicePropPageView::Activate()
{
    ReadDialogModel(m_model, this);
    m_model.OnSetActive();
    Show();
}

void COutputDevicePropPageView::InitDialog()
{
    m_model.AttachWindow([this] { Show(); });
    m_model.OnInitDialog();
    for (const COutputDevicePropPage::UpDown& upDown : m_model.GetUpDowns()) {
        if (auto* control = findChild<CUpDownControl*>(QString::number(upDown.id))) {
            control->SetRange(upDown.minimum, upDown.maximum);
            control->SetWrap(true);
        }
    }
    Show();
}

void COutputDevicePropPageView::Forward(const std::function<bool()>& handler)
{
    ReadDialogModel(m_model, this);
    const bool done = handler();
    Show();
    if (!done)
        FocusFailedControl();
}

void COutputDevicePropPageView::Show()
{
    ShowDialogModel(m_model, this);
    AfterShow();
}

void COutputDevicePropPageView::FocusFailedControl()
{
    FocusDialogControl(this, m_model.RefusedControl());
}

QLabel* COutputDevicePropPageView::Label(int controlId)
{
    return new QLabel(m_model.GetLabel(controlId), this);
}

QLineEdit* COutputDevicePropPageView::Edit(int id, int maxChars)
{
    auto* edit = Named(new QLineEdit(this), id);
    LimitTypedLength(edit, maxChars);
    return edit;
}

QLineEdit* COutputDevicePropPageView::NumberEdit(int id, int maxChars)
{
    QLineEdit* edit = Edit(id, maxChars);
    SetDigitsOnly(edit);
    return edit;
}

QComboBox* COutputDevicePropPageView::DropList(int id)
{
    return Named(new QComboBox(this), id);
}

QRadioButton* COutputDevicePropPageView::Radio(int id)
{
    return Named(new QRadioButton(m_model.GetLabel(id), this), id);
}

QCheckBox* COutputDevicePropPageView::Check(int id)
{
    return Named(new QCheckBox(m_model.GetLabel(id), this), id);
}

QGroupBox* COutputDevicePropPageView::Group(int captionId)
{
    return new QGroupBox(m_model.GetLabel(captionId), this);
}

CUpDownControl* COutputDevicePropPageView::UpDown(int id, QLineEdit* buddy)
{
    auto* upDown = Named(new CUpDownControl(this), id);
    upDown->SetBuddy(buddy);
    return upDown;
}

QHBoxLayout* COutputDevicePropPageView::NumberWithUpDown(int editId, int upDownId, int width)
{
    QLineEdit* edit = NumberEdit(editId);
    edit->setFixedWidth(width);
    auto* field = new QHBoxLayout;
    field->setSpacing(0);
    field->addWidget(edit);
    field->addWidget(UpDown(upDownId, edit));
    return field;
}

QLineEdit* COutputDevicePropPageView::UpperEdit(int id, int maxChars)
{
    QLineEdit* edit = Edit(id, maxChars);
    edit->setValidator(new UpperCaseValidator(edit));
    return edit;
}

void COutputDevicePropPageView::OnFocusOut(QWidget* widget, std::function<void()> handler)
{
    // An editable box keeps the focus itself and hands the events to its edit.
    auto* filter = new FocusOutFilter(this, std::move(handler));
    m_focusOutFilters.push_back(filter);
    widget->installEventFilter(filter);
}

void COutputDevicePropPageView::ChainTabOrder(const std::vector<int>& ids)
{
    QWidget* previous = nullptr;
    for (const int id : ids) {
        QWidget* widget = FindDialogControl(this, id);
        if (!widget)
            continue;
        if (previous)
            setTabOrder(previous, widget);
        previous = widget;
    }
}

QLabel* COutputDevicePropPageView::StaticText(int id)
{
    return Named(new QLabel(this), id);
}

template <class Box>
Box* COutputDevicePropPageView::CloseUpList(int id, std::function<void()> closedUp)
{
    auto* box = new CloseUpComboBox<Box>(this, [this, closedUp = std::move(closedUp)] {
        Forward([&closedUp] {
            closedUp();
            return true;
        });
    });
    m_closeUpLists.push_back(box);
    return Named<Box>(box, id);
}

QComboBox* COutputDevicePropPageView::DropListWithCloseUp(int id, std::function<void()> closedUp)
{
    return CloseUpList<QComboBox>(id, std::move(closedUp));
}

CComboBoxClr* COutputDevicePropPageView::ColourDropListWithCloseUp(int id, std::function<void()> closedUp)
{
    return CloseUpList<CComboBoxClr>(id, std::move(closedUp));
}
