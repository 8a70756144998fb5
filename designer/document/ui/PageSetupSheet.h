#pragma once
// The "Page Setup" sheet: six pages in the list look (Size, Output, Page,
// Conditional, Language, Information) over a PageSetupValues the document
// filled. The pages edit those values only; the document applies them after
// OK (CDesignerDoc::ApplyPageSetup), so Cancel changes nothing. Each page
// checks its entries with the framework's data exchange as it is left and
// on OK; a page never shown keeps the values it was given.

#include "designer/controls/NavigationSheet.h"
#include "designer/controls/NavigationSheetPage.h"
#include "designer/document/PageSetup.h"
#include "platform/ui/DialogModel.h"
#include "platform/ui/DialogTextId.h"

#include <functional>

class CFontManager;
class QLineEdit;
class CUpDownControl;

// One page of the sheet: a dialog model bound to the values, and its view,
// made the first time the page is shown. Its title is the string
// DialogTextId(dialog, 0), each label DialogTextId(dialog, control); a
// group or text without a control of its own is numbered from 0xFF01.
class CPageSetupPage : public CNavigationSheetPage
{
public:
    explicit CPageSetupPage(UINT dialogId);
    ~CPageSetupPage() override;

    UINT GetDialogId() const { return m_dialogId; }
    QString Title() const override;
    QWidget* CreateView(QWidget* parent) override;
    bool OnKillActive() override { return Read(); }
    bool OnApply() override { return Read(); }

    // Null until the page was first shown.
    QWidget* View() const { return m_view; }
    CDialogModel& Model() { return m_model; }

protected:
    // The page's controls under view, bound to the model.
    virtual void Build(QWidget* view) = 0;
    // Around the data exchange, for values that are not one control's.
    virtual void BeforePush() {}
    virtual void AfterPull() {}
    // Which controls are enabled, from the values.
    virtual void EnableControls() {}

    // The controls into the values; false after a failed check, reported,
    // with the focus on the control.
    bool Read();
    // The values into the controls.
    void Show();

    // Controls named with their ids.
    QLineEdit* Edit(QWidget* view, int id, int maxChars);
    QLineEdit* NumberEdit(QWidget* view, int id);
    // An up-down that wraps at its ends and sets its buddy.
    CUpDownControl* UpDown(QWidget* view, int id, QLineEdit* buddy, int minimum, int maximum);

    // The page's text for the control, as the string table has it now.
    QString Text(UINT control) const;

    CDialogModel m_model;

private:
    UINT m_dialogId;
    QWidget* m_view = nullptr;
};

class CPageSizePropPage : public CPageSetupPage
{
public:
    enum {
        IDD = 162
    };
    enum ControlId : int {
        IDC_WIDTH = 1377,
        IDC_HEIGHT = 1372,
        IDC_PORTRAIT = 1376,
        IDC_LANDSCAPE = 1373,
        IDC_BORDER = 1368,
        IDC_BORDER_SPIN = 1369,
        IDC_CPI = 1370,
        IDC_CPI_SPIN = 1371,
        IDC_LPI = 1374,
        IDC_LPI_SPIN = 1375,
        IDC_ORIENTATION_GROUP = 0xFF01,
        IDC_WIDTH_UNIT = 0xFF02,
        IDC_HEIGHT_UNIT = 0xFF03,
        IDC_BORDER_UNIT = 0xFF04,
    };
    explicit CPageSizePropPage(PageSizeValues& values);

    // A click on either orientation button: the page is read and, when the
    // orientation changed, width and height change places.
    void OnOrientationClicked();

protected:
    void Build(QWidget* view) override;
    void BeforePush() override;
    void AfterPull() override;

private:
    PageSizeValues& m_values;
    int m_portrait = 1;
    int m_landscape = 0;
};

class CPageOutputPropPage : public CPageSetupPage
{
public:
    enum {
        IDD = 159
    };
    enum ControlId : int {
        IDC_NAME = 1358,
        IDC_TYPE = 1359,
        IDC_DEVICE_GROUP = 0xFF01,
    };
    explicit CPageOutputPropPage(PageOutputValues& values);

protected:
    void Build(QWidget* view) override;
    void BeforePush() override;
    void AfterPull() override;

private:
    PageOutputValues& m_values;
    int m_position = 0;
};

class CPagePagePropPage : public CPageSetupPage
{
public:
    enum {
        IDD = 160
    };
    enum ControlId : int {
        IDC_DESCRIPTION = 1360,
        IDC_PRINTER_RESOURCE = 1364,
        IDC_FROM = 1361,
        IDC_FROM_SPIN = 1362,
        IDC_TO = 1365,
        IDC_TO_SPIN = 1366,
        IDC_IGNORE_FIRST = 1363,
        IDC_PAGES_GROUP = 0xFF01,
    };
    explicit CPagePagePropPage(PageHeaderValues& values);

protected:
    void Build(QWidget* view) override;

private:
    PageHeaderValues& m_values;
};

class CPageCondPropPage : public CPageSetupPage
{
public:
    enum {
        IDD = 157
    };
    enum ControlId : int {
        IDC_COMPARE_TYPE = 1347,
        IDC_MODE_TEXT = 1345,
        IDC_MODE_POSITION = 1344,
        IDC_TEXT = 1341,
        IDC_AND_POSITION = 1346,
        IDC_COLUMN = 1339,
        IDC_COLUMN_SPIN = 1340,
        IDC_WIDTH = 1348,
        IDC_WIDTH_SPIN = 1349,
        IDC_LINE = 1342,
        IDC_LINE_SPIN = 1343,
        IDC_FIRST_PAGE_GROUP = 0xFF01,
    };
    explicit CPageCondPropPage(PageHeaderValues& values);

    // Either mode button or "And position": the page is read, the mode's
    // rules applied and the values shown again.
    void OnModeClicked();

protected:
    void Build(QWidget* view) override;
    void BeforePush() override;
    void AfterPull() override;
    void EnableControls() override;

private:
    PageHeaderValues& m_values;
    int m_textChecked = 0;
    int m_positionChecked = 0;
};

class CPageLanguagePropPage : public CPageSetupPage
{
public:
    enum {
        IDD = 158
    };
    enum ControlId : int {
        IDC_GROUP_NAME = 1354,
        IDC_GROUP_DESCRIPTION = 1355,
        IDC_DEFAULT_FONT = 1352,
        IDC_CHOOSE_FONT = 1353,
        IDC_PRINTER_RESIDENT = 1357,
        IDC_SERVER_CODE_PAGE = 1356,
        IDC_CODE_PAGE = 1350,
        IDC_CHAR_SET = 1351,
        IDC_FONT_GROUP = 0xFF01,
        IDC_DEFAULT_FONT_GROUP = 0xFF02,
        IDC_DEFAULTS_GROUP = 0xFF03,
    };
    // fonts runs the default font's dialog; null leaves "..." disabled.
    CPageLanguagePropPage(PageLanguageValues& values, CFontManager* fonts);

    // "...": the font dialog for the default font; the pair chosen is kept
    // for OK and its description shown.
    void OnChooseFont();

protected:
    void Build(QWidget* view) override;
    void BeforePush() override;
    void AfterPull() override;

private:
    PageLanguageValues& m_values;
    CFontManager* m_fonts;
    int m_charSetIndex = -1;
};

class CPageInfoPropPage : public CPageSetupPage
{
public:
    enum {
        IDD = 414
    };
    enum ControlId : int {
        IDC_BUILD_ID = 1491,
        IDC_UPLOAD_TIME = 1492,
        IDC_UPLOAD_PATH = 1493,
    };
    explicit CPageInfoPropPage(const PageInfoValues& values);

protected:
    void Build(QWidget* view) override;

private:
    const PageInfoValues& m_values;
};

// The sheet with its six pages over values; fonts serves the Language
// page's "...".
class CPageSetupSheet : public CNavigationSheet
{
public:
    // The sheet has no dialog of its own: its caption is kept with the
    // texts of its first page.
    static constexpr UINT IDS_CAPTION = DialogTextId(CPageSizePropPage::IDD, 0xFFFF);

    CPageSetupSheet(PageSetupValues& values, CFontManager* fonts, QWidget* parent = nullptr);
};

// Adds the UK English texts of the sheet and its pages to the string table;
// harmless again.
void RegisterPageSetupTexts();

// Runs the sheet modally; true after OK. The designer's Page Setup command
// goes through it; tests put a scripted run in its place.
using PageSetupSheetRunner = std::function<bool(PageSetupValues& values, CFontManager* fonts)>;
bool RunPageSetupSheet(PageSetupValues& values, CFontManager* fonts);
// Returns the runner replaced; an empty runner puts back the modal sheet.
PageSetupSheetRunner SetPageSetupSheetRunner(PageSetupSheetRunner runner);
