#pragma once
// What the element kinds that hold other elements share: the child list in
// document order, which kind may hold which, and the hand-over of the
// children when a container is deleted on its own.
//
// The document owns every element through its element list; a container only
// lists its children.

#include "designer/elements/FormElement.h"

// Whether a container of one type accepts a child of another, by the type
// numbers alone. A Conditional also asks its own container (see CanContain).
BOOL ContainerTypeAccepts(int containerType, int childType);

class CFormContainerElement : public CFormElement
{
public:
    // Hands the children on first (see ReleaseChildren).
    ~CFormContainerElement() override;

    void Copy(const CFormElement& other) override;
    BOOL SetDocument(CDesignerDoc* doc) override;

    BOOL CanContain(const CFormElement* child) const override;
    // Appends the child and announces it; the insertion hint is not used.
    BOOL AddChild(CFormElement* child, CFormElement* insertionHint) override;
    // Leaves the child's parent pointer to the caller.
    BOOL RemoveChild(CFormElement* child) override;
    BOOL MoveChild(CFormElement* child, CFormElement* target, int where) override;
    // Back into the order of the document's element list.
    void SortChildren() override;
    ChildPosition GetFirstChildPosition() const override;
    CFormElement* GetNextChild(ChildPosition& position) const override;

    qsizetype GetChildCount() const { return m_children.GetCount(); }
    const CObList& GetChildList() const { return m_children; }

protected:
    CFormContainerElement();
    explicit CFormContainerElement(CDesignerDoc* doc);

    // Moves every child to this container's own container, or the top level,
    // through the document; a child refused there is deleted with its own
    // children. Then the list is empty.
    void ReleaseChildren();

    CObList m_children;
};
