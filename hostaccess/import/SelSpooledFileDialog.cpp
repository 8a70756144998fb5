#include "hostaccess/import/SelSpooledFileDialog.h"

#include "hostaccess/MerrowStrings.h"
#include "hostaccess/import/ImportStrings.h"
#include "hostaccess/import/SpooledFileImport.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/WaitCursor.h"

#include <QLocale>

#include <algorithm>
#include <climits>
#include <iterator>
#include <list>

namespace {

// The attribute each column sorts by.
constexpr std::array<cwbOBJ_KeyID, CSelSpooledFileDialog::kColumnCount> kColumnKeys = {
    kSplfAttributeFile, kSplfAttributeUser, kSplfAttributeUserData, kSplfAttributeTotalPages,
    kSplfAttributeDate, kSplfAttributeTime};
constexpr int kPagesColumn = 3;

// Releases an object handle when it goes.
class ObjectHandleScope
{
public:
    ObjectHandleScope(CAS400& as400, cwbOBJ_ObjHandle handle) : m_as400(as400), m_handle(handle) {}
    ~ObjectHandleScope()
    {
        if (m_handle != 0)
            m_as400.DeleteObjectHandle(m_handle);
    }
    ObjectHandleScope(const ObjectHandleScope&) = delete;
    ObjectHandleScope& operator=(const ObjectHandleScope&) = delete;

    cwbOBJ_ObjHandle Get() const { return m_handle; }

private:
    CAS400& m_as400;
    cwbOBJ_ObjHandle m_handle;
};

} // namespace

CSelSpooledFileDialog::CSelSpooledFileDialog()
{
    RegisterImportStrings();
    BindText(IDC_SYSTEM, &system);
    BindText(IDC_OUTPUT_QUEUE, &outputQueue, kNameLimit);
    BindText(IDC_LIBRARY, &library, kNameLimit);
    BindInt(IDC_FIRST_PAGE, &firstPage, kPagesMinimum, kPagesMaximum);
    BindInt(IDC_MAXIMUM_PAGES, &maximumPages, kPagesMinimum, kPagesMaximum);
    BindText(IDC_USER, &user, kNameLimit);
    BindText(IDC_USER_DATA, &userData, kUserDataLimit);
}

CSelSpooledFileDialog::~CSelSpooledFileDialog()
{
    if (m_chosenObject != 0)
        m_as400.DeleteObjectHandle(m_chosenObject);
    CloseHostList();
}

void CSelSpooledFileDialog::OnInitDialog()
{
    m_dateSettings = SpooledDateSettingsFromLocale(QLocale());
    m_as400.GetUserId(system, userId);
    Control(IDC_USER_ID).text = userId;
    Control(IDC_TOTAL_FILES).text = QString::number(totalFiles);
    Push();
}

void CSelSpooledFileDialog::CloseHostList()
{
    if (m_list == 0)
        return;
    m_as400.CloseList(m_list);
    m_as400.DeleteListHandle(m_list);
    m_list = 0;
}

void CSelSpooledFileDialog::RefreshList()
{
    CWaitCursor wait;
    CloseHostList();
    m_rows.clear();
    m_as400.GetUserId(system, userId);
    totalFiles = 0;

    m_list = m_as400.CreateListHandle(system);
    if (m_list != 0
        && m_as400.SetListFilter(m_list, outputQueue, library, user.isEmpty() ? QStringLiteral("*ALL") : user,
                                 userData)
        && m_as400.OpenList(m_list)) {
        const unsigned long size = m_as400.GetListSize(m_list);
        totalFiles = static_cast<int>(std::min<unsigned long>(size, INT_MAX));
        if (size == 0)
            AfxMessageBox(IDS_MERROW_NO_SPOOLED_FILES);
        for (unsigned long index = 0; index < size; ++index) {
            ObjectHandleScope object(m_as400, m_as400.GetObjectHandle(m_list, index));
            if (object.Get() == 0)
                break;
            AddRow(object.Get(), index);
        }
    }
    // A new list is in the host's order, whatever the column clicked before.
    m_sortColumn = -1;
    m_sortAscending = true;
    Control(IDC_USER_ID).text = userId;
    Control(IDC_TOTAL_FILES).text = QString::number(totalFiles);
    Push();
}

bool CSelSpooledFileDialog::AddRow(cwbOBJ_ObjHandle object, unsigned long hostIndex)
{
    SpooledFileIdentity identity;
    if (!ReadSpooledFileAttributes(m_as400, object, identity, m_dateSettings))
        return false;
    Row row;
    row.hostIndex = hostIndex;
    row.texts = {identity.GetFileName(), identity.GetUserName(), identity.GetUserData(),
                 identity.GetTotalPages(), identity.GetDate(), identity.GetTime()};
    m_rows.push_back(std::move(row));
    return true;
}

int CSelSpooledFileDialog::CompareRows(unsigned long firstIndex, unsigned long secondIndex, int column) const
{
    if (m_list == 0 || column < 0 || column >= kColumnCount)
        return 0;
    ObjectHandleScope first(m_as400, m_as400.GetObjectHandle(m_list, firstIndex));
    ObjectHandleScope second(m_as400, m_as400.GetObjectHandle(m_list, secondIndex));
    if (first.Get() == 0 || second.Get() == 0)
        return 0;
    QString a;
    QString b;
    const cwbOBJ_KeyID key = kColumnKeys[static_cast<std::size_t>(column)];
    if (!m_as400.GetObjectAttribute(first.Get(), key, a) || !m_as400.GetObjectAttribute(second.Get(), key, b))
        return 0;
    int result = 0;
    if (column == kPagesColumn) {
        const long long x = a.toLongLong();
        const long long y = b.toLongLong();
        result = x < y ? -1 : (x > y ? 1 : 0);
    } else {
        // Byte order of the host's text: the date and time sort as CYYMMDD
        // and HHMMSS.
        const QByteArray x = a.toLatin1();
        const QByteArray y = b.toLatin1();
        result = x < y ? -1 : (y < x ? 1 : 0);
    }
    return m_sortAscending ? result : -result;
}

void CSelSpooledFileDialog::SortByColumn(int column)
{
    if (column < 0 || column >= kColumnCount)
        return;
    if (column == m_sortColumn) {
        m_sortAscending = !m_sortAscending;
    } else {
        m_sortColumn = column;
        m_sortAscending = true;
    }
    // The host is asked again at every comparison, so two answers need not
    // agree: a list's merge sort stays within bounds whatever they say.
    std::list<Row> rows(std::make_move_iterator(m_rows.begin()), std::make_move_iterator(m_rows.end()));
    rows.sort([this, column](const Row& a, const Row& b) { return CompareRows(a.hostIndex, b.hostIndex, column) < 0; });
    m_rows.assign(std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
}

void CSelSpooledFileDialog::OnOK(int selectedRow, int selectedCcsid)
{
    if (m_chosenObject != 0) {
        m_as400.DeleteObjectHandle(m_chosenObject);
        m_chosenObject = 0;
    }
    if (m_list != 0 && selectedRow >= 0 && static_cast<std::size_t>(selectedRow) < m_rows.size())
        m_chosenObject = m_as400.GetObjectHandle(m_list, m_rows[static_cast<std::size_t>(selectedRow)].hostIndex);
    if (selectedCcsid != 0)
        ccsid = selectedCcsid;
    library = library.toUpper();
    Push();
}

void CSelSpooledFileDialog::TakeTypedFilter()
{
    outputQueue = Control(IDC_OUTPUT_QUEUE).text;
    library = Control(IDC_LIBRARY).text;
    user = Control(IDC_USER).text;
    userData = Control(IDC_USER_DATA).text;
}
