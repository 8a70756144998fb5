#pragma once
// What the main frame needs of the explorer pane, the element property sheet
// and the find dialog. Those windows come with their own code; until it sets
// them the frame holds null and their commands stay disabled.

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
    virtual BOOL IsSender(const CObject* sender) const;
};

class IFindReplaceDialog
{
public:
    virtual ~IFindReplaceDialog();
    virtual QWidget* GetWidget() = 0;
    virtual void SetDocument(CDesignerDoc* doc) = 0;
    virtual void RebuildElementList() = 0;
};
