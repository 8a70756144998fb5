#pragma once
// The task dialog's layout: every control as a pixel rectangle, worked out
// from the settings, their loaded texts, a text measurer and the width of
// the owner's screen. Pure: nothing is shown and no font is made here, so
// the rules can be checked against rectangles worked out by hand.
// Rectangles have exclusive right and bottom edges.

#include "designer/controls/TaskDialogConfig.h"
#include "platform/framework/Rect.h"

#include <QFont>
#include <QSize>
#include <QString>

#include <array>
#include <vector>

// Measuring flags, as the layout asks for them. Without NoPrefix a single
// '&' marks the next character and is not measured ("&&" is one '&').
enum TaskDialogMeasure : unsigned {
    MeasureWordBreak = 0x1,
    MeasureSingleLine = 0x2,
    MeasureExpandTabs = 0x4,
    MeasureNoPrefix = 0x8,
};

enum class TaskDialogFont {
    Normal,
    Large,
};

class TaskDialogTextMeasurer
{
public:
    virtual ~TaskDialogTextMeasurer();

    // The size of the text drawn from the left edge of a rectangle of the
    // given width: the widest line and the height of all lines. A word
    // longer than the width stays whole, so the result may be wider. An
    // empty text measures 0 by 0.
    virtual QSize Measure(TaskDialogFont font, const QString& text, int width, unsigned flags) const = 0;

    // The normal font's average character width: the horizontal base unit.
    virtual int AverageCharWidth() const = 0;
};

// Measures with the fonts a running dialog uses.
class QtTextMeasurer : public TaskDialogTextMeasurer
{
public:
    QtTextMeasurer(const QFont& normal, const QFont& large);

    QSize Measure(TaskDialogFont font, const QString& text, int width, unsigned flags) const override;
    int AverageCharWidth() const override;

private:
    QFont m_normal;
    QFont m_large;
};

// The application's font, and the large one at 1.5 times its pixel height.
QFont TaskDialogNormalFont();
QFont TaskDialogLargeFont(const QFont& normal);

// Header style bits, kept as the dialog's window style word.
inline constexpr DWORD TDS_POPUP_CAPTION_MODAL = 0x90C00080u;
inline constexpr DWORD TDS_CENTER = 0x00000800u;
inline constexpr DWORD TDS_MINIMIZEBOX = 0x00020000u;
inline constexpr DWORD TDS_SYSMENU = 0x00080000u;
inline constexpr DWORD TDS_EX_RTL = 0x00003000u;

// Item style bits.
inline constexpr DWORD TDIS_VISIBLE = 0x10000000u;
inline constexpr DWORD TDIS_GROUP = 0x00020000u;
inline constexpr DWORD TDIS_DEFPUSHBUTTON = 0x00000001u;
inline constexpr DWORD TDIS_COMMAND_LINK = 0x0000014Bu;
inline constexpr DWORD TDIS_MARQUEE = 0x00000008u;

enum class TaskDialogItemKind {
    Icon = 0,
    Button = 1,
    Edit = 2,
    Static = 3,
    CheckBox = 4,
    Progress = 5,
    Link = 6,
    Radio = 7,
};

// The kind's own style bits, before a caller's extra bits.
DWORD TaskDialogItemStyle(TaskDialogItemKind kind);

struct TaskDialogItem
{
    TaskDialogItemKind kind = TaskDialogItemKind::Static;
    DWORD style = 0;
    kwvd::Rect rect;
    int id = -1;
    QString text;
    // The owner-drawn style of a command link already holds the default
    // button's bit, so the default is kept apart.
    bool isDefault = false;

    bool Visible() const { return (style & TDIS_VISIBLE) != 0; }
};

// What the run has loaded before laying out: the texts from their ids and
// whether there are a main and a footer icon.
struct TaskDialogTexts
{
    QString mainInstruction;
    QString content, contentMeasure;
    QString expandedInformation, expandedInformationMeasure;
    QString expandedControlText = QStringLiteral("Hide &details <<");
    QString collapsedControlText = QStringLiteral("See &details >>");
    QString verification;
    QString footer, footerMeasure;
    // In the order of the settings' arrays; a missing string id is empty.
    std::vector<QString> buttons;
    std::vector<QString> radioButtons;
    bool hasMainIcon = false;
    bool hasFooterIcon = false;
};

using StandardButtonTable = std::array<StandardButton, 6>;

// The built-in captions of the common buttons.
StandardButtonTable DefaultStandardButtons();

struct TaskDialogLayout
{
    DWORD style = 0;
    DWORD exStyle = 0;
    QSize client;
    std::vector<TaskDialogItem> items;

    int bw = 0, bh = 0, ew = 0;
    int highestId = 0;
    int focusId = -1; // the default button; -1 none
    std::array<int, 3> separators{-1, -1, -1};
    bool expanded = false;

    int mainIconId = -1;
    int mainInstructionId = -1;
    int contentId = -1;
    int expandedInformationId = -1;
    int progressBarId = -1;
    int expandoId = -1;
    int verificationId = -1;
    int footerIconId = -1;
    int footerTextId = -1;

    const TaskDialogItem* Find(int id) const;
};

TaskDialogLayout BuildLayout(const TASKDIALOGCONFIG& config, const TaskDialogTexts& texts,
                             const StandardButtonTable& standardButtons, const TaskDialogTextMeasurer& measurer,
                             int screenWidth);

// The measuring copy of a text with links: the upper-case tags removed.
QString StripLinkMarkup(const QString& text);

// The title (before the first line feed) and the note (the rest) of a
// command link's text; no note without a line feed.
struct CommandLinkParts
{
    QString title;
    std::optional<QString> note;
};
CommandLinkParts SplitCommandLinkText(const QString& text);
