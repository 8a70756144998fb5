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

    // The container's item, then its children's items below it in list order.
    TreeItem InsertIntoTree(IExplorerTree& tree, TreeItem parent) override;

    qsizetype GetChildCount() const { return m_children.GetCount(); }
    const CObList& GetChildList() const { return m_children; }

protected:
    CFormContainerElement();
    explicit CFormContainerElement(CDesignerDoc* doc);
    explicit CFormContainerElement(CAPRTPDMRec& record);

    // The children in the WVD object, after the kind's own fields. They are
    // written and kept only while the document's serialising flag is set;
    // otherwise an empty list is written, and a list read is deleted.
    // Children kept are put into the document's element and z-order lists.
    void SerializeChildren(CArchive& ar);

    // The children's records, in list order.
    void ExportChildrenJVX(CJVXArchive& ar);
    // Reads the records that follow the container's own up to its end
    // record (endType) or the end of the data. A failure ends the reading:
    // it is kept on the archive for the top-level reader, and the children
    // read so far stay, given to the document. FALSE after such a failure.
    BOOL ReadChildrenJVX(CJVXArchive& ar, int endType);
    // A record between the container's own and its end that makes no
    // element (a Conditional takes "BRKL" here).
    virtual void TakeNonElementRecord(const CAPRTPDMRec& record);
    // The container's own end record, once met (a Loop's "ENDL" carries its
    // last line).
    virtual void TakeEndRecord(const CAPRTPDMRec& record);

    // Moves every child to this container's own container, or the top level,
    // through the document; a child refused there is deleted with its own
    // children. Then the list is empty.
    void ReleaseChildren();

private:
    // Each child put into the document's lists when missing.
    void AdoptChildren();

    CObList m_children;
};
