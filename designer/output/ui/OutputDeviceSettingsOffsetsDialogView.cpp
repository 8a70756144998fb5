#include "designer/output/ui/OutputDeviceSettingsOffsetsDialogView.h"

#include "platform/ui/DialogTextId.h"
#include "platform/ui/PromptService.h"
#include "platform/ui/StringTable.h"
#include "platform/ui/qt/DialogBinder.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

using Dialog = COutputDeviceSettingsOffsetsDialog;

QString DialogText(int control)
{
    return LoadResString(DialogTextId(Dialog::IDD, static_cast<UINT>(control)));
}

// A group of four offsets on two rows, each row two label and edit pairs;
// the labels of each column are added to labels, so that both groups can
// line their edits up.
QGroupBox* OffsetGroup(QWidget* parent, int groupId, const int (&edits)[2][2], QList<QLabel*> (&labels)[2])
{
    auto* group = new QGroupBox(DialogText(groupId), parent);
    group->setObjectName(QString::number(groupId));
    auto* grid = new QGridLayout(group);
    // Column 2 keeps the image offsets apart from the text offsets.
    grid->setColumnMinimumWidth(2, 16);
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 2; ++column) {
            const int id = edits[row][column];
            auto* edit = new QLineEdit(group);
            edit->setObjectName(QString::number(id));
            SetDigitsOnly(edit);
            edit->setAlignment(Qt::AlignRight);
            edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
            auto* label = new QLabel(DialogText(id), group);
            label->setBuddy(edit);
            labels[column] << label;
            grid->addWidget(label, row, 3 * column);
            grid->addWidget(edit, row, 3 * column + 1);
        }
    }
    return group;
}

} // namespace

COutputDeviceSettingsOffsetsDialogView::COutputDeviceSettingsOffsetsDialogView(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(DialogText(0));
    auto* layout = new QVBoxLayout(this);

    const int portrait[2][2] = {{Dialog::IDC_PORTRAIT_IMAGE_DOWN, Dialog::IDC_PORTRAIT_TEXT_DOWN},
                                {Dialog::IDC_PORTRAIT_IMAGE_RIGHT, Dialog::IDC_PORTRAIT_TEXT_RIGHT}};
    const int landscape[2][2] = {{Dialog::IDC_LANDSCAPE_IMAGE_UP, Dialog::IDC_LANDSCAPE_TEXT_DOWN},
                                 {Dialog::IDC_LANDSCAPE_IMAGE_RIGHT, Dialog::IDC_LANDSCAPE_TEXT_RIGHT}};
    QList<QLabel*> labels[2];
    layout->addWidget(OffsetGroup(this, Dialog::IDC_PORTRAIT_GROUP, portrait, labels));
    layout->addWidget(OffsetGroup(this, Dialog::IDC_LANDSCAPE_GROUP, landscape, labels));
    for (const QList<QLabel*>& column : labels) {
        int widest = 0;
        for (const QLabel* label : column)
            widest = std::max(widest, label->sizeHint().width());
        for (QLabel* label : column)
            label->setMinimumWidth(widest);
    }

    auto* presetRow = new QHBoxLayout;
    m_presets = new QComboBox(this);
    m_presets->setObjectName(QString::number(Dialog::IDC_PRESET));
    m_presets->setEditable(true);
    // The model keeps the entries and their order; Return adds nothing.
    m_presets->setInsertPolicy(QComboBox::NoInsert);
    m_presets->setCompleter(nullptr);
    m_presets->installEventFilter(this);
    presetRow->addWidget(m_presets, 1);
    auto* add = new QPushButton(DialogText(Dialog::IDC_ADD), this);
    add->setObjectName(QString::number(Dialog::IDC_ADD));
    add->setAutoDefault(false);
    presetRow->addWidget(add);
    auto* del = new QPushButton(DialogText(Dialog::IDC_DEL), this);
    del->setObjectName(QString::number(Dialog::IDC_DEL));
    del->setAutoDefault(false);
    presetRow->addWidget(del);
    layout->addLayout(presetRow);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(DialogText(IDOK), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QString::number(IDOK));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(DialogText(IDCANCEL), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QString::number(IDCANCEL));
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(add, &QPushButton::clicked, this, [this] { Run([this] { return m_model.OnAdd(); }); });
    connect(del, &QPushButton::clicked, this, [this] { Run([this] { return m_model.OnDel(); }); });
    connect(m_presets, &QComboBox::activated, this, [this] {
        Run([this] {
            m_model.OnPresetSelected();
            return true;
        });
    });
}

COutputDeviceSettingsOffsetsDialogView::~COutputDeviceSettingsOffsetsDialogView()
{
    // The combo box goes before the model: no focus change may reach it.
    m_presets->removeEventFilter(this);
}

void COutputDeviceSettingsOffsetsDialogView::SetDevice(COutputDevice* device)
{
    m_model.SetDevice(device);
    ShowDialogModel(m_model, this);
}

void COutputDeviceSettingsOffsetsDialogView::accept()
{
    bool ok = false;
    Run([this, &ok] { return ok = m_model.OnOK(); });
    if (ok)
        QDialog::accept();
}

void COutputDeviceSettingsOffsetsDialogView::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_initialized)
        return;
    m_initialized = true;
    static_cast<void>(m_model.OnInitDialog());
    ShowDialogModel(m_model, this);
}

bool COutputDeviceSettingsOffsetsDialogView::eventFilter(QObject* watched, QEvent* event)
{
    // The list dropping down takes the focus for a moment: not a loss.
    if (watched == m_presets && event->type() == QEvent::FocusOut
        && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        // A message the handler shows takes the focus once more.
        if (auto scope = m_focusLoss.TryEnter())
            Run([this] { return m_model.OnPresetKillFocus(); });
    }
    return QDialog::eventFilter(watched, event);
}

void COutputDeviceSettingsOffsetsDialogView::Run(const std::function<bool()>& handler)
{
    ReadDialogModel(m_model, this);
    // A name typed over the selected entry's leaves no entry selected.
    DialogControlState& presets = m_model.Control(Dialog::IDC_PRESET);
    if (presets.selection >= 0 && m_presets->currentText() != m_presets->itemText(presets.selection))
        presets.selection = -1;
    const bool checked = handler();
    ShowDialogModel(m_model, this);
    if (checked)
        return;
    FocusFailedControl(m_model, this);
}
