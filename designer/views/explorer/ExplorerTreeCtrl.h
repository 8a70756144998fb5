#pragma once
// The explorer's tree: a Qt tree widget behind the tree interface the
// document, the element kinds and the tree state use. An item carries its
// element (not owned; none for the root), its label and its image; texts and
// images are set when an item is made, relabelled or expanded, so painting
// never reads an element.
//
// Labels are edited in place (a click on the selected item's label, or F2),
// at most 50 characters; while the editor is open it takes every key, so
// the frame's shortcuts (Delete, Ctrl+X, Enter...) never see them. A
// double-click neither expands nor collapses.

#include "designer/document/ExplorerTree.h"

#include <QIcon>
#include <QPersistentModelIndex>
#include <QPixmap>
#include <QTreeWidget>

#include <cstdint>
#include <functional>
#include <vector>

class QTreeWidgetItem;

class CExplorerTreeCtrl : public QTreeWidget, public IExplorerTree
{
    Q_OBJECT

public:
    static constexpr int kLabelLimit = 50;

    // Called when an edit ends with text: TRUE keeps the new label.
    using LabelEditHandler = std::function<BOOL(TreeItem item, const QString& text)>;

    explicit CExplorerTreeCtrl(QWidget* parent = nullptr);
    ~CExplorerTreeCtrl() override;

    void SetLabelEditHandler(LabelEditHandler handler) { m_endEdit = std::move(handler); }
    // The end of an edit with text; TRUE when the item keeps it.
    BOOL EndLabelEdit(TreeItem item, const QString& text) { return m_endEdit ? m_endEdit(item, text) : FALSE; }
    // The images by index; every item takes its image again.
    void SetImageList(std::vector<QIcon> images);
    // The image index an item shows now (-1 without an image list).
    int GetItemImage(TreeItem item) const;

    static TreeItem ToItem(QTreeWidgetItem* item) { return reinterpret_cast<TreeItem>(item); }
    static QTreeWidgetItem* FromItem(TreeItem item) { return reinterpret_cast<QTreeWidgetItem*>(item); }

    QString GetItemText(TreeItem item) const;
    // The line editor of the label being edited, else null.
    class QLineEdit* GetEditControl() const;
    // Starts editing the item's label.
    void EditLabel(TreeItem item);

    // A key going down or up, as the tree forwards it to its parent window
    // before handling it ("KWVD_TVN_KEY_EVENT": wParam 1 down, 0 up, lParam
    // the record's address).
    struct KeyRecord
    {
        QWidget* window = nullptr;
        std::uintptr_t id = 0;
        int code = -412;
        WORD key = 0;
        UINT flags = 0;
    };

    // ---- drag marks, painted over the rows
    // The insert mark before or after the item (null: none).
    void SetInsertMark(TreeItem item, bool after);
    TreeItem GetInsertMark() const { return ToItem(itemFromIndex(m_insertMark)); }
    bool IsInsertMarkAfter() const { return m_markAfter; }
    // The item drawn as the drop target (null: none).
    void SetDropHighlight(TreeItem item);
    TreeItem GetDropHighlight() const { return ToItem(itemFromIndex(m_dropHighlight)); }
    // The item's picture and label on a clear ground, for a drag image.
    QPixmap CreateDragImage(TreeItem item) const;
    // Forgets the press a drag took over from the view.
    void ResetMouseState() { setState(NoState); }

    // ---- IExplorerTree
    void DeleteAllItems() override;
    TreeItem InsertItem(TreeItem parent, const QString& text, CFormElement* element) override;
    void DeleteItem(TreeItem item) override;
    void SetItemText(TreeItem item, const QString& text) override;
    void ReorderChildren(TreeItem parent, const std::vector<TreeItem>& order) override;
    TreeItem GetRootItem() const override;
    TreeItem GetChildItem(TreeItem item) const override;
    TreeItem GetNextSiblingItem(TreeItem item) const override;
    TreeItem GetPrevSiblingItem(TreeItem item) const override;
    TreeItem GetParentItem(TreeItem item) const override;
    TreeItem GetFirstVisibleItem() const override;
    TreeItem GetNextVisibleItem(TreeItem item) const override;
    TreeItem GetCaretItem() const override;
    CFormElement* GetItemElement(TreeItem item) const override;
    BOOL IsExpanded(TreeItem item) const override;
    void SelectCaret(TreeItem item) override;
    void Expand(TreeItem item, BOOL expand) override;
    void EnsureVisible(TreeItem item) override;
    void SetFirstVisible(TreeItem item) override;
    void SetRedraw(BOOL redraw) override;

signals:
    // The caret moved to another item (null: none).
    void caretChanged(QTreeWidgetItem* item);
    void itemDoubleClickedOn(QTreeWidgetItem* item);
    void treeFocused();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void ForwardKey(QKeyEvent* event, bool down);

    void RefreshImage(QTreeWidgetItem* item);

    std::vector<QIcon> m_images;
    LabelEditHandler m_endEdit;
    QPersistentModelIndex m_insertMark;
    QPersistentModelIndex m_dropHighlight;
    bool m_markAfter = true;
};
