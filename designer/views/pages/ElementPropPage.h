#pragma once
// The model of one element property page, without its widgets: the page
// record it edits (owned), the state of its controls by id and the table
// that says, for each editing control, the notification it answers and the
// group of the record it applies. Every handler follows one protocol: pull
// the controls into the record, clamp where the page says, open a change
// transaction on the element's document, let the element apply the group,
// refresh from the element only when it reported a change, close the
// transaction (also on an exception). Handlers run on user edits only; the
// view forwards them and shows the state afterwards.

#include "designer/elements/ElementPages.h"
#include "platform/ui/DialogModel.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class CFontManager;

class CElementPropertySheet;
class CFormElement;

// The notifications a page's control sends.
enum class PageNotification {
    None,
    Change,     // EN_CHANGE: at every keystroke
    KillFocus,  // EN_KILLFOCUS: on leaving the field
    Clicked,    // BN_CLICKED
    SelChange,  // CBN_SELCHANGE
    CloseUp,    // CBN_CLOSEUP: the drop-down list closed
    EditUpdate, // CBN_EDITUPDATE: a combo box's typed text is about to show
};

// One row of a page's control table.
struct PageControl
{
    int id;
    PageNotification notification;
    DWORD group;
    int upDownId = 0; // the up-down attached to a number edit, or 0
    bool number = false;
};

class CElementPropPage : public CDialogModel
{
public:
    ~CElementPropPage() override;

    UINT GetDialogId() const { return m_dialogId; }
    QString GetTitle() const;
    QString GetLabel(int controlId) const;

    CElementPageRecord* GetRecord() const { return m_record.get(); }
    CFormElement* GetElement() const { return m_record ? m_record->GetElement() : nullptr; }
    CElementPropertySheet* GetSheet() const { return m_sheet; }
    void SetSheet(CElementPropertySheet* sheet) { m_sheet = sheet; }

    const std::vector<PageControl>& GetControlTable() const { return m_table; }
    const PageControl* FindPageControl(int id) const;
    // The row of the control that answers the notification; a control may
    // answer several.
    const PageControl* FindPageControl(int id, PageNotification notification) const;

    // The window: the view attaches a call that shows the controls' state.
    void AttachWindow(std::function<void()> showControls);
    void DetachWindow();
    bool HasWindow() const { return static_cast<bool>(m_showControls); }

    // The view was made and is about to be shown for the first time.
    virtual BOOL OnInitDialog();
    // The page became the active page of its sheet.
    virtual void OnSetActive();
    // "WM_UPDATE_DATA": re-read the element, result 1.
    int OnUpdateData();
    // "WM_SETPAGEFOCUS": when the page or its sheet is the active window,
    // the id of the control to focus (0 for none) after a refresh;
    // otherwise nothing and the focus stays where it is.
    virtual std::optional<int> OnSetPageFocus(bool pageOrSheetActive);

    // A notification of a control as the user made it.
    void OnControlNotify(int id, PageNotification notification);

    // Pull, let the element update the record, push when it copied
    // anything, then what the data exchange does not cover.
    virtual void RefreshPage();

    // Controls to members with the checks (true) or members to controls
    // (false); false after a failure, which has been reported.
    bool UpdateData(bool saveAndValidate);

protected:
    CElementPropPage(UINT dialogId, std::unique_ptr<CElementPageRecord> record, std::vector<PageControl> table);

    // Labels, titles and enabled states, after every refresh.
    virtual void UpdateControls() {}
    // The limit of a number field, or nothing when it is not clamped.
    virtual std::optional<int> UpperLimit(int /*id*/) const { return std::nullopt; }
    // Whether the handler reads the controls first; the page's own step
    // before the transaction (what the control sets without a pull).
    virtual bool PullsBeforeApply(const PageControl& /*control*/) const { return true; }
    virtual void BeforeApply(const PageControl& /*control*/) {}
    // After the element took (or refused) the group of the control.
    virtual void AfterApply(const PageControl& /*control*/, BOOL /*changed*/) {}

    // An edit of whole numbers; the checks are the element's setters'.
    void BindNumber(int id, int* member);
    void ShowControls();

    // The handler of a control of the table: the write-back protocol. A
    // page with steps of its own overrides it and uses the two halves.
    virtual void RunHandler(const PageControl& control);
    // Controls into the record, a number above its limit cut and pushed
    // back; false after a failure, which has been reported.
    bool PullControls(const PageControl& control);
    // One change transaction in which the element applies the control's
    // group; the page refreshes when it reported a change. A failure is
    // reported once the transaction is closed.
    BOOL ApplyGroup(const PageControl& control);
    // The font dialog with the sample (empty: none to show) on the page's
    // font index, the sheet held open meanwhile; the element applies the
    // control's group only when the dialog chose another index.
    void RunFontButton(const PageControl& control, const QString& sample, int& fontIndex, CFontManager* fonts);

private:
    // A number edit left empty takes the member's value again.
    void RestoreEmptyNumbers();
    bool IsEmptyNumber(const PageControl& control) const;
    int* NumberMember(int id) const;

    UINT m_dialogId;
    std::unique_ptr<CElementPageRecord> m_record;
    std::vector<PageControl> m_table;
    std::vector<std::pair<int, int*>> m_numbers;
    CElementPropertySheet* m_sheet = nullptr;
    std::function<void()> m_showControls;
};
