#include "designer/shell/Looks.h"

#include "designer/commands/CommandIds.h"
#include "designer/shell/ShellResources.h"

namespace {

// Halfway between the text and the face it stands on.
QColor MixColours(const QColor& a, const QColor& b)
{
    return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2);
}

QPalette MakePalette(QColor window, QColor button, QColor highlight, QColor text = Qt::black)
{
    QPalette palette(button, window);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::Button, button);
    palette.setColor(QPalette::Highlight, highlight);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::Base, Qt::white);
    // The colours above went to every group; a command that cannot run must
    // not look like one that can.
    const QColor greyed = MixColours(text, button);
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        palette.setColor(QPalette::Disabled, role, greyed);
    palette.setColor(QPalette::Disabled, QPalette::Light, button.lighter(150));
    return palette;
}

} // namespace

LookChoice ChooseLook(UINT look, int screenDepth)
{
    LookChoice choice;
    choice.look = look;
    choice.highColourIcons = screenDepth >= 16 ? TRUE : FALSE;
    choice.styleName = QStringLiteral("Fusion");
    switch (look) {
    case ID_VIEW_APPLOOK_WIN_2000:
        choice.styleName = QStringLiteral("Windows");
        choice.highColourIcons = FALSE;
        choice.smartDocking = FALSE;
        break;
    case ID_VIEW_APPLOOK_OFF_XP:
    case ID_VIEW_APPLOOK_WIN_XP:
        choice.smartDocking = FALSE;
        break;
    default:
        break;
    }
    choice.toolsBitmap = choice.highColourIcons ? IDR_TOOLS_HC : IDR_TOOLS;
    choice.standardBitmap = choice.highColourIcons ? IDR_STANDARD_HC : IDR_MAINFRAME;
    return choice;
}

QPalette LookPalette(UINT look)
{
    switch (look) {
    case ID_VIEW_APPLOOK_WIN_2000:
        return MakePalette(QColor(212, 208, 200), QColor(212, 208, 200), QColor(10, 36, 106));
    case ID_VIEW_APPLOOK_OFF_XP:
        return MakePalette(QColor(246, 246, 246), QColor(239, 237, 222), QColor(182, 189, 210));
    case ID_VIEW_APPLOOK_WIN_XP:
        return MakePalette(QColor(236, 233, 216), QColor(236, 233, 216), QColor(49, 106, 197));
    case ID_VIEW_APPLOOK_OFF_2003:
        return MakePalette(QColor(195, 218, 249), QColor(221, 236, 254), QColor(255, 238, 194));
    case ID_VIEW_APPLOOK_VS_2005:
        return MakePalette(QColor(238, 238, 242), QColor(229, 229, 215), QColor(193, 210, 238));
    case ID_VIEW_APPLOOK_OFF_2007_BLACK:
        return MakePalette(QColor(83, 83, 83), QColor(120, 120, 120), QColor(255, 189, 105), Qt::white);
    case ID_VIEW_APPLOOK_OFF_2007_SILVER:
        return MakePalette(QColor(208, 212, 221), QColor(225, 228, 235), QColor(255, 213, 140));
    case ID_VIEW_APPLOOK_OFF_2007_AQUA:
        return MakePalette(QColor(196, 220, 219), QColor(215, 233, 232), QColor(255, 213, 140));
    case ID_VIEW_APPLOOK_OFF_2007_BLUE:
    default:
        return MakePalette(QColor(191, 219, 255), QColor(213, 228, 242), QColor(255, 213, 140));
    }
}
