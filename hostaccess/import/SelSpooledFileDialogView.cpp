#include "hostaccess/import/SelSpooledFileDialogView.h"

#include "designer/controls/ACEdit.h"
#include "designer/controls/CCSIDComboBox.h"
#include "hostaccess/MerrowApp.h"
#include "hostaccess/MerrowStrings.h"
#include "platform/registry/RegistryStore.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/StringTable.h"
#include "platform/ui/qt/DialogBinder.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <optional>

namespace {

using Dialog = CSelSpooledFileDialog;

// The fields with a history, in the order of m_completions.
constexpr std::array<int, 5> kHistoryControls = {Dialog::IDC_SYSTEM, Dialog::IDC_OUTPUT_QUEUE, Dialog::IDC_LIBRARY,
                                                 Dialog::IDC_USER, Dialog::IDC_USER_DATA};

const char* HistoryKey(int controlId)
{
    switch (controlId) {
    case Dialog::IDC_SYSTEM:
        return CMerrowApp::kHistorySystemName;
    case Dialog::IDC_OUTPUT_QUEUE:
        return CMerrowApp::kHistoryOutputQueue;
    case Dialog::IDC_LIBRARY:
        return CMerrowApp::kHistoryLibrary;
    case Dialog::IDC_USER:
        return CMerrowApp::kHistoryUser;
    default:
        return CMerrowApp::kHistoryUserData;
    }
}

QString Text(int controlId)
{
    return LoadResString(DialogTextId(Dialog::IDD, static_cast<UINT>(controlId)));
}

// The row image: a sheet of listing paper with its lines.
QIcon SpooledFileIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(64, 64, 64));
    painter.setBrush(QColor(255, 255, 240));
    painter.drawRect(2, 1, 11, 13);
    painter.setPen(QColor(0, 96, 160));
    for (int y = 4; y <= 11; y += 3)
        painter.drawLine(4, y, 11, y);
    return QIcon(pixmap);
}

} // namespace

CSelSpooledFileDialogView::CSelSpooledFileDialogView(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(Text(0));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);

    const auto label = [this](int id) { return new QLabel(Text(id), this); };
    const auto edit = [this](int id, int limit) {
        auto* field = NameDialogControl(new QLineEdit(this), id);
        LimitTypedLength(field, limit);
        return field;
    };
    const auto digits = [&](int id) {
        QLineEdit* field = edit(id, 4);
        SetDigitsOnly(field);
        return field;
    };
    const auto shown = [this](int id) {
        auto* field = NameDialogControl(new QLineEdit(this), id);
        field->setReadOnly(true);
        return field;
    };

    grid->addWidget(label(Dialog::IDC_SYSTEM), 0, 0);
    grid->addWidget(edit(Dialog::IDC_SYSTEM, 0), 0, 1);
    grid->addWidget(label(Dialog::IDC_USER_ID), 0, 2);
    grid->addWidget(shown(Dialog::IDC_USER_ID), 0, 3);
    grid->addWidget(label(Dialog::IDC_OUTPUT_QUEUE), 1, 0);
    grid->addWidget(edit(Dialog::IDC_OUTPUT_QUEUE, Dialog::kNameLimit), 1, 1);
    grid->addWidget(label(Dialog::IDC_LIBRARY), 1, 2);
    grid->addWidget(edit(Dialog::IDC_LIBRARY, Dialog::kNameLimit), 1, 3);
    grid->addWidget(label(Dialog::IDC_USER), 2, 0);
    grid->addWidget(edit(Dialog::IDC_USER, Dialog::kNameLimit), 2, 1);
    grid->addWidget(label(Dialog::IDC_USER_DATA), 2, 2);
    grid->addWidget(edit(Dialog::IDC_USER_DATA, Dialog::kUserDataLimit), 2, 3);
    grid->addWidget(label(Dialog::IDC_FIRST_PAGE), 3, 0);
    grid->addWidget(digits(Dialog::IDC_FIRST_PAGE), 3, 1);
    grid->addWidget(label(Dialog::IDC_MAXIMUM_PAGES), 3, 2);
    grid->addWidget(digits(Dialog::IDC_MAXIMUM_PAGES), 3, 3);
    grid->addWidget(label(Dialog::IDC_CODE_PAGE), 4, 0);
    m_codePage = NameDialogControl(new CCSIDComboBox(this), Dialog::IDC_CODE_PAGE);
    grid->addWidget(m_codePage, 4, 1, 1, 3);

    m_list = NameDialogControl(new QTreeWidget(this), Dialog::IDC_LIST);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setAllColumnsShowFocus(true);
    m_list->setIconSize(QSize(16, 16));
    QStringList captions;
    for (UINT id = IDS_MERROW_COLUMN_FILE; id <= IDS_MERROW_COLUMN_TIME; ++id)
        captions << LoadResString(id);
    m_list->setHeaderLabels(captions);
    m_list->header()->setSectionsClickable(true);
    m_list->header()->setSortIndicatorShown(false);
    m_list->header()->setStretchLastSection(false);
    for (int column = 0; column < Dialog::kColumnCount; ++column)
        m_list->setColumnWidth(column, Dialog::kColumnWidths[static_cast<std::size_t>(column)]);
    m_list->setMinimumSize(520, 200);
    layout->addWidget(m_list, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(label(Dialog::IDC_TOTAL_FILES));
    auto* total = shown(Dialog::IDC_TOTAL_FILES);
    total->setMaximumWidth(60);
    bottom->addWidget(total);
    bottom->addStretch(1);
    auto* refresh = NameDialogControl(new QPushButton(Text(Dialog::IDC_REFRESH), this), Dialog::IDC_REFRESH);
    bottom->addWidget(refresh);
    auto* ok = NameDialogControl(new QPushButton(Text(Dialog::IDC_OK), this), Dialog::IDC_OK);
    ok->setDefault(true);
    bottom->addWidget(ok);
    auto* cancel = NameDialogControl(new QPushButton(Text(Dialog::IDC_CANCEL), this), Dialog::IDC_CANCEL);
    bottom->addWidget(cancel);
    layout->addLayout(bottom);

    connect(refresh, &QPushButton::clicked, this, &CSelSpooledFileDialogView::OnRefresh);
    connect(ok, &QPushButton::clicked, this, &CSelSpooledFileDialogView::OnOK);
    connect(cancel, &QPushButton::clicked, this, &CSelSpooledFileDialogView::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (item != nullptr && item->isSelected())
            OnOK();
    });
    connect(m_list->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        m_model.SortByColumn(column);
        FillList();
    });

    const std::optional<kwvd::RegistryKey> key = kwvd::RegistryStore::Instance().CreateKey(
        kwvd::RegistryRoot::CurrentUser, CMerrowApp::Instance().GetProfileKeyPath());
    for (std::size_t i = 0; i < kHistoryControls.size(); ++i) {
        auto* completion = new CACEdit(this);
        completion->Init(FindDialogControl(this, kHistoryControls[i]));
        if (key)
            completion->m_Liste.LoadSearchStrings(*key, QString::fromLatin1(HistoryKey(kHistoryControls[i])));
        m_completions[i] = completion;
    }
}

CSelSpooledFileDialogView::~CSelSpooledFileDialogView()
{
    for (CACEdit* completion : m_completions)
        if (completion != nullptr)
            completion->m_Liste.SaveSearchStrings();
}

CACEdit* CSelSpooledFileDialogView::Completion(int controlId) const
{
    for (std::size_t i = 0; i < kHistoryControls.size(); ++i)
        if (kHistoryControls[i] == controlId)
            return m_completions[i];
    return nullptr;
}

void CSelSpooledFileDialogView::showEvent(QShowEvent* event)
{
    if (!m_initialised) {
        m_initialised = true;
        m_model.OnInitDialog();
        m_codePage->FillCCSIDs();
        // 0 (the system's own) is no item of the box: nothing is selected.
        if (m_codePage->SelectCCSID(m_model.ccsid) < 0)
            m_codePage->setCurrentIndex(-1);
        Show();
    }
    QDialog::showEvent(event);
}

void CSelSpooledFileDialogView::Show()
{
    ShowDialogModel(m_model, this);
    FillList();
}

void CSelSpooledFileDialogView::FillList()
{
    static const QIcon icon = SpooledFileIcon();
    m_list->clear();
    for (const CSelSpooledFileDialog::Row& row : m_model.Rows()) {
        auto* item = new QTreeWidgetItem(m_list);
        item->setIcon(0, icon);
        for (int column = 0; column < Dialog::kColumnCount; ++column)
            item->setText(column, row.texts[static_cast<std::size_t>(column)]);
        item->setData(0, Qt::UserRole, QVariant::fromValue<qulonglong>(row.hostIndex));
    }
}

void CSelSpooledFileDialogView::OnRefresh()
{
    if (!UpdateData(m_model, this, true))
        return;
    m_model.RefreshList();
    Show();
}

void CSelSpooledFileDialogView::OnOK()
{
    if (!UpdateData(m_model, this, true))
        return;
    QTreeWidgetItem* current = m_list->currentItem();
    const int row = current != nullptr && current->isSelected() ? m_list->indexOfTopLevelItem(current) : -1;
    m_model.OnOK(row, m_codePage->SelectedCCSID());
    ShowDialogModel(m_model, this);
    for (std::size_t i = 0; i < kHistoryControls.size(); ++i)
        m_completions[i]->m_Liste.AddSearchString(m_model.HistoryEntries()[i]);
    accept();
}

void CSelSpooledFileDialogView::reject()
{
    // The entry point hands back what the user typed, checked or not.
    ReadDialogModel(m_model, this);
    m_model.TakeTypedFilter();
    QDialog::reject();
}
