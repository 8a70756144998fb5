#pragma once
// What the main frame needs of the explorer pane, the element property sheet
// and the find dialog. Those windows live beside the panes and never see the
// shell; until the program sets them the frame holds null and their commands
// stay disabled.

#include "platform/framework/Types.h"
#include "platform/framework/View.h"

#include <QString>

class CCmdTarget;
class CDesignerDoc;
class CFormElement;
class CObject;
class QWidget;

class IExplorerPane
{
public:
    virtual ~IExplorerPane();
    // The pane's window, put into the frame's explorer dock.
    virtual QWidget* GetWidget() = 0;
    virtual void SetDocument(CDesignerDoc* doc) = 0;
    virtual void OnDocumentHint(CObject* object, LPARAM hint) = 0;
    virtual void OnChangeVisualStyle() = 0;
    // Offered every command first while the pane has the keyboard focus.
    virtual CCmdTarget* GetCmdTarget() = 0;
    // TRUE when a change notice with this sender came from the pane, which
    // then needs no telling.
    virtual BOOL IsSender(const CObject* sender) const;
    // The element selected in the pane: the anchor under which the panes
    // create new elements. Null when none.
    virtual CFormElement* GetSelectedElement() const;
};

class IElementPropertySheet
{
public:
    virtual ~IElementPropertySheet();
    // The sheet's top-level window (parent the frame), hidden at first.
    virtual QWidget* GetWidget() = 0;
    virtual void SetElement(CFormElement* element) = 0;
    virtual void RebuildPages() = 0;
    virtual void RefreshPages() = 0;
    // An index beyond the last page activates the last page.
    virtual void SetActivePageIndex(int index) = 0;
    // Shown: the flag set, the pages rebuilt and the window shown when it
    // was not; hidden: the flag cleared and the window hidden.
    virtual void ShowSheet() = 0;
    virtual void HideSheet() = 0;
    virtual BOOL IsShown() const = 0;
    // The document removed the element (hint 247): a sheet on it, or on an
    // element inside it, takes no element.
    virtual void OnElementRemoved(CFormElement* removed) = 0;
    virtual BOOL IsSender(const CObject* sender) const;
};

class IFindReplaceDialog
{
public:
    virtual ~IFindReplaceDialog();
    virtual QWidget* GetWidget() = 0;
    virtual void SetDocument(CDesignerDoc* doc) = 0;
    virtual void RebuildElementList() = 0;
    // Every change notice of the document, before the element it names
    // leaves the document: the dialog never keeps a removed element.
    virtual void OnDocumentHint(LPARAM hint, CObject* object) = 0;
};
