#include "designer/controls/TaskDialogLayout.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>

#include <algorithm>

TaskDialogTextMeasurer::~TaskDialogTextMeasurer() = default;

QtTextMeasurer::QtTextMeasurer(const QFont& normal, const QFont& large) : m_normal(normal), m_large(large) {}

QSize QtTextMeasurer::Measure(TaskDialogFont font, const QString& text, int width, unsigned flags) const
{
    if (text.isEmpty())
        return {0, 0};
    const QFontMetrics metrics(font == TaskDialogFont::Large ? m_large : m_normal);
    int qtFlags = Qt::AlignLeft | Qt::AlignTop;
    if (flags & MeasureSingleLine)
        qtFlags |= Qt::TextSingleLine;
    else if (flags & MeasureWordBreak)
        qtFlags |= Qt::TextWordWrap;
    if (flags & MeasureExpandTabs)
        qtFlags |= Qt::TextExpandTabs;
    if (!(flags & MeasureNoPrefix))
        qtFlags |= Qt::TextShowMnemonic;
    const QRect bounds = metrics.boundingRect(QRect(0, 0, std::max(width, 1), std::max(width, 1)), qtFlags, text);
    return bounds.size();
}

int QtTextMeasurer::AverageCharWidth() const
{
    return std::max(1, QFontMetrics(m_normal).averageCharWidth());
}

QFont TaskDialogNormalFont()
{
    return QApplication::font();
}

QFont TaskDialogLargeFont(const QFont& normal)
{
    QFont large(normal);
    const int pixels = QFontInfo(normal).pixelSize();
    large.setPixelSize(std::max(1, static_cast<int>(pixels * 1.5)));
    return large;
}

DWORD TaskDialogItemStyle(TaskDialogItemKind kind)
{
    switch (kind) {
    case TaskDialogItemKind::Icon:
        return 0x50000003u;
    case TaskDialogItemKind::Button:
        return 0x50010000u;
    case TaskDialogItemKind::Edit:
    case TaskDialogItemKind::Static:
    case TaskDialogItemKind::Link:
        return 0x50000000u;
    case TaskDialogItemKind::CheckBox:
        return 0x50010003u;
    case TaskDialogItemKind::Progress:
        return 0x50000001u;
    case TaskDialogItemKind::Radio:
        return 0x50000009u;
    }
    return 0x50000000u;
}

StandardButtonTable DefaultStandardButtons()
{
    return {{
        {QStringLiteral("OK"), 421, TDCBF_OK_BUTTON, IDOK},
        {QStringLiteral("&Yes"), 422, TDCBF_YES_BUTTON, IDYES},
        {QStringLiteral("&No"), 423, TDCBF_NO_BUTTON, IDNO},
        {QStringLiteral("&Retry"), 424, TDCBF_RETRY_BUTTON, IDRETRY},
        {QStringLiteral("Cancel"), 425, TDCBF_CANCEL_BUTTON, IDCANCEL},
        {QStringLiteral("&Close"), 426, TDCBF_CLOSE_BUTTON, IDCLOSE},
    }};
}

const TaskDialogItem* TaskDialogLayout::Find(int id) const
{
    if (id < 0)
        return nullptr;
    for (const TaskDialogItem& item : items) {
        if (item.id == id)
            return &item;
    }
    return nullptr;
}

QString StripLinkMarkup(const QString& text)
{
    QString result = text;
    result.remove(QStringLiteral("</A>"));
    for (;;) {
        const qsizetype open = result.indexOf(QStringLiteral("<A HREF="));
        if (open < 0)
            break;
        const qsizetype close = result.indexOf(u'>', open);
        if (close < 0)
            break;
        result.remove(open, close - open + 1);
    }
    return result;
}

CommandLinkParts SplitCommandLinkText(const QString& text)
{
    const qsizetype feed = text.indexOf(u'\n');
    if (feed < 0)
        return {text, std::nullopt};
    return {text.left(feed), text.mid(feed + 1)};
}

namespace {

constexpr unsigned kParagraph = MeasureWordBreak | MeasureExpandTabs | MeasureNoPrefix;

class LayoutBuilder
{
public:
    LayoutBuilder(const TASKDIALOGCONFIG& config, const TaskDialogTexts& texts, const StandardButtonTable& standard,
                  const TaskDialogTextMeasurer& measurer)
        : m_config(config), m_texts(texts), m_standard(standard), m_measurer(measurer)
    {}

    TaskDialogLayout Build(int screenWidth);

private:
    bool Has(DWORD flag) const { return (m_config.dwFlags & flag) != 0; }
    bool LinksOn() const { return Has(TDF_USE_COMMAND_LINKS); }
    const QString& ButtonText(UINT index) const;
    int MeasureCommandLink(const QString& text, int width) const;
    int Add(TaskDialogItemKind kind, DWORD extra, const kwvd::Rect& rect, int id, const QString& text, DWORD clear = 0);
    int NextId() { return m_nextId++; }

    const TASKDIALOGCONFIG& m_config;
    const TaskDialogTexts& m_texts;
    const StandardButtonTable& m_standard;
    const TaskDialogTextMeasurer& m_measurer;
    TaskDialogLayout m_layout;
    int m_nextId = 1;
    bool m_madeButton = false;
};

const QString& LayoutBuilder::ButtonText(UINT index) const
{
    static const QString empty;
    return index < m_texts.buttons.size() ? m_texts.buttons[index] : empty;
}

int LayoutBuilder::MeasureCommandLink(const QString& text, int width) const
{
    const CommandLinkParts parts = SplitCommandLinkText(text);
    const int th =
        m_measurer.Measure(TaskDialogFont::Large, parts.title, width, MeasureSingleLine | MeasureExpandTabs).height();
    if (!parts.note)
        return th + 20;
    const int nh = m_measurer.Measure(TaskDialogFont::Normal, *parts.note, width, kParagraph).height();
    return th + 25 + nh;
}

int LayoutBuilder::Add(TaskDialogItemKind kind, DWORD extra, const kwvd::Rect& rect, int id, const QString& text,
                       DWORD clear)
{
    TaskDialogItem item;
    item.kind = kind;
    item.style = TaskDialogItemStyle(kind) | extra;
    item.rect = rect;
    item.id = id;
    item.text = text;
    if (kind == TaskDialogItemKind::Button) {
        if (id == m_config.nDefaultButton || (m_config.nDefaultButton == 0 && !m_madeButton)) {
            item.style |= TDIS_DEFPUSHBUTTON;
            item.isDefault = true;
            m_layout.focusId = id;
        }
        m_madeButton = true;
    }
    item.style &= ~clear;
    m_layout.items.push_back(item);
    return id;
}

TaskDialogLayout LayoutBuilder::Build(int screenWidth)
{
    TaskDialogLayout& out = m_layout;
    const int bx = m_measurer.AverageCharWidth();

    // Text width.
    const int w0 = m_config.cxWidth != 0 ? static_cast<int>(m_config.cxWidth) * bx / 4 : screenWidth / 2 + 80;
    int l = w0 - 20;
    if (m_texts.hasMainIcon)
        l -= 32;

    // Buttons.
    int widest = -1;
    int tallest = -1;
    auto measureCaption = [&](const QString& caption) {
        const QSize size = m_measurer.Measure(TaskDialogFont::Normal, caption, l, 0);
        widest = std::max(widest, size.width());
        tallest = std::max(tallest, size.height());
        return size;
    };
    int commonCount = 0;
    int highest = 0;
    for (const StandardButton& row : m_standard) {
        if (m_config.dwCommonButtons & row.flag) {
            measureCaption(row.caption);
            ++commonCount;
            highest = std::max(highest, row.commandId);
        }
    }
    for (UINT i = 0; i < m_config.cButtons; ++i) {
        if (!LinksOn())
            measureCaption(ButtonText(i));
        highest = std::max(highest, m_config.pButtons[i].nButtonID);
    }
    const bool implicitOk = commonCount == 0 && m_config.cButtons == 0;
    if (implicitOk) {
        measureCaption(m_standard[0].caption);
        highest = std::max(highest, m_standard[0].commandId);
    }
    const int expandedWidth = measureCaption(m_texts.expandedControlText).width();
    const int collapsedWidth = measureCaption(m_texts.collapsedControlText).width();
    out.bw = widest + 32;
    out.bh = tallest + 10;
    out.ew = std::max(expandedWidth, collapsedWidth) + 32;
    for (UINT i = 0; i < m_config.cRadioButtons; ++i)
        highest = std::max(highest, m_config.pRadioButtons[i].nButtonID);
    out.highestId = highest;
    m_nextId = highest + 1;

    // Button row.
    int n = commonCount + (LinksOn() ? 0 : static_cast<int>(m_config.cButtons));
    if (implicitOk)
        n = 1;
    const int rowWidth = n * (out.bw + 8) - 8;
    if (rowWidth > l)
        l = rowWidth + 20;

    // The widest text.
    int a = 0;
    a = std::max(a, m_measurer.Measure(TaskDialogFont::Large, m_texts.mainInstruction, l, kParagraph).width());
    a = std::max(a, m_measurer.Measure(TaskDialogFont::Normal, m_texts.contentMeasure, l, kParagraph).width());
    a = std::max(a,
                 m_measurer.Measure(TaskDialogFont::Normal, m_texts.expandedInformationMeasure, l, kParagraph).width());
    a = std::max(a, m_measurer.Measure(TaskDialogFont::Normal, m_texts.footerMeasure, l, kParagraph).width());
    a = std::max(
        a, m_measurer.Measure(TaskDialogFont::Normal, m_texts.verification, l, MeasureWordBreak | MeasureExpandTabs)
               .width());
    a += 1;
    const int linkIcon = Has(TDF_USE_COMMAND_LINKS_NO_ICON) ? 0 : 26;
    if (LinksOn()) {
        for (UINT i = 0; i < m_config.cButtons; ++i) {
            const CommandLinkParts parts = SplitCommandLinkText(ButtonText(i));
            const int title =
                m_measurer.Measure(TaskDialogFont::Large, parts.title, l, MeasureSingleLine | MeasureExpandTabs)
                    .width();
            a = std::max(a, title + 20 + linkIcon);
            if (parts.note) {
                const int note = m_measurer.Measure(TaskDialogFont::Normal, *parts.note, l, kParagraph).width();
                a = std::max(a, note + 20 + linkIcon);
            }
        }
    }

    // Heights.
    const int h1 = m_measurer.Measure(TaskDialogFont::Large, m_texts.mainInstruction, a, kParagraph).height() + 1;
    const int h2 = m_measurer.Measure(TaskDialogFont::Normal, m_texts.contentMeasure, a, kParagraph).height() + 1;
    const int h3 =
        m_measurer.Measure(TaskDialogFont::Normal, m_texts.expandedInformationMeasure, a, kParagraph).height() + 1;
    const int h4 =
        m_measurer.Measure(TaskDialogFont::Normal, m_texts.verification, l, MeasureWordBreak | MeasureExpandTabs)
            .height()
        + 1;
    const int h5 = m_measurer.Measure(TaskDialogFont::Normal, m_texts.footerMeasure, l, kParagraph).height() + 1;

    // Header.
    out.style = TDS_POPUP_CAPTION_MODAL;
    if (Has(TDF_POSITION_RELATIVE_TO_WINDOW))
        out.style |= TDS_CENTER;
    if (Has(TDF_CAN_BE_MINIMIZED))
        out.style |= TDS_MINIMIZEBOX;
    const bool cancellable = Has(TDF_ALLOW_DIALOG_CANCELLATION) || (m_config.dwCommonButtons & TDCBF_CANCEL_BUTTON);
    if (cancellable)
        out.style |= TDS_SYSMENU;
    out.exStyle = Has(TDF_RTL_LAYOUT) ? TDS_EX_RTL : 0;
    out.expanded = Has(TDF_EXPANDED_BY_DEFAULT);

    const TaskDialogItemKind textKind =
        Has(TDF_ENABLE_HYPERLINKS) ? TaskDialogItemKind::Link : TaskDialogItemKind::Static;
    const DWORD hiddenWhileCollapsed = out.expanded ? 0 : TDIS_VISIBLE;

    // Main icon and the text column.
    int x0 = 10;
    int ib = 0;
    if (m_texts.hasMainIcon) {
        out.mainIconId = Add(TaskDialogItemKind::Static, 0, {10, 14, 42, 46}, NextId(), {});
        x0 = 52;
        ib = 46;
    }
    const int right = x0 + a;
    const int width = std::max(right + 10, rowWidth + 20);

    int y = 5;
    if (!m_texts.mainInstruction.isEmpty()) {
        out.mainInstructionId =
            Add(TaskDialogItemKind::Static, 0, {x0, 10, right, 10 + h1}, NextId(), m_texts.mainInstruction);
        y = 10 + h1 + 5;
    }
    if (!m_texts.content.isEmpty()) {
        y += 5;
        out.contentId = Add(textKind, 0, {x0, y, right, y + h2}, NextId(), m_texts.content);
        y = y + h2 + 5;
    }
    const bool hasDetails = !m_texts.expandedInformation.isEmpty();
    if (hasDetails && !Has(TDF_EXPAND_FOOTER_AREA)) {
        out.expandedInformationId = Add(textKind, 0, {x0, y + 5, right, y + 5 + h3}, NextId(),
                                        m_texts.expandedInformation, hiddenWhileCollapsed);
        if (out.expanded)
            y = y + 5 + h3 + 5;
    }
    if (Has(TDF_SHOW_PROGRESS_BAR) || Has(TDF_SHOW_MARQUEE_PROGRESS_BAR)) {
        y += 5;
        out.progressBarId = Add(TaskDialogItemKind::Progress, Has(TDF_SHOW_MARQUEE_PROGRESS_BAR) ? TDIS_MARQUEE : 0,
                                {x0, y, width - 10, y + 14}, NextId(), {});
        y = y + 14 + 5;
    }
    if (m_config.cRadioButtons > 0)
        y += 5;
    for (UINT i = 0; i < m_config.cRadioButtons; ++i) {
        const QString text = i < m_texts.radioButtons.size() ? m_texts.radioButtons[i] : QString();
        const int height = m_measurer.Measure(TaskDialogFont::Normal, text, l, MeasureExpandTabs).height();
        Add(TaskDialogItemKind::Radio, i == 0 ? TDIS_GROUP : 0, {x0 + 10, y, right, y + height},
            m_config.pRadioButtons[i].nButtonID, text);
        y = y + height + 5;
    }
    if (LinksOn() && m_config.cButtons > 0) {
        y += 5;
        for (UINT i = 0; i < m_config.cButtons; ++i) {
            const int height = MeasureCommandLink(ButtonText(i), a - 20 - linkIcon);
            Add(TaskDialogItemKind::Button, TDIS_COMMAND_LINK, {x0, y, right, y + height},
                m_config.pButtons[i].nButtonID, ButtonText(i));
            y += height;
        }
    }
    y += 5;
    if (ib >= y)
        y = ib + 5;

    // The button row.
    out.separators[0] = y + 5;
    const int top = y + 15;
    int x = width - rowWidth - 10;
    bool buttonArea = false;
    if (!LinksOn()) {
        for (UINT i = 0; i < m_config.cButtons; ++i) {
            Add(TaskDialogItemKind::Button, 0, {x, top, x + out.bw, top + out.bh}, m_config.pButtons[i].nButtonID,
                ButtonText(i));
            x += out.bw + 8;
            buttonArea = true;
        }
    }
    for (std::size_t row = 0; row < m_standard.size(); ++row) {
        const bool chosen = (m_config.dwCommonButtons & m_standard[row].flag) != 0 || (row == 0 && implicitOk);
        if (!chosen)
            continue;
        Add(TaskDialogItemKind::Button, TDIS_GROUP, {x, top, x + out.bw, top + out.bh}, m_standard[row].commandId,
            m_standard[row].caption);
        x += out.bw + 8;
        buttonArea = true;
    }
    y = buttonArea ? top + out.bh + 5 : top;

    if (hasDetails) {
        out.expandoId = Add(TaskDialogItemKind::Button, 0, {10, y, 10 + out.ew, y + out.bh}, NextId(),
                            out.expanded ? m_texts.expandedControlText : m_texts.collapsedControlText);
        y = y + out.bh + 5;
        buttonArea = true;
    }
    if (!m_texts.verification.isEmpty()) {
        out.verificationId =
            Add(TaskDialogItemKind::CheckBox, 0, {10, y, right, y + h4}, NextId(), m_texts.verification);
        y = y + h4 + 5;
    } else if (!buttonArea) {
        out.separators[0] = -1;
    }

    int nextSeparator = out.separators[0] == -1 ? 0 : 1;
    if (m_texts.hasFooterIcon || !m_texts.footer.isEmpty()) {
        y += 5;
        out.separators[nextSeparator++] = y;
        const int f = y + 10;
        int textLeft = 10;
        if (m_texts.hasFooterIcon) {
            const int fi = h5 > 16 ? f + (h5 - 16) / 2 : f;
            out.footerIconId = Add(TaskDialogItemKind::Static, 0, {10, fi, 26, fi + 16}, NextId(), {});
            if (fi + 16 >= y)
                y = fi + 16 + 5;
            textLeft = 31;
        }
        out.footerTextId = Add(textKind, 0, {textLeft, f, right, f + h5}, NextId(), m_texts.footer);
        if (f + h5 >= y)
            y = f + h5 + 5;
    }
    if (hasDetails && Has(TDF_EXPAND_FOOTER_AREA)) {
        out.expandedInformationId = Add(textKind, 0, {10, y + 15, right, y + 15 + h3}, NextId(),
                                        m_texts.expandedInformation, hiddenWhileCollapsed);
        if (out.expanded) {
            out.separators[std::max(nextSeparator, 1)] = y + 5;
            y = y + 15 + h3 + 5;
        }
    }

    out.client = QSize(width, y + 5);
    return out;
}

} // namespace

TaskDialogLayout BuildLayout(const TASKDIALOGCONFIG& config, const TaskDialogTexts& texts,
                             const StandardButtonTable& standardButtons, const TaskDialogTextMeasurer& measurer,
                             int screenWidth)
{
    return LayoutBuilder(config, texts, standardButtons, measurer).Build(screenWidth);
}
