#include "designer/resources/ui/AS400FontAddDialogView.h"

#include "designer/controls/SelectiveEdit.h"
#include "designer/resources/fonts/FontManager.h"
#include "designer/resources/fonts/FontStrings.h"
#include "designer/resources/ui/AS400FontDialogView.h"
#include "designer/resources/ui/FontDialogTexts.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/StringTable.h"
#include "platform/ui/qt/DialogBinder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using Dialog = CAS400FontAddDialog;

QString DialogText(int control)
{
    return LoadResString(DialogTextId(Dialog::IDD, static_cast<UINT>(control)));
}

QLineEdit* MakeEdit(QWidget* parent, int id, int maxChars, bool hostName)
{
    auto* edit = new CSelectiveEdit(parent);
    edit->setObjectName(QString::number(id));
    if (hostName)
        edit->m_caseMode = 1;
    if (maxChars > 0)
        LimitTypedLength(edit, maxChars);
    const int chars = maxChars > 0 ? maxChars + 2 : 24;
    edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * chars + 12);
    return edit;
}

QLineEdit* MakeNumber(QWidget* parent, int id)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::number(id));
    SetDigitsOnly(edit);
    edit->setMaximumWidth(edit->fontMetrics().averageCharWidth() * 9 + 12);
    return edit;
}

QCheckBox* MakeCheck(QWidget* parent, int id)
{
    auto* box = new QCheckBox(DialogText(id), parent);
    box->setObjectName(QString::number(id));
    return box;
}

// A group of labelled rows.
QGroupBox* MakeGroup(QWidget* parent, int textId, std::initializer_list<std::pair<int, QWidget*>> rows)
{
    auto* group = new QGroupBox(DialogText(textId), parent);
    auto* grid = new QGridLayout(group);
    int row = 0;
    for (const auto& [id, widget] : rows) {
        widget->setParent(group);
        if (qobject_cast<QCheckBox*>(widget) != nullptr) {
            grid->addWidget(widget, row, 0, 1, 2);
        } else {
            auto* label = new QLabel(DialogText(id), group);
            label->setBuddy(widget);
            grid->addWidget(label, row, 0);
            grid->addWidget(widget, row, 1);
        }
        ++row;
    }
    return group;
}

} // namespace

CAS400FontAddDialogView::CAS400FontAddDialogView(QWidget* parent) : QDialog(parent)
{
    QGroupBox* general =
        MakeGroup(this, 0xFFF0,
                  {{Dialog::IDC_FAMILY_NAME, MakeEdit(this, Dialog::IDC_FAMILY_NAME, 0, false)},
                   {Dialog::IDC_LIBRARY, MakeEdit(this, Dialog::IDC_LIBRARY, Dialog::kLibraryLimit, true)},
                   {Dialog::IDC_DBCS, MakeCheck(this, Dialog::IDC_DBCS)}});
    QGroupBox* downloadable =
        MakeGroup(this, 0xFFF1,
                  {{Dialog::IDC_CHARSET_NAME, MakeEdit(this, Dialog::IDC_CHARSET_NAME, Dialog::kNameLimit, true)},
                   {Dialog::IDC_CODED_FONT_NAME, MakeEdit(this, Dialog::IDC_CODED_FONT_NAME, Dialog::kNameLimit, true)},
                   {Dialog::IDC_CODE_PAGE_NAME, MakeEdit(this, Dialog::IDC_CODE_PAGE_NAME, Dialog::kNameLimit, true)}});
    auto* style = new QComboBox(this);
    style->setObjectName(QString::number(Dialog::IDC_STYLE));
    QGroupBox* attributes = MakeGroup(this, 0xFFF3,
                                      {{Dialog::IDC_BOLD, MakeCheck(this, Dialog::IDC_BOLD)},
                                       {Dialog::IDC_ITALIC, MakeCheck(this, Dialog::IDC_ITALIC)},
                                       {Dialog::IDC_UNDERLINE, MakeCheck(this, Dialog::IDC_UNDERLINE)},
                                       {Dialog::IDC_STRIKEOUT, MakeCheck(this, Dialog::IDC_STRIKEOUT)}});
    QGroupBox* emulation = MakeGroup(
        this, 0xFFF2, {{Dialog::IDC_HEIGHT, MakeNumber(this, Dialog::IDC_HEIGHT)}, {Dialog::IDC_STYLE, style}});
    emulation->layout()->addWidget(attributes);
    QGroupBox* resident = MakeGroup(this, 0xFFF4,
                                    {{Dialog::IDC_FGID, MakeNumber(this, Dialog::IDC_FGID)},
                                     {Dialog::IDC_CHARACTER_ID, MakeNumber(this, Dialog::IDC_CHARACTER_ID)},
                                     {Dialog::IDC_CODE_PAGE_ID, MakeNumber(this, Dialog::IDC_CODE_PAGE_ID)},
                                     {Dialog::IDC_WIDTH, MakeNumber(this, Dialog::IDC_WIDTH)}});

    auto* buttons = new QVBoxLayout;
    auto addButton = [&](int id) {
        auto* button = new QPushButton(DialogText(id), this);
        button->setObjectName(QString::number(id));
        button->setAutoDefault(false);
        buttons->addWidget(button);
        return button;
    };
    QPushButton* ok = addButton(Dialog::IDC_OK);
    ok->setDefault(true);
    QPushButton* cancel = addButton(Dialog::IDC_CANCEL);
    QPushButton* add = addButton(Dialog::IDC_ADD);
    buttons->addStretch(1);

    auto* grid = new QGridLayout;
    grid->addWidget(general, 0, 0);
    grid->addWidget(downloadable, 1, 0);
    grid->addWidget(emulation, 0, 1, 2, 1);
    grid->addWidget(resident, 2, 0, 1, 2);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, [this] {
        Read();
        if (m_model.OnOK()) {
            accept();
            return;
        }
        Show();
        FocusFailed();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(add, &QPushButton::clicked, this, [this] {
        Read();
        m_model.OnAdd();
        Show();
        FocusFailed();
    });
    if (auto* dbcs = qobject_cast<QCheckBox*>(FindDialogControl(this, Dialog::IDC_DBCS))) {
        connect(dbcs, &QCheckBox::clicked, this, [this] {
            Read();
            m_model.OnDbcs();
            Show();
        });
    }
    ShowDialogModel(m_model, this);
}

CAS400FontAddDialogView::~CAS400FontAddDialogView() = default;

void CAS400FontAddDialogView::showEvent(QShowEvent* event)
{
    if (!m_initialised) {
        m_initialised = true;
        m_model.OnInitDialog();
        setWindowTitle(m_model.Title());
        if (QWidget* add = FindDialogControl(this, Dialog::IDC_ADD))
            add->setVisible(m_model.IsAddButtonShown());
        Show();
    }
    QDialog::showEvent(event);
}

void CAS400FontAddDialogView::Show()
{
    ShowDialogModel(m_model, this);
}

void CAS400FontAddDialogView::Read()
{
    ReadDialogModel(m_model, this);
}

void CAS400FontAddDialogView::FocusFailed()
{
    FocusFailedControl(m_model, this);
}

QMenu* CAS400FontAddDialogView::ContextMenu()
{
    if (m_menu == nullptr) {
        m_menu = new QMenu(this);
        m_menu->addAction(DialogText(Dialog::ID_FONT_IMPORT), this, [this] { m_model.OnImport(); });
        m_menu->addAction(DialogText(Dialog::ID_FONT_EXPORT), this, [this] { m_model.OnExport(); });
    }
    return m_menu;
}

void CAS400FontAddDialogView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        ContextMenu()->popup(event->globalPosition().toPoint());
        return;
    }
    QDialog::mouseDoubleClickEvent(event);
}

void InstallFontDialogs()
{
    RegisterFontStrings();
    RegisterFontDialogTexts();
    SetFontDialogRunner([](CFontManager& manager, FontDialogRun& run) -> BOOL {
        CAS400FontDialogView view;
        CAS400FontDialog& model = view.Model();
        model.fontManager = &manager;
        model.fontIndex = run.index;
        model.displayChoice = run.listChoice;
        model.sampleText = run.sampleText;
        if (view.exec() != QDialog::Accepted)
            return FALSE;
        run.primary = model.GetPrimaryFont();
        run.secondary = model.GetSecondaryFont();
        run.listChoice = model.displayChoice;
        return TRUE;
    });
    SetFontAddDialogRunner([](CFontManager& manager, CAS400Font*& font, BOOL editMode, QObject* parent) -> BOOL {
        CAS400FontAddDialogView view(qobject_cast<QWidget*>(parent));
        CAS400FontAddDialog& model = view.Model();
        model.fontManager = &manager;
        model.font = font;
        model.editMode = editMode;
        // Cancel after "&Add" still reports the fonts added.
        view.exec();
        if (!editMode)
            font = model.font;
        return model.changed;
    });
}
