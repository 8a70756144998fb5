#include "hostaccess/export/ExportSpooledFileDialogView.h"

#include "designer/controls/ACEdit.h"
#include "designer/controls/CCSIDComboBox.h"
#include "hostaccess/MerrowApp.h"
#include "hostaccess/export/ExportStrings.h"
#include "platform/registry/RegistryStore.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/StringTable.h"
#include "platform/ui/qt/DialogBinder.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using Dialog = CExportSpooledFileDialog;

struct Field
{
    int id;
    int maxChars;
    const char* history;
};

// In the order they stand in the dialog, which is also the order of the
// completions.
const Field kFields[] = {
    {Dialog::IDC_SYSTEM, 0, CMerrowApp::kHistorySystemName},
    {Dialog::IDC_OUTPUT_QUEUE, Dialog::kNameLimit, CMerrowApp::kHistoryOutputQueue},
    {Dialog::IDC_LIBRARY, Dialog::kNameLimit, CMerrowApp::kHistoryLibrary},
    {Dialog::IDC_FILE_NAME, Dialog::kNameLimit, CMerrowApp::kHistoryFileName},
    {Dialog::IDC_USER_DATA, Dialog::kNameLimit, CMerrowApp::kHistoryUserData},
};

QString DialogText(int control)
{
    return LoadResString(DialogTextId(Dialog::IDD, static_cast<UINT>(control)));
}

// The library's own key: its histories are not the designer's.
std::optional<kwvd::RegistryKey> LibraryKey()
{
    return kwvd::RegistryStore::Instance().CreateKey(kwvd::RegistryRoot::CurrentUser,
                                                     CMerrowApp::Instance().GetProfileKeyPath());
}

} // namespace

CExportSpooledFileDialogView::CExportSpooledFileDialogView(QWidget* parent) : QDialog(parent)
{
    RegisterExportStrings();
    setWindowTitle(DialogText(0));

    const std::optional<kwvd::RegistryKey> key = LibraryKey();
    auto* grid = new QGridLayout;
    int row = 0;
    for (const Field& field : kFields) {
        auto* edit = NameDialogControl(new QLineEdit(this), field.id);
        if (field.maxChars > 0)
            LimitTypedLength(edit, field.maxChars);
        edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * 24 + 12);
        auto* label = new QLabel(DialogText(field.id), this);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);

        auto* completion = new CACEdit(this);
        completion->Init(edit);
        if (key)
            completion->m_Liste.LoadSearchStrings(*key, QString::fromLatin1(field.history));
        m_completions[static_cast<size_t>(row)] = completion;
        ++row;
    }
    m_codePage = NameDialogControl(new CCSIDComboBox(this), Dialog::IDC_CODE_PAGE);
    m_codePage->setMinimumContentsLength(24);
    m_codePage->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    auto* codePageLabel = new QLabel(DialogText(Dialog::IDC_CODE_PAGE), this);
    codePageLabel->setBuddy(m_codePage);
    grid->addWidget(codePageLabel, row, 0);
    grid->addWidget(m_codePage, row, 1);

    auto* buttons = new QVBoxLayout;
    auto* ok = NameDialogControl(new QPushButton(DialogText(Dialog::IDC_OK), this), Dialog::IDC_OK);
    ok->setDefault(true);
    auto* cancel = NameDialogControl(new QPushButton(DialogText(Dialog::IDC_CANCEL), this), Dialog::IDC_CANCEL);
    cancel->setAutoDefault(false);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &CExportSpooledFileDialogView::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

CExportSpooledFileDialogView::~CExportSpooledFileDialogView()
{
    for (CACEdit* completion : m_completions)
        if (completion != nullptr)
            completion->m_Liste.SaveSearchStrings();
}

CACEdit* CExportSpooledFileDialogView::Completion(int controlId) const
{
    for (size_t i = 0; i < std::size(kFields); ++i)
        if (kFields[i].id == controlId)
            return m_completions[i];
    return nullptr;
}

void CExportSpooledFileDialogView::showEvent(QShowEvent* event)
{
    if (!m_initialised) {
        m_initialised = true;
        m_model.OnInitDialog();
        // A raw copy goes to the host as it stands: there is nothing to convert.
        if (m_model.IsCodePageEnabled()) {
            m_codePage->FillCCSIDs();
            // No row for it (0 among them): none selected, so the export
            // takes the system's own rather than the first row's.
            if (m_codePage->SelectCCSID(m_model.ccsid) < 0)
                m_codePage->setCurrentIndex(-1);
        }
        m_codePage->setEnabled(m_model.IsCodePageEnabled());
        Show();
    }
    QDialog::showEvent(event);
}

void CExportSpooledFileDialogView::Show()
{
    ShowDialogModel(m_model, this);
}

void CExportSpooledFileDialogView::OnOK()
{
    ReadDialogModel(m_model, this);
    if (m_model.IsCodePageEnabled())
        m_model.ccsid = m_codePage->SelectedCCSID();
    m_result = m_model.OnOK();
    Show();
    if (m_result == Dialog::OkResult::StayOpen) {
        FocusFailedControl(m_model, this);
        return;
    }
    const Dialog::HistoryEntries& entries = m_model.GetHistoryEntries();
    const QString* texts[] = {&entries.system, &entries.outputQueue, &entries.library, &entries.fileName,
                              &entries.userData};
    for (size_t i = 0; i < m_completions.size(); ++i)
        if (!texts[i]->isEmpty())
            m_completions[i]->m_Liste.AddSearchString(*texts[i]);
    accept();
}
