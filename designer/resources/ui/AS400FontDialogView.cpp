#include "designer/resources/ui/AS400FontDialogView.h"

#include "platform/ui/DialogTextId.h"
#include "platform/ui/StringTable.h"
#include "platform/ui/qt/DialogBinder.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

using Dialog = CAS400FontDialog;

QString DialogText(int control)
{
    return LoadResString(DialogTextId(Dialog::IDD, static_cast<UINT>(control)));
}

template <class Widget>
Widget* Make(QWidget* parent, int id, const QString& text = {})
{
    auto* widget = new Widget(text, parent);
    widget->setObjectName(QString::number(id));
    return widget;
}

QListWidget* MakeList(QWidget* parent, int id)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::number(id));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

} // namespace

CAS400FontDialogView::CAS400FontDialogView(QWidget* parent) : QDialog(parent)
{
    QListWidget* faces = MakeList(this, Dialog::IDC_TYPEFACE);
    QListWidget* styles = MakeList(this, Dialog::IDC_STYLE);
    QListWidget* sizes = MakeList(this, Dialog::IDC_SIZE);
    faces->setMinimumWidth(fontMetrics().averageCharWidth() * 24);
    sizes->setMaximumWidth(fontMetrics().averageCharWidth() * 10);

    auto* lists = new QGridLayout;
    const std::pair<int, QListWidget*> columns[] = {
        {Dialog::IDC_TYPEFACE, faces}, {Dialog::IDC_STYLE, styles}, {Dialog::IDC_SIZE, sizes}};
    int column = 0;
    for (const auto& [id, list] : columns) {
        auto* label = new QLabel(DialogText(id), this);
        label->setBuddy(list);
        lists->addWidget(label, 0, column);
        lists->addWidget(list, 1, column);
        ++column;
    }

    auto* sampleGroup = new QGroupBox(DialogText(Dialog::IDC_SAMPLE), this);
    m_sample = Make<QPushButton>(sampleGroup, Dialog::IDC_SAMPLE);
    m_sample->setFlat(true);
    m_sample->setFocusPolicy(Qt::NoFocus);
    m_sample->setMinimumSize(fontMetrics().averageCharWidth() * 28, 64);
    (new QVBoxLayout(sampleGroup))->addWidget(m_sample);

    auto* displayGroup = new QGroupBox(DialogText(0xFFFF), this);
    auto* documentFonts =
        Make<QRadioButton>(displayGroup, Dialog::IDC_DOCUMENT_FONTS, DialogText(Dialog::IDC_DOCUMENT_FONTS));
    auto* allFonts = Make<QRadioButton>(displayGroup, Dialog::IDC_ALL_FONTS, DialogText(Dialog::IDC_ALL_FONTS));
    auto* displayLayout = new QVBoxLayout(displayGroup);
    displayLayout->addWidget(documentFonts);
    displayLayout->addWidget(allFonts);

    auto* downloadable = Make<QCheckBox>(this, Dialog::IDC_DOWNLOADABLE, DialogText(Dialog::IDC_DOWNLOADABLE));
    auto* resident = Make<QCheckBox>(this, Dialog::IDC_PRINTER_RESIDENT, DialogText(Dialog::IDC_PRINTER_RESIDENT));
    for (QCheckBox* box : {downloadable, resident})
        box->setTristate(true);

    auto* counts = new QGridLayout;
    int row = 0;
    for (int id : {Dialog::IDC_FONTS_USED, Dialog::IDC_MAX_FONTS, Dialog::IDC_FONT_INDEX}) {
        counts->addWidget(new QLabel(DialogText(id), this), row, 0);
        auto* value = Make<QLabel>(this, id);
        value->setMinimumWidth(fontMetrics().averageCharWidth() * 4);
        counts->addWidget(value, row, 1);
        ++row;
    }
    counts->addWidget(downloadable, row++, 0, 1, 2);
    counts->addWidget(resident, row, 0, 1, 2);

    auto* buttons = new QVBoxLayout;
    auto addButton = [&](int id) {
        auto* button = Make<QPushButton>(this, id, DialogText(id));
        button->setAutoDefault(false);
        buttons->addWidget(button);
        return button;
    };
    QPushButton* ok = addButton(Dialog::IDC_OK);
    ok->setDefault(true);
    QPushButton* cancel = addButton(Dialog::IDC_CANCEL);
    buttons->addSpacing(8);
    QPushButton* dbcs = addButton(Dialog::IDC_DBCS);
    QPushButton* defaultFont = addButton(Dialog::IDC_DEFAULT_FONT);
    QPushButton* add = addButton(Dialog::IDC_ADD);
    QPushButton* remove = addButton(Dialog::IDC_REMOVE);
    QPushButton* edit = addButton(Dialog::IDC_EDIT);
    buttons->addStretch(1);

    auto* lower = new QHBoxLayout;
    lower->addWidget(sampleGroup, 1);
    lower->addWidget(displayGroup);
    lower->addLayout(counts);

    auto* left = new QVBoxLayout;
    left->addLayout(lists, 1);
    left->addLayout(lower);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    connect(faces, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_showing)
            m_model.OnSelectTypeface(row);
    });
    connect(styles, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_showing)
            m_model.OnSelectStyle(row);
    });
    connect(sizes, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_showing)
            m_model.OnSelectSize(row);
    });
    connect(documentFonts, &QRadioButton::clicked, this, [this] { m_model.OnDisplayChoice(Dialog::kDocumentFonts); });
    connect(allFonts, &QRadioButton::clicked, this, [this] { m_model.OnDisplayChoice(Dialog::kAllFonts); });
    connect(ok, &QPushButton::clicked, this, [this] {
        if (m_model.OnOK())
            accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(dbcs, &QPushButton::clicked, this, [this] { m_model.OnDbcsFont(); });
    connect(defaultFont, &QPushButton::clicked, this, [this] { m_model.OnDefaultFont(); });
    connect(add, &QPushButton::clicked, this, [this] { m_model.OnAdd(this); });
    connect(remove, &QPushButton::clicked, this, [this] { m_model.OnRemove(); });
    connect(edit, &QPushButton::clicked, this, [this] { m_model.OnEdit(this); });

    m_model.SetControlsChangedHandler([this] { ShowModel(); });
    m_model.SetSecondaryDialogRunner([this](CAS400FontDialog& secondary) {
        CAS400FontDialogView view(this);
        // The view's own model runs the second dialog: hand it the settings.
        CAS400FontDialog& model = view.Model();
        model.fontManager = secondary.fontManager;
        model.mode = secondary.mode;
        model.displayChoice = secondary.displayChoice;
        model.fontIndex = secondary.fontIndex;
        model.sampleText = secondary.sampleText;
        model.SetSecondaryFont(secondary.GetSecondaryFont());
        if (view.exec() != QDialog::Accepted)
            return false;
        secondary.SetSecondaryFont(model.GetSecondaryFont());
        return true;
    });
}

CAS400FontDialogView::~CAS400FontDialogView()
{
    m_model.SetControlsChangedHandler({});
    m_model.SetSecondaryDialogRunner({});
}

void CAS400FontDialogView::showEvent(QShowEvent* event)
{
    if (!m_initialised) {
        m_initialised = true;
        m_model.OnInitDialog();
        setWindowTitle(m_model.Title());
        ShowModel();
    }
    QDialog::showEvent(event);
}

void CAS400FontDialogView::ShowModel()
{
    m_showing = true;
    ShowDialogModel(m_model, this);
    if (QWidget* dbcs = FindDialogControl(this, Dialog::IDC_DBCS))
        dbcs->setVisible(m_model.IsDbcsButtonShown());
    m_sample->setText(m_model.sampleText);
    m_sample->setFont(m_model.SampleFont().value_or(font()));
    m_showing = false;
}
