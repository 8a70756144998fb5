#include "designer/resources/ui/BarcodeSettingsDialogView.h"

#include "designer/resources/barcodes/BarcodeManager.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/StringTable.h"
#include "platform/ui/qt/DialogBinder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

using Dialog = CBarcodeSettingsDialog;

QString DialogText(int control)
{
    return LoadResString(DialogTextId(Dialog::IDD, static_cast<UINT>(control)));
}

template <typename Widget>
Widget* Make(QWidget* parent, int id)
{
    auto* widget = new Widget(parent);
    widget->setObjectName(QString::number(id));
    return widget;
}

QLineEdit* MakeTextEdit(QWidget* parent, int id)
{
    auto* edit = Make<QLineEdit>(parent, id);
    LimitTypedLength(edit, Dialog::kTextLimit);
    return edit;
}

QCheckBox* MakeCheck(QWidget* parent, int id)
{
    auto* check = Make<QCheckBox>(parent, id);
    check->setText(DialogText(id));
    return check;
}

QPushButton* MakeButton(QWidget* parent, int id)
{
    auto* button = Make<QPushButton>(parent, id);
    button->setText(DialogText(id));
    button->setAutoDefault(false);
    return button;
}

} // namespace

CBarcodeSettingsDialogView::CBarcodeSettingsDialogView(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(DialogText(0));

    // Created in tab order.
    auto* description = Make<QComboBox>(this, Dialog::IDC_DESCRIPTION);
    description->setEditable(true);
    description->setInsertPolicy(QComboBox::NoInsert);
    LimitTypedLength(description->lineEdit(), Dialog::kTextLimit);
    description->lineEdit()->installEventFilter(this);
    // What the user types stands as typed, and no longer means the item
    // chosen before: OK then takes the master entry of that name.
    description->setCompleter(nullptr);
    connect(description->lineEdit(), &QLineEdit::textEdited, this, [description](const QString& text) {
        if (description->currentIndex() < 0 || description->itemText(description->currentIndex()) == text)
            return;
        const int cursor = description->lineEdit()->cursorPosition();
        const QSignalBlocker blocker(description);
        description->setCurrentIndex(-1);
        description->setEditText(text);
        description->lineEdit()->setCursorPosition(cursor);
    });
    QPushButton* add = MakeButton(this, Dialog::IDC_ADD);
    QPushButton* del = MakeButton(this, Dialog::IDC_DELETE);
    auto* type = Make<QComboBox>(this, Dialog::IDC_TYPE);
    auto* modifier = Make<QComboBox>(this, Dialog::IDC_MODIFIER);
    QLineEdit* preamble = MakeTextEdit(this, Dialog::IDC_PREAMBLE);
    QLineEdit* postamble = MakeTextEdit(this, Dialog::IDC_POSTAMBLE);
    auto* moduleWidth = Make<QLineEdit>(this, Dialog::IDC_MODULE_WIDTH);
    SetDigitsOnly(moduleWidth);
    moduleWidth->setFixedWidth(moduleWidth->fontMetrics().averageCharWidth() * 6 + 12);
    QCheckBox* printText = MakeCheck(this, Dialog::IDC_PRINT_TEXT);
    QCheckBox* leading = MakeCheck(this, Dialog::IDC_REMOVE_LEADING);
    QCheckBox* trailing = MakeCheck(this, Dialog::IDC_REMOVE_TRAILING);

    // Wide enough for the longest type name and modifier text.
    for (QComboBox* list : {type, modifier}) {
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        list->setMinimumContentsLength(44);
    }
    description->setMinimumWidth(description->fontMetrics().averageCharWidth() * 32);

    auto* grid = new QGridLayout;
    int row = 0;
    auto addRow = [&](int id, QWidget* widget, QLayout* extra = nullptr) {
        auto* label = new QLabel(DialogText(id), this);
        label->setBuddy(widget);
        grid->addWidget(label, row, 0);
        if (extra != nullptr)
            grid->addLayout(extra, row, 1);
        else
            grid->addWidget(widget, row, 1, Qt::AlignLeft);
        ++row;
    };
    auto* descriptionRow = new QHBoxLayout;
    descriptionRow->addWidget(description, 1);
    descriptionRow->addWidget(add);
    descriptionRow->addWidget(del);
    addRow(Dialog::IDC_DESCRIPTION, description, descriptionRow);
    addRow(Dialog::IDC_TYPE, type);
    addRow(Dialog::IDC_MODIFIER, modifier);
    addRow(Dialog::IDC_PREAMBLE, preamble);
    addRow(Dialog::IDC_POSTAMBLE, postamble);
    addRow(Dialog::IDC_MODULE_WIDTH, moduleWidth);
    grid->addWidget(printText, row++, 1);
    grid->addWidget(leading, row++, 1);
    grid->addWidget(trailing, row++, 1);
    grid->setColumnStretch(1, 1);
    preamble->setMinimumWidth(preamble->fontMetrics().averageCharWidth() * 32);
    postamble->setMinimumWidth(postamble->fontMetrics().averageCharWidth() * 32);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(DialogText(Dialog::IDC_OK), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(DialogText(Dialog::IDC_CANCEL), QDialogButtonBox::RejectRole);
    ok->setObjectName(QString::number(Dialog::IDC_OK));
    cancel->setObjectName(QString::number(Dialog::IDC_CANCEL));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { OnOK(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(add, &QPushButton::clicked, this, [this] { Handle(&Dialog::OnAddBarcode); });
    connect(del, &QPushButton::clicked, this, [this] { Handle(&Dialog::OnDeleteBarcode); });
    connect(description, &QComboBox::activated, this, [this] { Handle(&Dialog::OnDescriptionSelEndOk); });
    connect(type, &QComboBox::activated, this, [this] { Handle(&Dialog::OnTypeSelChange); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addWidget(buttons);

    m_model.SetControlsPushedHandler([this] { ShowDialogModel(m_model, this); });
}

CBarcodeSettingsDialogView::~CBarcodeSettingsDialogView()
{
    m_model.SetControlsPushedHandler({});
}

void CBarcodeSettingsDialogView::showEvent(QShowEvent* event)
{
    if (!m_initialised) {
        m_initialised = true;
        m_model.OnInitDialog();
        if (QWidget* first = FindDialogControl(this, Dialog::IDC_DESCRIPTION))
            first->setFocus(Qt::OtherFocusReason);
    }
    QDialog::showEvent(event);
}

bool CBarcodeSettingsDialogView::eventFilter(QObject* watched, QEvent* event)
{
    // Leaving the description, but not for a window of ours (the message of
    // a failed value) or the list opening.
    if (event->type() == QEvent::FocusOut && m_initialised && !m_movingFocus && isVisible()) {
        QWidget* focus = QApplication::focusWidget();
        if (focus == nullptr || focus->window() == this)
            Handle(&Dialog::OnDescriptionKillFocus);
    }
    return QDialog::eventFilter(watched, event);
}

void CBarcodeSettingsDialogView::Handle(void (CBarcodeSettingsDialog::*handler)())
{
    ReadDialogModel(m_model, this);
    (m_model.*handler)();
    ShowDialogModel(m_model, this);
    FocusFailedControl();
}

void CBarcodeSettingsDialogView::OnOK()
{
    ReadDialogModel(m_model, this);
    if (m_model.OnOK()) {
        accept();
        return;
    }
    FocusFailedControl();
}

void CBarcodeSettingsDialogView::FocusFailedControl()
{
    m_movingFocus = true;
    FocusDialogControl(this, m_model.FailedControl());
    m_movingFocus = false;
}

void InstallBarcodeSettingsDialog()
{
    RegisterBarcodeSettingsDialogTexts();
    SetBarcodeSettingsRunner([](QWidget* parent, CBarcodeManager& manager, CBarcode* initial, CBarcode*& chosen) {
        CBarcodeSettingsDialogView dialog(parent);
        dialog.Model().SetManager(&manager);
        dialog.Model().SetInitialBarcode(initial);
        if (dialog.exec() != QDialog::Accepted)
            return FALSE;
        chosen = dialog.Model().GetChosenBarcode();
        return TRUE;
    });
}
