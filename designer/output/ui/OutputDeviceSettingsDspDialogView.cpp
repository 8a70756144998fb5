#include "designer/output/ui/OutputDeviceSettingsDspDialogView.h"

#include "designer/controls/SelectiveEdit.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/StringTable.h"
#include "platform/ui/qt/DialogBinder.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using Dialog = COutputDeviceSettingsDspDialog;

QString DialogText(int control)
{
    return LoadResString(DialogTextId(Dialog::IDD, static_cast<UINT>(control)));
}

// Host names: typed letters become capitals, and no more is typed than the
// field holds.
CSelectiveEdit* MakeHostEdit(QWidget* parent, int id, int maxChars)
{
    auto* edit = new CSelectiveEdit(parent);
    edit->setObjectName(QString::number(id));
    edit->m_caseMode = 1;
    LimitTypedLength(edit, maxChars);
    return edit;
}

// A field the user cannot change looks like one, on the window's colour.
void MakeShownOnly(QLineEdit* edit)
{
    edit->setReadOnly(true);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    edit->setPalette(palette);
}

// Room for about this many average characters, so a field's width hints at
// what it holds.
int WidthFor(const QWidget* widget, int chars)
{
    return widget->fontMetrics().averageCharWidth() * chars + 12;
}

} // namespace

COutputDeviceSettingsDspDialogView::COutputDeviceSettingsDspDialogView(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(DialogText(0));

    auto* name = new QLineEdit(this);
    name->setObjectName(QString::number(Dialog::IDC_NAME));
    MakeShownOnly(name);
    name->setFocusPolicy(Qt::NoFocus);
    CSelectiveEdit* document = MakeHostEdit(this, Dialog::IDC_DOCUMENT, Dialog::kDocumentLimit);
    CSelectiveEdit* folder = MakeHostEdit(this, Dialog::IDC_FOLDER, Dialog::kFolderLimit);
    CSelectiveEdit* target = MakeHostEdit(this, Dialog::IDC_TARGET_ADDRESS, Dialog::kTargetAddressLimit);
    CSelectiveEdit* pcPath = MakeHostEdit(this, Dialog::IDC_PC_PATH, Dialog::kPcPathLimit);
    auto* port = new QLineEdit(this);
    port->setObjectName(QString::number(Dialog::IDC_PORT));
    SetDigitsOnly(port);
    auto* rotation = new QComboBox(this);
    rotation->setObjectName(QString::number(Dialog::IDC_ROTATION));
    // The device's font group is not kept on saving; the export takes the
    // document's, so the field only shows it.
    CSelectiveEdit* fontGroup = MakeHostEdit(this, Dialog::IDC_FONT_GROUP, Dialog::kFontGroupLimit);
    MakeShownOnly(fontGroup);

    name->setFixedWidth(WidthFor(name, 12));
    document->setFixedWidth(WidthFor(document, 12));
    port->setFixedWidth(WidthFor(port, 6));
    rotation->setMinimumWidth(WidthFor(rotation, 12));
    fontGroup->setFixedWidth(WidthFor(fontGroup, 10));
    folder->setMinimumWidth(WidthFor(folder, 40));

    auto* grid = new QGridLayout;
    const std::pair<int, QWidget*> rows[] = {
        {Dialog::IDC_NAME, name},         {Dialog::IDC_DOCUMENT, document},
        {Dialog::IDC_FOLDER, folder},     {Dialog::IDC_TARGET_ADDRESS, target},
        {Dialog::IDC_PC_PATH, pcPath},    {Dialog::IDC_PORT, port},
        {Dialog::IDC_ROTATION, rotation}, {Dialog::IDC_FONT_GROUP, fontGroup},
    };
    int row = 0;
    for (const auto& [id, widget] : rows) {
        auto* label = new QLabel(DialogText(id), this);
        label->setBuddy(widget);
        grid->addWidget(label, row, 0);
        const bool wide = id == Dialog::IDC_FOLDER || id == Dialog::IDC_TARGET_ADDRESS || id == Dialog::IDC_PC_PATH;
        grid->addWidget(widget, row, 1, wide ? Qt::Alignment() : Qt::AlignLeft);
        ++row;
    }
    grid->setColumnStretch(1, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(DialogText(Dialog::IDC_OK), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(DialogText(Dialog::IDC_CANCEL), QDialogButtonBox::RejectRole);
    QPushButton* help = buttons->addButton(DialogText(Dialog::IDC_HELP), QDialogButtonBox::HelpRole);
    ok->setObjectName(QString::number(Dialog::IDC_OK));
    cancel->setObjectName(QString::number(Dialog::IDC_CANCEL));
    help->setObjectName(QString::number(Dialog::IDC_HELP));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { OnOK(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [this] { m_model.OnHelp(this); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addWidget(buttons);

    m_model.SetControlsPushedHandler([this] { ShowDialogModel(m_model, this); });
    // The rotation list before the first load, so the window's size fits it.
    ShowDialogModel(m_model, this);
}

COutputDeviceSettingsDspDialogView::~COutputDeviceSettingsDspDialogView()
{
    m_model.SetControlsPushedHandler({});
}

void COutputDeviceSettingsDspDialogView::showEvent(QShowEvent* event)
{
    if (!m_model.IsWindowCreated()) {
        m_model.OnInitDialog();
        if (QWidget* first = FindDialogControl(this, Dialog::IDC_DOCUMENT))
            first->setFocus(Qt::OtherFocusReason);
    }
    QDialog::showEvent(event);
}

void COutputDeviceSettingsDspDialogView::OnOK()
{
    ReadDialogModel(m_model, this);
    if (m_model.OnOK()) {
        accept();
        return;
    }
    FocusFailedControl(m_model, this);
}
