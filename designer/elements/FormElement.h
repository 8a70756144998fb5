#pragma once
// The base of every form element: the two rectangles on the character grids
// of the source and output pages, the sub-cell offset of the destination,
// selection, the place in the element tree and the hints that keep the
// windows current. The kinds override what their own behaviour needs.

#include "designer/document/ExplorerTree.h"
#include "platform/framework/Collections.h"
#include "platform/framework/Object.h"
#include "platform/framework/Rect.h"
#include "platform/framework/Types.h"

#include <QPoint>
#include <QString>

#include <vector>

class CAPRTPDMRec;
class CDesignerDoc;
class CElementPageRecord;
class IElementPageSink;
class CSourceLink;
class CJVXArchive;
class IMailAttachmentSink;
class IZipFileSink;
class CFontManager;
class CPage;
class QPainter;

// The element type numbers; each is also the string id of the kind's display
// name. Break Loop, End Conditional, End Loop, End XML Element and the blank
// record type only occur in the JVX exchange.
struct FormElementType
{
    enum : int {
        None = 0,
        Address = 249,
        Barcode = 250,
        BreakLoop = 251,
        Conditional = 252,
        EndConditional = 253,
        EndLoop = 254,
        EndXmlElement = 255,
        Eraser = 256,
        ExitParam = 257,
        ExitProgram = 258,
        Image = 259,
        Loop = 260,
        BlankRecord = 261,
        Output = 262,
        Remark = 263,
        Resource = 264,
        Source = 265,
        Text = 266,
        Variable = 267,
        XmlAttribute = 268,
        XmlComment = 269,
        XmlElement = 270,
        XmlInstruction = 271,
    };

    // The kind's name from the string table ("???" for a number without one).
    static QString DisplayName(int type);
    // TRUE for the numbers that name a kind of element (not the record-only ones).
    static BOOL IsElementType(int type);
};

// The pane an element is drawn in: the input pane shows the spooled page
// (the element's source side), the output pane the form (its destination side).
struct PaneSide
{
    enum : int {
        Input = 1,
        Output = 2,
    };
};

// Where a walk over a container's children stands; null after the last one.
class ChildPosition
{
public:
    ChildPosition() = default;
    ChildPosition(const CObList* list, CObList::const_iterator it) : m_list(list), m_it(it)
    {
        if (m_list != nullptr && m_it == m_list->end())
            m_list = nullptr;
    }

    bool IsNull() const { return m_list == nullptr; }
    explicit operator bool() const { return m_list != nullptr; }

    const CObList* List() const { return m_list; }
    CObList::const_iterator Iterator() const { return m_it; }

private:
    const CObList* m_list = nullptr;
    CObList::const_iterator m_it;
};

// Bits of the flags argument of the move and resize operations.
struct ElementMoveFlags
{
    enum : int {
        Left = 0x1,        // move: x; resize: the left edge
        Top = 0x2,         // move: y; resize: the top edge
        Right = 0x4,       // resize only
        Bottom = 0x8,      // resize only
        IfSelected = 0x20, // an unselected element ignores the call
        NoSnap = 0x40,     // leave the grid; a destination move keeps the rest as offset
    };
};

// One move or resize of a box, with the arguments the operations take.
struct ElementStep
{
    enum Kind {
        Move,
        Resize
    };

    Kind kind;
    int x;     // the width for a resize
    int y;     // the height for a resize
    int flags; // ElementMoveFlags
    BOOL absolute;

    BOOL IsMove() const { return kind == Move; }
};

class CFormElement : public CObject
{
    KWVD_DECLARE_SERIAL(CFormElement)

public:
    CFormElement();
    explicit CFormElement(CDesignerDoc* doc);
    ~CFormElement() override;

    CFormElement(const CFormElement&) = delete;
    CFormElement& operator=(const CFormElement&) = delete;

    // Every base field, the selected flag, document and parent included;
    // each kind adds its own fields by overriding Copy.
    virtual void Copy(const CFormElement& other);
    // The one copy path for every kind: Copy reaches the kind's fields.
    void CopyFrom(const CFormElement& other) { Copy(other); }

    virtual int GetType() const;

    // ---- persistence
    // The base part of the WVD object; every kind's Serialize calls it first.
    // Loading leaves the stored schema readable for the kind's part.
    void Serialize(CArchive& ar) override;
    // Fills the base fields of a JVX record: sequence number, description,
    // positions (relative to the document's current lines when they run),
    // line count and offset. A kind sets its opcode and own fields after it.
    virtual BOOL ToRecord(CAPRTPDMRec& record);
    // Writes the element's records; the base writes nothing. The kinds of
    // one plain record override it with ExportRecordJVX.
    virtual void ExportJVX(CJVXArchive& ar);

    // The files the element depends on, handed to a mail or a zip archive
    // when the document is sent; the base has none.
    virtual void AddMailAttachment(IMailAttachmentSink& mailer) const;
    virtual void AddToZip(IZipFileSink& zip) const;

    // TRUE when the document changed; containers pass it to their children.
    virtual BOOL SetDocument(CDesignerDoc* doc);
    CDesignerDoc* GetDocument() const { return m_pDoc; }

    // Mode 0 after zoom, page set-up, XML import or options; mode 1 after the
    // spooled file or its shown page changed. Never marks the document modified.
    virtual void Revalidate(int mode);

    virtual void DrawSource(QPainter& painter);
    virtual void DrawDest(QPainter& painter);

    virtual kwvd::Rect GetSourceRect() const;
    // The destination shifted by the offset in output-page pixels.
    virtual kwvd::Rect GetDestRect() const;
    // In twips.
    virtual QPoint GetOffset() const;
    virtual BOOL SetOffset(QPoint twips);

    // absolute != 0: x, y (cx, cy) are the new position (size); 0: amounts.
    virtual void MoveSource(int x, int y, int flags, BOOL absolute);
    virtual void MoveDest(int x, int y, int flags, BOOL absolute);
    virtual void ResizeSource(int cx, int cy, int flags, BOOL absolute);
    virtual void ResizeDest(int cx, int cy, int flags, BOOL absolute);

    // Only the kinds that keep a sub-cell offset answer FALSE.
    virtual BOOL IgnoresOffset() const;
    virtual BOOL SnapsDestToGrid() const;

    // The element, or null. A selected element hits one pixel beyond its box.
    virtual CFormElement* HitTestSource(QPoint point);
    virtual CFormElement* HitTestDest(QPoint point);

    virtual BOOL IsSelected() const;
    virtual BOOL Select(BOOL select);

    virtual BOOL SetParent(CFormElement* parent);
    virtual CFormElement* GetParent() const;
    virtual BOOL HasParent() const;

    // Containers answer these; the base holds no children.
    virtual BOOL CanContain(const CFormElement* child) const;
    virtual BOOL AddChild(CFormElement* child, CFormElement* insertionHint);
    virtual BOOL RemoveChild(CFormElement* child);
    virtual BOOL MoveChild(CFormElement* child, CFormElement* target, int where);
    virtual void SortChildren();
    virtual ChildPosition GetFirstChildPosition() const;
    virtual CFormElement* GetNextChild(ChildPosition& position) const;

    virtual BOOL IsLoopOrInLoop() const;
    virtual BOOL IsInLoop() const;

    // The element's item as the last child of parent (the description as
    // text), selected when the element is; containers add their children's
    // items below it. Null when the tree made none.
    virtual TreeItem InsertIntoTree(IExplorerTree& tree, TreeItem parent);

    // ---- property pages
    // Hands the sheet the General record and then the kind's own record;
    // nothing without a sheet.
    void AddPropertyPages(IElementPageSink* sheet);
    // The General record with the mask, the limits of the output page and the
    // current values, then the kind's record.
    virtual void AddPropertyPages(IElementPageSink* sheet, WORD generalMask);
    // The fields of the General page this kind leaves alone (bits of
    // GeneralPageData's mask).
    virtual WORD GetGeneralMask() const;
    // Copies every value that differs into the record; TRUE when it copied
    // any. FALSE for a record of another kind.
    BOOL UpdatePage(CElementPageRecord& page) const;
    // Calls the setter of every field of the groups that differs from the
    // element's; TRUE when anything changed.
    BOOL ApplyPage(const CElementPageRecord& page, DWORD groups);

    // Case-sensitive, over the description.
    virtual BOOL Find(const QString& text) const;
    virtual BOOL Replace(const QString& find, const QString& replace);

    const QString& GetDescription() const { return m_description; }
    BOOL IsAutoDescription() const { return m_autoDescription != 0; }
    void SetAutoDescription(BOOL automatic) { m_autoDescription = automatic ? 1 : 0; }

    int GetWidthAdjust() const { return m_widthAdjust; }
    int GetHeightAdjust() const { return m_heightAdjust; }
    BOOL IsSourceAbsolute() const { return m_sourceAbsolute != 0; }
    BOOL IsDestAbsolute() const { return m_destAbsolute != 0; }
    void SetSourceAbsolute(BOOL absolute) { m_sourceAbsolute = absolute ? 1 : 0; }
    void SetDestAbsolute(BOOL absolute) { m_destAbsolute = absolute ? 1 : 0; }

    // The stored rectangles, without the offset.
    const kwvd::Rect& SourceRect() const { return m_sourceRect; }
    const kwvd::Rect& DestRect() const { return m_destRect; }

    // Stores the text, announces the change and marks the document modified;
    // FALSE when it is the current one. The automatic flag is left alone.
    static BOOL SetDescription(const QString& text, CFormElement* element);
    // The first line of spooled-file text under the source rectangle.
    static BOOL SetDescriptionFromSource(CFormElement* element);
    // Document order of two elements: index of the first minus that of the
    // second, as 16-bit indexes; an element not in the list counts as 0.
    static int CompareElements(const CFormElement* first, const CFormElement* second, int key);

    static void MoveElementRect(kwvd::Rect& rect, int x, int y, int flags, BOOL absolute, const CPage& page);
    static void ResizeElementRect(const CPage& page, kwvd::Rect& rect, int cx, int cy, int flags, BOOL absolute);
    // Fills the box; a selected element gets a dotted frame, an unselected one
    // of at least 3 x 3 device pixels a white outline.
    static void DrawElementBox(QPainter& painter, const kwvd::Rect& rect, const CFormElement* element, COLORREF colour);

protected:
    // The base part of an element read from a JVX record: description,
    // both rectangles on the grid, absolute flags, document and parent from
    // the record. The offset is applied by the record factory once the kind
    // is complete, so that kinds without one get (0, 0).
    explicit CFormElement(CAPRTPDMRec& record);

    // The plain export: one record from ToRecord, when it answers TRUE.
    void ExportRecordJVX(CJVXArchive& ar);

    // ---- moving and resizing the source box
    // The steps every kind shares: the selected-only test, the destination
    // that follows, the announcement, the kind's step and the modified flag.
    void StepSource(const ElementStep& step);
    // The link by which the destination follows the source; null for the
    // kinds without one.
    virtual CSourceLink* DestLink();
    // Before the box changes: the following destination takes the same step
    // first, then the views hear of the box.
    virtual void BeginSourceStep(const ElementStep& step);
    // The kind's own step of the box: the base puts it on the grid and the
    // page and announces a change; a kind with its own rules for the box does
    // PutSourceOnGrid and then its fix-up. before is the box before the step.
    virtual void StepSourceRect(const ElementStep& step, const CPage& page, const kwvd::Rect& before);
    // The grid part of a step: MoveElementRect or ResizeElementRect.
    void PutSourceOnGrid(const ElementStep& step, const CPage& page);
    // The destination's own operation with the step's arguments.
    void StepDest(const ElementStep& step);
    // Runs the step on the destination while the link holds.
    void FollowWithDest(const ElementStep& step);

    // While set, every element whose base part is read from a WVD archive
    // is noted here, so that a reader can tell the objects it made from
    // references to objects read before.
    static thread_local std::vector<CFormElement*>* s_pReadLog;

    // Points s_pReadLog at a log while it lives and puts the previous one
    // back afterwards, so each reader sees only its own level.
    class ReadLogScope
    {
    public:
        explicit ReadLogScope(std::vector<CFormElement*>& log) : m_previous(s_pReadLog) { s_pReadLog = &log; }
        ~ReadLogScope() { s_pReadLog = m_previous; }
        ReadLogScope(const ReadLogScope&) = delete;
        ReadLogScope& operator=(const ReadLogScope&) = delete;

    private:
        std::vector<CFormElement*>* m_previous;
    };

    // Deletes, once each, the elements of read that this read made; references
    // to elements read before belong to their first reader and stay. The
    // archive forgets the deleted ones, so no later reference reaches them.
    static void DeleteMadeHere(CArchive& ar, CDesignerDoc* doc, const std::vector<CFormElement*>& read,
                               const std::vector<CFormElement*>& made);

    // Sends the hint through the document; nothing without one.
    void Announce(int hint);
    void SetDocumentModified();
    CPage* SourcePage() const;
    CPage* OutputPage() const;
    // The output page's font manager, whose users lists the kinds with a
    // font index join; null without a page.
    CFontManager* OutputFontManager() const;

    // The two other selection behaviours some kinds use.
    BOOL SelectAnnouncingDest(BOOL select);
    BOOL SelectQuietly(BOOL select);

private:
    // Sets the flag; a hint other than 0 goes out before and after the change.
    BOOL ChangeSelection(BOOL select, int hint);

protected:
    QString m_description;
    kwvd::Rect m_sourceRect;
    kwvd::Rect m_destRect;
    int m_widthAdjust = 0;
    int m_heightAdjust = 0;
    QPoint m_offset; // twips
    BOOL m_selected = FALSE;
    CDesignerDoc* m_pDoc = nullptr;
    CFormElement* m_pParent = nullptr;
    int m_sourceAbsolute = 0;
    int m_destAbsolute = 0;
    int m_autoDescription = 1;
};
