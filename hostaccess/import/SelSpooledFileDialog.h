#pragma once
// "Select Spooled File": lists the spooled files of an output queue on a
// host, filtered by user and user data, sorts them by any column, and takes
// the file to import with its page range and code page. The host list stays
// open while the dialog lives, so that the chosen row can be turned back
// into a host object; the list and the chosen object are released when the
// dialog goes, after the entry point has read them. This is the dialog
// without its widgets; CSelSpooledFileDialogView shows it.

#include "hostaccess/AS400.h"
#include "hostaccess/import/SpooledDateFormat.h"
#include "platform/clientaccess/SpooledFiles.h"
#include "platform/ui/DialogModel.h"

#include <QString>

#include <array>
#include <vector>

class CSelSpooledFileDialog : public CDialogModel
{
public:
    enum {
        IDD = 10102
    };

    enum ControlId : int {
        IDC_OK = 1,
        IDC_CANCEL = 2,
        IDC_CODE_PAGE = 11006,
        IDC_TOTAL_FILES = 11007,
        IDC_FIRST_PAGE = 11008,
        IDC_LIBRARY = 11009,
        IDC_LIST = 11010,
        IDC_MAXIMUM_PAGES = 11011,
        IDC_OUTPUT_QUEUE = 11012,
        IDC_REFRESH = 11013,
        IDC_SYSTEM = 11014,
        IDC_USER = 11015,
        IDC_USER_DATA = 11016,
        IDC_USER_ID = 11017,
    };

    static constexpr int kNameLimit = 10;
    static constexpr int kUserDataLimit = 12;
    static constexpr int kPagesMinimum = 1;
    static constexpr int kPagesMaximum = 9999;
    static constexpr int kColumnCount = 6;
    // File, User, User Data, Pages, Date; Time as wide as Date.
    static constexpr std::array<int, kColumnCount> kColumnWidths = {100, 80, 100, 60, 80, 80};

    struct Row
    {
        unsigned long hostIndex = 0;
        std::array<QString, kColumnCount> texts; // file, user, user data, pages, date, time
    };

    CSelSpooledFileDialog();
    ~CSelSpooledFileDialog() override;

    CSelSpooledFileDialog(const CSelSpooledFileDialog&) = delete;
    CSelSpooledFileDialog& operator=(const CSelSpooledFileDialog&) = delete;

    // The fields, preset by the entry point and read after OK.
    QString system;
    QString outputQueue;
    QString library;
    QString user;
    QString userData;
    int firstPage = 1;
    int maximumPages = 10;
    // 0: the system's own; the import puts the CCSID it used here.
    int ccsid = 0;
    // Shown only.
    int totalFiles = 0;
    QString userId;

    // The PC's date order and separators, the user ID, the fields.
    void OnInitDialog();
    // The fields were read: a new host list in place of the old one, one
    // row per spooled file; message 10118 when there is none.
    void RefreshList();
    // Sorts by a column: a new column ascending, the same again reversed.
    void SortByColumn(int column);
    // selectedRow: the list row chosen, -1 for none; selectedCcsid: the
    // code-page box's, 0 for none. The fields were read before.
    void OnOK(int selectedRow, int selectedCcsid);

    // The order of two rows by a column, from the host's attributes read now:
    // below 0, 0 or above 0, negated when descending; 0 when either cannot
    // be read.
    int CompareRows(unsigned long firstIndex, unsigned long secondIndex, int column) const;

    // After Cancel: the filter fields take what their controls hold, as typed.
    void TakeTypedFilter();

    const std::vector<Row>& Rows() const { return m_rows; }
    int SortColumn() const { return m_sortColumn; }
    bool SortAscending() const { return m_sortAscending; }

    // The spooled file chosen by OK, 0 when none; the dialog keeps it.
    cwbOBJ_ObjHandle GetChosenObject() const { return m_chosenObject; }
    CAS400& Host() { return m_as400; }
    const SpooledDateSettings& GetDateSettings() const { return m_dateSettings; }

    // What OK adds to the histories: system, output queue, library, user and
    // user data.
    std::array<QString, 5> HistoryEntries() const { return {system, outputQueue, library, user, userData}; }

private:
    void CloseHostList();
    bool AddRow(cwbOBJ_ObjHandle object, unsigned long hostIndex);

    mutable CAS400 m_as400;
    cwbOBJ_ListHandle m_list = 0;
    cwbOBJ_ObjHandle m_chosenObject = 0;
    std::vector<Row> m_rows;
    int m_sortColumn = -1;
    bool m_sortAscending = true;
    SpooledDateSettings m_dateSettings;
};
