#include "designer/document/ui/SplfDtaDlg.h"

#include "designer/document/SpooledFile.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/StringTable.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

constexpr const char* kLabels[CSplfDtaDlg::FieldCount] = {
    "Output Queue:", "Library:",   "File Name:",       "User:",          "User Data:", "Date:", "Time:",
    "Total Pages:",  "DBCS Data:", "DBCS Extensions:", "Character Set:",
};

QString DialogText(UINT control)
{
    return LoadResString(DialogTextId(CSplfDtaDlg::IDD, control));
}

void ShowSpooledFileData(const SpooledFileIdentity& identity)
{
    CSplfDtaDlg dialog(&identity);
    dialog.exec();
}

} // namespace

CSplfDtaDlg::CSplfDtaDlg(const SpooledFileIdentity* identity, QWidget* parent) : QDialog(parent)
{
    RegisterSplfDtaDlgStrings();
    setWindowTitle(DialogText(0));
    QString values[FieldCount];
    if (identity != nullptr) {
        values[OutputQueue] = identity->GetOutputQueue();
        values[Library] = identity->GetOutputQueueLibrary();
        values[FileName] = identity->GetFileName();
        values[User] = identity->GetUserName();
        values[UserData] = identity->GetUserData();
        values[Date] = identity->GetDate();
        values[Time] = identity->GetTime();
        values[TotalPages] = identity->GetTotalPages();
        values[DbcsData] = identity->GetDbcsData();
        values[DbcsExtensions] = identity->GetDbcsExtensions();
        values[CharacterSet] = identity->GetCharSet();
    }

    auto* form = new QFormLayout;
    for (int i = 0; i < FieldCount; ++i) {
        auto* edit = new QLineEdit(values[i], this);
        edit->setReadOnly(true);
        m_edits[static_cast<size_t>(i)] = edit;
        form->addRow(DialogText(kFirstLabel + UINT(i)), edit);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void RegisterSplfDtaDlgStrings()
{
    StringTable::Add(DialogTextId(CSplfDtaDlg::IDD, 0), QStringLiteral("Spooled File Data"));
    for (UINT i = 0; i < UINT(CSplfDtaDlg::FieldCount); ++i)
        StringTable::Add(DialogTextId(CSplfDtaDlg::IDD, CSplfDtaDlg::kFirstLabel + i), QString::fromUtf8(kLabels[i]));
}

void InstallSpooledFileDataViewer()
{
    RegisterSplfDtaDlgStrings();
    SetSpooledFileDataViewer(&ShowSpooledFileData);
}
