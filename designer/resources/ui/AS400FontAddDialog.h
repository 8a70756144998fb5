#pragma once
// "Add Font" / "Edit Font": the host and display attributes of one font. In
// add mode it makes new master fonts ("&Add" keeps the dialog open for more),
// in edit mode it changes a master font in place on OK. Its context menu
// imports and exports font exchange files. This is the dialog without its
// widgets; AS400FontAddDialogView shows it.

#include "platform/framework/Types.h"
#include "platform/ui/DialogModel.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class CAS400Font;
class CFontManager;

class CAS400FontAddDialog : public CDialogModel
{
public:
    enum {
        IDD = 124
    };

    enum ControlId : int {
        IDC_OK = 1,
        IDC_CANCEL = 2,
        IDC_ADD = 1114,
        IDC_BOLD = 1115,
        IDC_CHARSET_NAME = 1116,
        IDC_CHARACTER_ID = 1117,
        IDC_CODED_FONT_NAME = 1118,
        IDC_CODE_PAGE_NAME = 1119,
        IDC_CODE_PAGE_ID = 1120,
        IDC_STYLE = 1121,
        IDC_FGID = 1122,
        IDC_HEIGHT = 1123,
        IDC_ITALIC = 1124,
        IDC_LIBRARY = 1125,
        IDC_FAMILY_NAME = 1126,
        IDC_DBCS = 1127,
        IDC_STRIKEOUT = 1129,
        IDC_UNDERLINE = 1130,
        IDC_WIDTH = 1131,
    };

    // The context menu's commands.
    enum Command : int {
        ID_FONT_EXPORT = 32795,
        ID_FONT_IMPORT = 32796,
    };

    static constexpr int kNameLimit = 8;
    static constexpr int kLibraryLimit = 10;
    static constexpr DWORD kNumberMax = 99999;

    CAS400FontAddDialog();
    ~CAS400FontAddDialog() override;

    // Set by the caller before OnInitDialog.
    CFontManager* fontManager = nullptr;
    // The font to edit, or the one whose values start an add; after OK in add
    // mode the font added (null when none was).
    CAS400Font* font = nullptr;
    BOOL editMode = FALSE;
    // A font was added or changed.
    BOOL changed = FALSE;

    QString Title() const;
    bool IsAddButtonShown() const { return !editMode; }

    BOOL OnInitDialog();
    // Members into the controls, 0 shown empty, then the enabling by DBCS.
    void ShowValues();
    // Controls into the members, an empty number read as 0; false after the
    // framework's message.
    bool ReadValues();

    void OnDbcs();
    void OnAdd();
    // True when the dialog ends with OK.
    bool OnOK();
    // The context menu's file commands, offered again until they succeed or
    // the user cancels.
    void OnImport();
    void OnExport();

    // The style list, index x 16 is the family.
    static QStringList StyleTexts();
    // "Font Exchange Files" (*.fef) and "All Files" (*.*).
    static QString ExchangeFileFilter();

    int bold = 0;
    QString charSetName;
    int italic = 0;
    QString familyName;
    int strikeout = 0;
    int underline = 0;
    UINT fgid = 0;
    QString library;
    UINT codePageId = 0;
    UINT characterId = 0;
    UINT width = 0;
    UINT height = 0;
    int styleIndex = 0;
    QString codePageName;
    QString codedFontName;
    int dbcs = 0;

private:
    // The first failing rule's message, then false.
    bool ValidateFont() const;
    // A new font of the values, or null after a validation message.
    std::unique_ptr<CAS400Font> MakeFont() const;
    void TakeFrom(const CAS400Font& from);
    void EnableByDbcs();
    BOOL ApplyTo(CAS400Font& target) const;
};
