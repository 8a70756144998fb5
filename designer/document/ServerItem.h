#pragma once
// The item that carries form elements between documents and panes over the
// clipboard and by drag and drop.
//
// A copy or drag item lists elements of its document (not owned) and, when
// the pane was tracking an element, a copy of it as the anchor: the element
// a paste places the others by. An empty item is filled by a paste or a
// drop; the elements it reads are its own until taken (TakeElements).
//
// The item stream, in the archive's object encoding:
//   count, then each element as an object (the element list);
//   WORD has-anchor, 0 or 1;
//   the anchor as an object, when has-anchor is not 0.
// It travels in a QMimeData under exactly one of the three designer MIME
// types below, with an "Object Descriptor" beside it (see
// GetDropObjectDescriptor).

#include "platform/framework/Collections.h"
#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

#include <QPoint>
#include <QSize>
#include <QString>

#include <memory>
#include <vector>

class CDesignerDoc;
class CFormElement;
class QMimeData;
class QPainter;

// The MIME types the items travel under, one per pane kind.
inline constexpr char kDesignerSrcFormat[] = "KWVD Designer Src";
inline constexpr char kDesignerDestFormat[] = "KWVD Designer Dest";
inline constexpr char kDesignerExplFormat[] = "KWVD Designer Expl";
// The extent of the carried elements and the grab offset of a drag: four
// little-endian 32-bit values, width, height, x, y, in page pixels.
inline constexpr char kObjectDescriptorFormat[] = "Object Descriptor";

class CServerItem : public CObject
{
    KWVD_DECLARE_DYNAMIC(CServerItem)

public:
    enum Format : int {
        NoFormat = 0,
        SrcFormat = 1,  // from the input pane
        DestFormat = 2, // from the output pane
        ExplFormat = 3, // from the explorer pane
    };

    // The MIME type of a designer format; empty for NoFormat.
    static QString FormatName(Format format);
    // TRUE when the data offers the format (null data offers nothing).
    static BOOL IsFormatOffered(const QMimeData* data, Format format);
    // The first of Src, Dest and Expl that the data offers, else NoFormat.
    static Format FirstOfferedFormat(const QMimeData* data);

    // The document's selected elements in document order: the panes' copy
    // and drag content.
    static std::vector<CFormElement*> SelectedElements(const CDesignerDoc& doc);

    // An empty item for a paste or a drop.
    explicit CServerItem(CDesignerDoc* doc);
    // A copy or drag item of the elements, in the order given (nulls are
    // skipped). With a tracked element the anchor becomes a copy of it. The
    // explorer passes its one selected element and no tracked element.
    CServerItem(CDesignerDoc* doc, Format format, const std::vector<CFormElement*>& elements,
                const CFormElement* tracked);
    // Deletes the anchor and every element read that was not taken.
    ~CServerItem() override;

    CServerItem(const CServerItem&) = delete;
    CServerItem& operator=(const CServerItem&) = delete;

    // The item stream. Loading empties the list first and accepts only form
    // elements (badClass otherwise); an element listed twice, or an anchor
    // that is also listed, is refused (badIndex). Without with-children the
    // children containers brought are deleted after the read, and listed
    // elements among them leave the list. Loading needs the item's
    // document (genericException without one), which must also be the
    // archive's.
    void Serialize(CArchive& ar) override;

    CDesignerDoc* GetDocument() const { return m_pDoc; }
    Format GetFormat() const { return m_format; }
    const CObList& GetElementList() const { return m_elements; }
    BOOL HasAnchor() const { return m_hasAnchor; }
    // Null when the item has no anchor.
    CFormElement* GetAnchor() const { return m_hasAnchor ? m_pAnchor : nullptr; }
    // What a paste places the elements by: the anchor when there is one,
    // else the first element; null for an empty item.
    CFormElement* GetReferenceElement() const;

    // When set, containers write and keep their children with the item (the
    // children read are in the document from then on). Set it on both the
    // copying and the pasting item.
    void SetWithChildren(BOOL withChildren) { m_withChildren = withChildren; }
    BOOL GetWithChildren() const { return m_withChildren; }

    // Hands the elements a paste or drop read to the caller, who adds each
    // to the document (CDesignerDoc::AddElement) and deletes any it does not
    // keep. The list is empty afterwards. For a copy item, the listed
    // elements (still the document's).
    std::vector<CFormElement*> TakeElements();

    // The clipboard or drag data: the item stream under the item's format
    // and the "Object Descriptor" with the size (the elements' extent unless
    // given) and the offset (0, 0 unless given). Throws what the archive
    // throws; nothing is left behind then.
    std::unique_ptr<QMimeData> OnGetClipboardData(const QPoint* offset = nullptr, const QSize* size = nullptr) const;
    // The item stream into the data under the item's format; nothing for an
    // item without a designer format.
    void RenderFormats(QMimeData& data) const;
    // Puts OnGetClipboardData on the application clipboard; FALSE without a
    // GUI application.
    BOOL CopyToClipboard() const;

    // Fill the item from the first of Src, Dest and Expl offered, reading
    // quietly and showing the notices held back once afterwards. FALSE when
    // no designer format is offered, the item has no document or the stream
    // is damaged; the item then keeps what was read and the caller pastes
    // nothing. The caller holds a change transaction: children join the
    // document while they are read.
    BOOL PasteFromClipboard();
    BOOL LoadFromDataObject(const QMimeData* data);

    // Draws the elements as their pane draws them, moved so that their
    // union starts at (0, 0); size becomes that union's size. An explorer
    // item draws nothing.
    BOOL OnDraw(QPainter& painter, QSize& size) const;
    // The width and height of the union of the elements' output boxes.
    QSize OnGetExtent() const;

private:
    void StoreItem(CArchive& ar) const;
    void LoadItem(CArchive& ar);
    void DeleteOwnedElements();
    // After a failed read: deletes all it made, in the document or not.
    void DiscardRead();
    // Deletes the children the read containers brought, for an item that
    // did not ask for them.
    void DropChildren();
    void DeleteAnchor();

    CDesignerDoc* m_pDoc = nullptr;
    CFormElement* m_pAnchor = nullptr; // owned
    CObList m_elements;
    BOOL m_hasAnchor = FALSE;
    Format m_format = NoFormat;
    BOOL m_withChildren = FALSE;
    BOOL m_ownsElements = FALSE; // TRUE for elements read by the item
    BOOL m_anchorRead = FALSE;   // a read anchor may have brought children
};

// The size and grab offset from the data's "Object Descriptor". Without it,
// or when it is too short, size (and offset, when given) become zero and the
// result is FALSE.
BOOL GetDropObjectDescriptor(const QMimeData* data, QSize* size, QPoint* offset);
