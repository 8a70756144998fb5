#pragma once
// A combo box that draws each item as one line of text, vertically centred
// and inset one pixel left and right, the selected item in the highlight
// colours; the host's colour callback may give an item's text a colour of
// its own from the item's data (Qt::UserRole, a 32-bit value).

#include "platform/framework/Types.h"

#include <QComboBox>
#include <QStyledItemDelegate>

// Answers true and writes the colour (0x00BBGGRR) for an item to be drawn in it.
using ComboColourCallback = bool (*)(DWORD itemData, COLORREF* colour);

class CComboBoxClrDelegate : public QStyledItemDelegate
{
public:
    explicit CComboBoxClrDelegate(ComboColourCallback* callback, QObject* parent = nullptr)
        : QStyledItemDelegate(parent), m_callback(callback)
    {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    ComboColourCallback* m_callback; // the combo box's field, which the host sets at any time
};

class CComboBoxClr : public QComboBox
{
public:
    explicit CComboBoxClr(QWidget* parent = nullptr);

    ComboColourCallback m_pColorCallback = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CComboBoxClrDelegate* m_delegate;
};
