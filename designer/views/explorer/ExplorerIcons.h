#pragma once
// The explorer's pictures: one 16 x 16 image per element kind for the tree
// (image list 108, or 383 in high colour) and the pane toolbar's buttons
// (380, or 382 in high colour). All of it is drawn here; the low-colour
// sets keep to the sixteen colours of a 4-bit display.

#include "platform/framework/Types.h"

#include <QIcon>
#include <QPixmap>

#include <vector>

// The tree's image of an element type (image index = icon base + value).
struct ExplorerIconEntry
{
    int type;
    int image;
};

inline constexpr ExplorerIconEntry ExplorerIconTable[] = {
    {249, 11}, // Address
    {250, 14}, // Barcode
    {252, 3},  // Conditional
    {256, 13}, // Eraser
    {257, 9},  // Exit Parameter
    {258, 8},  // Exit Program
    {259, 5},  // Image
    {260, 2},  // Loop
    {262, 7},  // Output Device
    {263, 12}, // Remark
    {264, 19}, // Resource
    {265, 4},  // Source
    {266, 6},  // Static Text
    {267, 10}, // Variable
    {268, 16}, // XML Attribute
    {269, 18}, // XML Comment
    {270, 15}, // XML Element
    {271, 17}, // XML Instruction
};

inline constexpr int kExplorerImageCount = 20;
inline constexpr UINT IDB_EXPLORER_IMAGES = 108;
inline constexpr UINT IDB_EXPLORER_IMAGES_HC = 383;
inline constexpr UINT IDR_EXPLORER_TOOLBAR = 380;
inline constexpr UINT IDR_EXPLORER_TOOLBAR_HC = 382;

// The image of an item of that type: the table's value, or for the root
// and unknown kinds 1 while expanded and 0 while collapsed.
int GetElementIcon(int type, bool expanded);

// The tree's images in index order, from bitmap 108 or 383.
std::vector<QIcon> LoadExplorerImageList(UINT bitmapId);
// One image of the list; a null pixmap for an index outside it.
QPixmap ExplorerImage(UINT bitmapId, int index);

// The pane toolbar's buttons in order, 0 for a separator.
std::vector<UINT> ExplorerToolBarButtons();
// The picture of a toolbar button in toolbar 380 or 382.
QIcon ExplorerToolBarImage(UINT toolBarId, UINT command);
