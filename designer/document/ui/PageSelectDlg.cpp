#include "designer/document/ui/PageSelectDlg.h"

#include "platform/ui/DialogModel.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/StringTable.h"
#include "platform/ui/qt/DialogBinder.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>
#include <optional>
#include <utility>

namespace {

PageSelectRunner g_runner = nullptr;

using Dlg = CPageSelectDlg;

constexpr StringTable::Entry kTexts[] = {
    {DialogTextId(Dlg::IDD, 0), "Goto Page"},
    {DialogTextId(Dlg::IDD, Dlg::IDC_PAGE), "Page:"},
    {DialogTextId(Dlg::IDD, Dlg::IDC_TOTAL), "Total Pages:"},
};

QString DialogText(UINT control)
{
    return LoadResString(DialogTextId(Dlg::IDD, control));
}

} // namespace

CPageSelectDlg::CPageSelectDlg(int page, int total, QWidget* parent)
    : QDialog(parent), m_totalPages(std::max(total, 1)), m_edit(new QLineEdit(this)), m_total(new QLabel(this))
{
    RegisterPageSelectTexts();
    setWindowTitle(DialogText(0));
    m_page = std::clamp(page, 1, m_totalPages);
    NameDialogControl(m_edit, IDC_PAGE);
    NameDialogControl(m_total, IDC_TOTAL);
    SetDigitsOnly(m_edit);
    m_edit->setText(QString::number(m_page));
    m_total->setText(QString::asprintf("%d", total));

    auto* form = new QFormLayout;
    form->addRow(DialogText(IDC_PAGE), m_edit);
    form->addRow(DialogText(IDC_TOTAL), m_total);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    connect(m_edit, &QLineEdit::textChanged, this, &CPageSelectDlg::OnPageChanged);
}

void CPageSelectDlg::OnPageChanged(const QString& text)
{
    // Digits only reach here: an empty edit reads as 0, a number too long
    // for an int lies past any total.
    const std::optional<int> typed = ParseDialogInt(text);
    const bool empty = text.trimmed().isEmpty();
    const int value = typed ? *typed : (empty ? 0 : std::numeric_limits<int>::max());
    m_page = std::clamp(value, 1, m_totalPages);
    // Set only when it differs, so the change it makes comes back equal.
    if (value != m_page || empty)
        m_edit->setText(QString::number(m_page));
}

void RegisterPageSelectTexts()
{
    StringTable::Add(kTexts);
}

int RunPageSelectDialog(int current, int total)
{
    if (g_runner != nullptr)
        return g_runner(current, total);
    CPageSelectDlg dialog(current, total);
    return dialog.exec() == QDialog::Accepted ? dialog.GetPage() : 0;
}

PageSelectRunner SetPageSelectRunner(PageSelectRunner runner)
{
    return std::exchange(g_runner, runner);
}
