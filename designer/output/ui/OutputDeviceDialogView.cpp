#include "designer/output/ui/OutputDeviceDialogView.h"

#include "designer/controls/SelectiveComboBox.h"
#include "designer/controls/SelectiveEdit.h"
#include "designer/output/OutputDeviceManager.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/StringTable.h"
#include "platform/ui/qt/DialogBinder.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

using Dialog = COutputDeviceDialog;

QString DialogText(int control)
{
    return LoadResString(DialogTextId(Dialog::IDD, static_cast<UINT>(control)));
}

void SetNameRules(CSelectiveEdit& edit)
{
    edit.SetRefusedChars(Dialog::RefusedChars());
    edit.SetRefusedFirstChars(Dialog::RefusedFirstChars());
    edit.m_caseMode = 1;
    edit.m_maxLength = Dialog::kNameLimit;
}

QPushButton* MakeButton(QWidget* parent, int id)
{
    return NameDialogControl(new QPushButton(DialogText(id), parent), id);
}

// The label that names the field beside it; "Name:" stands twice.
QLabel* MakeLabel(QWidget* parent, UINT textControl, QWidget* buddy)
{
    auto* label = new QLabel(DialogText(static_cast<int>(textControl)), parent);
    label->setBuddy(buddy);
    return label;
}

constexpr UINT kNameLabel = 0xFF01;
constexpr UINT kTypeLabel = 0xFF02;

} // namespace

COutputDeviceDialogView::COutputDeviceDialogView(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(DialogText(0));

    auto* modeDefault =
        NameDialogControl(new QRadioButton(DialogText(Dialog::IDC_MODE_DEFAULT), this), Dialog::IDC_MODE_DEFAULT);
    auto* defaultName = NameDialogControl(new CSelectiveEdit(this), Dialog::IDC_DEFAULT_NAME);
    SetNameRules(*defaultName);
    auto* modeSelect =
        NameDialogControl(new QRadioButton(DialogText(Dialog::IDC_MODE_SELECT), this), Dialog::IDC_MODE_SELECT);
    auto* names = NameDialogControl(new CSelectiveComboBox(this), Dialog::IDC_NAME);
    SetNameRules(names->Edit());
    QPushButton* add = MakeButton(this, Dialog::IDC_ADD);
    QPushButton* del = MakeButton(this, Dialog::IDC_DEL);
    auto* types = NameDialogControl(new QComboBox(this), Dialog::IDC_TYPE);
    QPushButton* settings = MakeButton(this, Dialog::IDC_SETTINGS);

    const int nameWidth = defaultName->fontMetrics().averageCharWidth() * 14 + 12;
    defaultName->setFixedWidth(nameWidth);
    names->setFixedWidth(nameWidth + 20);
    types->setMinimumWidth(nameWidth + 20);

    auto* grid = new QGridLayout;
    grid->addWidget(modeDefault, 0, 0);
    grid->addWidget(MakeLabel(this, kNameLabel, defaultName), 0, 1);
    grid->addWidget(defaultName, 0, 2, Qt::AlignLeft);
    grid->addWidget(modeSelect, 1, 0);
    grid->addWidget(MakeLabel(this, kNameLabel, names), 1, 1);
    grid->addWidget(names, 1, 2, Qt::AlignLeft);
    grid->addWidget(add, 1, 3);
    grid->addWidget(del, 1, 4);
    grid->addWidget(MakeLabel(this, kTypeLabel, types), 2, 1);
    grid->addWidget(types, 2, 2, Qt::AlignLeft);
    grid->addWidget(settings, 2, 3);
    grid->setColumnStretch(2, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(DialogText(Dialog::IDC_OK), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(DialogText(Dialog::IDC_CANCEL), QDialogButtonBox::RejectRole);
    NameDialogControl(ok, Dialog::IDC_OK);
    NameDialogControl(cancel, Dialog::IDC_CANCEL);
    ok->setDefault(true);
    for (QPushButton* button : {add, del, settings})
        button->setAutoDefault(false);

    connect(buttons, &QDialogButtonBox::accepted, this, [this] { OnOK(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(modeDefault, &QRadioButton::clicked, this, [this] { Run(&Dialog::OnModeDefault); });
    connect(modeSelect, &QRadioButton::clicked, this, [this] { Run(&Dialog::OnModeSelect); });
    connect(names, &QComboBox::activated, this, [this] { Run(&Dialog::OnNameSelChange); });
    connect(types, &QComboBox::activated, this, [this] { Run(&Dialog::OnTypeSelChange); });
    connect(add, &QPushButton::clicked, this, [this] { Run(&Dialog::OnAdd); });
    connect(del, &QPushButton::clicked, this, [this] { Run(&Dialog::OnDel); });
    connect(settings, &QPushButton::clicked, this, [this] {
        ReadDialogModel(m_model, this);
        m_model.OnSettings(this);
        FocusFailedControl(m_model, this);
    });
    defaultName->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addWidget(buttons);

    m_model.SetControlsPushedHandler([this] { ShowDialogModel(m_model, this); });
}

COutputDeviceDialogView::~COutputDeviceDialogView()
{
    m_model.SetControlsPushedHandler({});
}

void COutputDeviceDialogView::showEvent(QShowEvent* event)
{
    if (!m_model.IsWindowCreated())
        m_model.OnInitDialog();
    QDialog::showEvent(event);
}

bool COutputDeviceDialogView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && m_model.IsWindowCreated()
        && watched == FindDialogControl(this, Dialog::IDC_DEFAULT_NAME))
        Run(&Dialog::OnDefaultNameKillFocus);
    return QDialog::eventFilter(watched, event);
}

void COutputDeviceDialogView::Run(void (COutputDeviceDialog::*action)())
{
    ReadDialogModel(m_model, this);
    (m_model.*action)();
    FocusFailedControl(m_model, this);
}

void COutputDeviceDialogView::OnOK()
{
    ReadDialogModel(m_model, this);
    if (m_model.OnOK()) {
        accept();
        return;
    }
    FocusFailedControl(m_model, this);
}

void InstallOutputDeviceDialog()
{
    SetOutputDeviceDialogRunner(
        [](QWidget* parent, COutputDeviceManager& manager, COutputDevice* current, COutputDevice*& chosen) {
            COutputDeviceDialogView dialog(parent);
            dialog.Model().SetManager(&manager);
            dialog.Model().SetSelectedDevice(current);
            if (dialog.exec() != QDialog::Accepted)
                return FALSE;
            chosen = dialog.Model().GetChosenDevice();
            return TRUE;
        });
}
