#pragma once
// The Options sheet: a modal navigation sheet with the General, Directories,
// Server and Language pages, which edit copies of the preferences. Fill
// copies the preferences into the pages (and the colours into
// ElementColourTable(), the no-print border inverted); WriteBack stores
// them, with the range rules, after OK. Anything but OK changes nothing.

#include "designer/controls/NavigationSheet.h"
#include "platform/framework/Types.h"

class CDesignerDoc;
class COptionsAS400PropPage;
class COptionsDirectoryPropPage;
class COptionsGeneralPropPage;
class COptionsLanguagePropPage;
class CPreferences;
class IExplorerPane;

class COptionsSheet : public CNavigationSheet
{
public:
    static constexpr UINT IDS_OPTIONS = 328;

    explicit COptionsSheet(QWidget* parent = nullptr);
    ~COptionsSheet() override;

    // The pages, which the sheet owns.
    COptionsGeneralPropPage& General() const { return *m_general; }
    COptionsDirectoryPropPage& Directories() const { return *m_directories; }
    COptionsAS400PropPage& Server() const { return *m_server; }
    COptionsLanguagePropPage& Language() const { return *m_language; }

    void Fill(const CPreferences& preferences);
    // Runs the sheet; true on OK.
    bool DoModal();
    // After OK: the pages' values into the preferences; a new documents
    // folder also becomes lastDocumentFolder. True when a colour changed.
    bool WriteBack(CPreferences& preferences, QString& lastDocumentFolder) const;

    // After a colour change: the document's elements re-read their colours,
    // and, outside a change transaction, its views and the explorer redraw.
    static void ApplyColourChange(CDesignerDoc* doc, IExplorerPane* explorer);

private:
    COptionsGeneralPropPage* m_general = nullptr;
    COptionsDirectoryPropPage* m_directories = nullptr;
    COptionsAS400PropPage* m_server = nullptr;
    COptionsLanguagePropPage* m_language = nullptr;
    // The no-print border as the sheet was given it, inverted.
    COLORREF m_invertedBorder = 0;
};

// The sheet's texts in the string table; harmless again.
void RegisterOptionsStrings();
