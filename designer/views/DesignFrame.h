#pragma once
// What the design panes need of the window that holds them. The panes never
// see the shell: its main frame implements this interface. Every window of
// later code (explorer, property sheet) may still be missing, so each call
// has a harmless answer for that case.

#include "platform/framework/Types.h"
#include "platform/framework/View.h"
#include "platform/registry/RegistryKey.h"

#include <QString>

#include <optional>

class CDesignerDoc;
class CFormElement;
class CObject;
class CDesignView;

// The drawing tools as the frame numbers them.
struct DrawingTool
{
    enum : int {
        Select = 0,
        SpooledFile = 1,
        Loop = 2,
        Conditional = 3,
        Image = 4,
        StaticText = 5,
        ExitParameter = 6,
        Variable = 7,
        Address = 8,
        Eraser = 9,
        Barcode = 10,
        XmlElement = 16,
        XmlAttribute = 26,
        XmlComment = 27,
    };
};

class IDesignFrame
{
public:
    virtual ~IDesignFrame();

    // The tool the user picked; read when the mouse button goes down.
    virtual int GetCurrentTool() const = 0;
    // Back to Select unless the Tool Lock is on.
    virtual void ResetToolUnlessLocked() = 0;

    // The explorer's selected element: the anchor for new elements. Null
    // while there is no explorer or nothing is selected there.
    virtual CFormElement* GetAnchorElement() const = 0;
    // The selection notice for the explorer (SelectionChanged and the other
    // hints the panes pass on); nothing while there is no explorer.
    virtual void NotifyExplorer(CObject* element, LPARAM hint) = 0;

    // The element property sheet: null-safe on the frame's side.
    virtual void SetPropertySheetElement(CFormElement* element) = 0;
    virtual BOOL IsPropertySheetShown() const = 0;
    // Shows the sheet (rebuilding its pages) when it is not shown yet.
    virtual void ShowPropertySheet() = 0;
    // Re-reads the pages of a shown sheet.
    virtual void RefreshPropertySheet() = 0;

    // Runs a command through the frame's route (Page Setup and the like);
    // FALSE when no one handles it.
    virtual BOOL ExecuteCommand(UINT id) = 0;

    // The subsection (such as "DestinationView") of the registry section the
    // workspace settings use now, created when asked; empty when it cannot
    // be made or opened.
    virtual std::optional<kwvd::RegistryKey> OpenLayoutKey(const QString& subsection, bool create) = 0;

    // The pane got the focus: its commands come first from now on.
    virtual void OnPaneActivated(CDesignView* pane) = 0;

    // The find dialog on the document, made on first use; nothing while the
    // program has none.
    virtual void ShowFindReplace(CDesignerDoc* doc);
};
