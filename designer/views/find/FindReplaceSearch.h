#pragma once
// The search of find and replace, without widgets: the document's elements
// in tree order (each top-level element followed by its descendants, depth
// first), a walk over a copy of that list or, once the user chose to start
// again, of the document's element list, and the element last found.
//
// Nothing here is owned but the lists. The search never touches an element
// the document no longer lists: the hints of the document (OnDocumentHint)
// drop or rebuild what could name a removed element, and every step checks
// the document still holds the element before it asks it anything.
//
// A hit becomes the selection of the whole designer: the document's views
// get SelectionChanged without a sender, then the explorer and the property
// sheet through the frame (which may be null). The question at the end of
// the elements goes through the prompt service.

#include "platform/framework/Types.h"
#include "platform/framework/View.h"

#include <QString>

#include <cstddef>
#include <vector>

class CDesignerDoc;
class CFormElement;
class CObject;
class IDesignFrame;

class CFindReplaceSearch
{
public:
    explicit CFindReplaceSearch(IDesignFrame* frame = nullptr);

    // A new document: no list and no current element until the next rebuild.
    void SetDocument(CDesignerDoc* doc);
    CDesignerDoc* GetDocument() const { return m_pDocument; }

    // The tree-order list made again from the document; the walk starts at
    // its head. Without a document the list is empty.
    void RebuildElementList();
    // What a document hint means for the list and the current element.
    void OnDocumentHint(LPARAM hint, CObject* object);

    // Each does nothing with an empty find text. FindNext: TRUE on a hit,
    // which becomes the current element. Replace: the current element's
    // texts replaced (one change transaction), then FindNext. ReplaceAll:
    // every element of the walk from the current one (or the first hit) to
    // its end that holds the text, once each, then the question: Yes does
    // the same over the document's element list, No ends it. Returns the
    // number of elements changed.
    BOOL FindNext(const QString& find);
    BOOL Replace(const QString& find, const QString& replace);
    int ReplaceAll(const QString& find, const QString& replace);

    CFormElement* GetCurrentElement() const { return m_pCurrent; }
    BOOL HasElementList() const { return m_hasList; }
    const std::vector<CFormElement*>& GetElementList() const { return m_list; }

private:
    void Rebuild(const CFormElement* without);
    void AddElementDeep(CFormElement* element, const CFormElement* without);
    void DropElementList();
    // Yes to the question: the walk goes over the document's element list.
    BOOL AskStartAgain();
    void StartDocumentOrderWalk();
    BOOL IsListed(const CFormElement* element) const;
    void SelectHit(CFormElement* element);
    // Replaces in each listed element of the list that holds the text.
    int ReplaceInEach(const std::vector<CFormElement*>& elements, const QString& find, const QString& replace);

    IDesignFrame* m_pFrame = nullptr;
    CDesignerDoc* m_pDocument = nullptr;
    BOOL m_hasList = FALSE;
    std::vector<CFormElement*> m_list;
    // The list being walked and where the next step starts (its size: at
    // the end).
    std::vector<CFormElement*> m_walk;
    std::size_t m_next = 0;
    CFormElement* m_pCurrent = nullptr;
};
