#pragma once
// The model of one device settings page, without its widgets: the state of
// its controls by id, the members bound to them with their checks, and the
// contract every page keeps with its sheet. The page edits the device it is
// given (the sheet's working copy, never owned), fills its controls from it
// and stores back through the device's checking setters on OK.
//
// A page adds its bindings and control set-up in its constructor and
// overrides ReadDevice, WriteDevice and EnableControls; its view
// (COutputDevicePropPageView) maps the ids to widgets and forwards events.

#include "designer/output/OutputClasses.h"
#include "platform/ui/DialogModel.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <initializer_list>
#include <vector>

class COutputDevice;

class COutputDevicePropPage : public CDialogModel
{
public:
    // An up-down control attached to its number edit, as the view makes it.
    struct UpDown
    {
        int id;
        int buddyId;
        int minimum;
        int maximum;
    };

    ~COutputDevicePropPage() override;

    UINT GetDialogId() const { return m_dialogId; }
    // The dialog's caption and the label of one of its controls.
    QString GetTitle() const;
    QString GetLabel(int controlId) const;

    bool AcceptsType(int type) const;
    COutputDevice* GetDevice() const { return device; }
    // Takes a non-null device of an accepted type other than the current
    // one; with the window open, the controls are reloaded at once.
    void SetDevice(COutputDevice* newDevice);

    // The window: the view attaches a call that shows the controls' state.
    void AttachWindow(std::function<void()> showControls);
    void DetachWindow();
    bool HasWindow() const { return static_cast<bool>(m_showControls); }

    // The window was made: load, set up the controls, enable. TRUE.
    virtual BOOL OnInitDialog();
    // The page became the active one of its sheet.
    virtual void OnSetActive() {}

    // Nothing without a device.
    void LoadFromDevice();
    // Validation first; FALSE when it fails or there is no device, else
    // whether any setter reported a change.
    BOOL SaveToDevice();
    virtual void OnOK();
    // The sheet's OK for this page: FALSE keeps the sheet open on it.
    virtual BOOL OnApply();
    virtual void EnableControls() = 0;

    // Members to controls (false) or controls to members with the checks
    // (true); false after a failure, which has been reported.
    bool UpdateData(bool saveAndValidate);

    const std::vector<UpDown>& GetUpDowns() const { return m_upDowns; }

    // The control to focus after the page refused to be left or applied:
    // the one a check of the page's own named, else the data exchange's.
    int RefusedControl() const { return m_refusedControl != 0 ? m_refusedControl : FailedControl(); }

protected:
    COutputDevicePropPage(UINT dialogId, std::initializer_list<int> acceptedTypes);

    // The page's values from the device into the members.
    virtual void ReadDevice(COutputDevice& source) = 0;
    // Every setter of the page, in its order; TRUE when any changed a value.
    virtual BOOL WriteDevice(COutputDevice& target) = 0;
    // Around the data exchange, for members that are not one control's.
    virtual void BeforePush() {}
    virtual void AfterPull() {}

    // An edit of whole numbers in the range with its up-down control, which
    // wraps at its ends.
    void BindIntWithUpDown(int editId, int upDownId, int* member, int minimum, int maximum);
    void EnableControl(int id, bool enabled) { Control(id).enabled = enabled; }

    // Every result is evaluated, in order, before any is looked at.
    static BOOL AnyChanged(std::initializer_list<BOOL> results);

    // A check of the page's own failed on this control; cleared by the
    // next pull.
    void SetRefusedControl(int id) { m_refusedControl = id; }

    COutputDevice* device = nullptr;

    // A drop-down list whose member is the text of its entry: the entry
    // equal to the text is selected, none when there is none; no selection
    // reads back as an empty text.
    void BindListText(int id, QString* member);
    // A list's entries, the dialog's own data, kept apart from its label.
    static constexpr int kListItemsBase = kDeviceListItemsBase;
    QStringList GetListItems(int controlId) const;

    // The rotation list of the pages other than *SCS: "Portrait" for 0,
    // "Landscape" for 1, "*DOC" for anything else, and back through the
    // device's rotation setter.
    static QStringList PortraitLandscapeTexts();
    static QString PortraitLandscapeText(int rotation);
    static BOOL StorePortraitLandscape(COutputDevice& target, const QString& text);

    // A format list closed: the controls are read, then the extension
    // member follows the format member ("PDF" for PDF, "TXT" for a text
    // format while it is still "PDF") and is shown. Exact comparisons unless
    // the page asks otherwise.
    void FollowFormat(const QString& format, QString& extension, Qt::CaseSensitivity cs = Qt::CaseSensitive);

    // The store a control that others depend on causes when it changes:
    // the device's values back at once, so the page shows what the setters
    // kept. False when reading the controls failed (reported).
    bool StoreAndReload();

private:
    UINT m_dialogId;
    std::vector<int> m_acceptedTypes;
    std::vector<UpDown> m_upDowns;
    std::function<void()> m_showControls;
    int m_refusedControl = 0;

    struct ListText
    {
        int id;
        QString* member;
        int* selection;
    };
    std::vector<ListText> m_listTexts;
    std::deque<int> m_listSelections;
};
