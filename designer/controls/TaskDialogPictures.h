#pragma once
// The task dialog's stock pictures, drawn by us: 415 the command link arrow,
// 417 the arrow under the mouse, 416 the shield, 418 error, 419 warning and
// 420 information. The arrows come at 16 pixels only, the rest at 16 and 32.

#include "platform/framework/Types.h"

#include <QPixmap>

inline constexpr UINT IDI_TASK_ARROW = 415;
inline constexpr UINT IDI_TASK_SHIELD = 416;
inline constexpr UINT IDI_TASK_HOT_ARROW = 417;
inline constexpr UINT IDI_TASK_ERROR = 418;
inline constexpr UINT IDI_TASK_WARNING = 419;
inline constexpr UINT IDI_TASK_INFORMATION = 420;

// A null picture for an id or size that has none.
QPixmap TaskDialogStockPicture(UINT id, int size);
