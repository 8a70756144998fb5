#pragma once
// "Font": picks the font of one index of a page's font list from the
// document's fonts or the installed master fonts, and maintains the master
// fonts. Mode 1 picks the primary font and, for a double-byte document, the
// secondary one through a second dialog in mode 2. This is the dialog without
// its widgets; AS400FontDialogView shows it. The dialog owns no font: every
// pointer leads into the master list or the page's font list.

#include "platform/framework/Types.h"
#include "platform/ui/DialogModel.h"

#include <QFont>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class CAS400Font;
class CFontManager;
class QObject;

class CAS400FontDialog : public CDialogModel
{
public:
    enum {
        IDD = 123
    };

    enum ControlId : int {
        IDC_OK = 1,
        IDC_CANCEL = 2,
        IDC_ADD = 1113,
        IDC_FONTS_USED = 1132,
        IDC_MAX_FONTS = 1133,
        IDC_DEFAULT_FONT = 1134,
        IDC_EDIT = 1135,
        IDC_TYPEFACE = 1136,
        IDC_ALL_FONTS = 1137,
        IDC_DOCUMENT_FONTS = 1138,
        IDC_FONT_INDEX = 1139,
        IDC_REMOVE = 1140,
        IDC_SAMPLE = 1141,
        IDC_DBCS = 1143,
        IDC_SIZE = 1144,
        IDC_STYLE = 1145,
        IDC_DOWNLOADABLE = 1146,
        IDC_PRINTER_RESIDENT = 1147,
    };

    static constexpr BYTE kPrimaryMode = 1;
    static constexpr BYTE kSecondaryMode = 2;
    static constexpr int kDocumentFonts = 0;
    static constexpr int kAllFonts = 1;

    CAS400FontDialog();

    // Set by the caller before OnInitDialog.
    CFontManager* fontManager = nullptr;
    int fontIndex = 0;
    BYTE mode = kPrimaryMode;
    int displayChoice = kAllFonts;
    QString sampleText;

    CAS400Font* GetPrimaryFont() const { return m_primary; }
    CAS400Font* GetSecondaryFont() const { return m_secondary; }
    // The current font of a mode 2 dialog, set by the dialog that opens it.
    void SetSecondaryFont(CAS400Font* font) { m_secondary = font; }
    // The font the mode works on: primary in mode 1, secondary in mode 2.
    CAS400Font* GetCurrentFont() const { return mode == kSecondaryMode ? m_secondary : m_primary; }

    QString Title() const;
    bool IsDbcsButtonShown() const { return m_dbcsShown; }

    BOOL OnInitDialog();
    void FillFontList();
    // Selection changes of the three lists, by item (-1: none).
    void OnSelectTypeface(int item);
    void OnSelectStyle(int item);
    void OnSelectSize(int item);
    void SelectFont(CAS400Font* font);
    // Refuses a font of the other kind; FALSE when refused or unchanged.
    BOOL SetCurrentFont(CAS400Font* font);

    // The font of the selected size, or null.
    CAS400Font* GetSelectedSizeFont() const;
    const std::vector<CAS400Font*>& Candidates() const { return m_candidates; }
    // The flags of each style item and the font of each size item, in list
    // order.
    const std::vector<DWORD>& StyleFlags() const { return m_styleFlags; }
    const std::vector<CAS400Font*>& SizeFonts() const { return m_sizeFonts; }
    // The display font of the shown size, when there is one.
    const std::optional<QFont>& SampleFont() const { return m_sampleFont; }

    // True when the dialog ends with OK.
    bool OnOK();
    void OnDbcsFont();
    void OnDisplayChoice(int choice);
    void OnDefaultFont();
    void OnAdd(QObject* window = nullptr);
    void OnEdit(QObject* window = nullptr);
    void OnRemove();

    // Runs the mode 2 dialog the "DBCS Font" button opens; true on OK. The
    // view runs it modally; without one the button does nothing.
    void SetSecondaryDialogRunner(std::function<bool(CAS400FontDialog&)> runner) { m_runSecondary = std::move(runner); }
    // Called whenever the controls changed, so a view can show them.
    void SetControlsChangedHandler(std::function<void()> handler) { m_controlsChanged = std::move(handler); }

    // The text of a size item: the height in tenths rounded to points.
    static QString SizeText(DWORD height);

private:
    void ShowSelectedSize();
    void ClearSelection();
    void PushRadio();
    void Changed();
    void RefillAndSelect();

    CAS400Font* m_primary = nullptr;
    CAS400Font* m_secondary = nullptr;
    std::vector<CAS400Font*> m_candidates;
    std::vector<DWORD> m_styleFlags;
    std::vector<CAS400Font*> m_sizeFonts;
    std::optional<QFont> m_sampleFont;
    QString m_fontIndexText;
    bool m_dbcsShown = false;
    std::function<bool(CAS400FontDialog&)> m_runSecondary;
    std::function<void()> m_controlsChanged;
};
