#include "designer/shell/UserToolBars.h"

#include "designer/commands/CommandIds.h"
#include "designer/shell/ShellResources.h"
#include "platform/registry/RegistryStore.h"

#include <QAction>
#include <QLinearGradient>
#include <QMainWindow>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QToolBar>

namespace {

constexpr int kImageSize = 16;

struct Glyph
{
    UINT id;
    const char* text; // short mark drawn on the button
    QRgb colour;
};

// Our own pictures: a coloured tile with a short mark. The colours group the
// commands (tools blue, files green, edit orange, panes grey).
constexpr Glyph kGlyphs[] = {
    {ID_TOOL_SELECT, ">", 0x2060c0},        {ID_TOOL_SPOOLED_FILE, "S", 0x2060c0},
    {ID_TOOL_ERASER, "E", 0x2060c0},        {ID_TOOL_LOOP, "L", 0x2060c0},
    {ID_TOOL_CONDITIONAL, "?", 0x2060c0},   {ID_TOOL_IMAGE, "I", 0x2060c0},
    {ID_TOOL_STATIC_TEXT, "T", 0x2060c0},   {ID_TOOL_EXIT_PARAMETER, "P", 0x2060c0},
    {ID_TOOL_VARIABLE, "V", 0x2060c0},      {ID_TOOL_ADDRESS, "@", 0x2060c0},
    {ID_TOOL_BARCODE, "|", 0x2060c0},       {ID_TOOL_XML_ELEMENT, "<>", 0x806020},
    {ID_TOOL_XML_ATTRIBUTE, "=", 0x806020}, {ID_TOOL_XML_COMMENT, "!", 0x806020},
    {ID_TOOL_LOCK, "#", 0x804080},          {ID_FILE_NEW, "N", 0x308030},
    {ID_FILE_OPEN, "O", 0x308030},          {ID_FILE_SAVE, "S", 0x308030},
    {ID_FILE_EXPORT_WVD, "X", 0x308030},    {ID_EDIT_CUT, "C", 0xc06010},
    {ID_EDIT_COPY, "2", 0xc06010},          {ID_EDIT_PASTE, "V", 0xc06010},
    {ID_VIEW_PREV_PAGE, "<", 0x606060},     {ID_VIEW_NEXT_PAGE, ">", 0x606060},
    {ID_FILE_PRINT, "P", 0x308030},         {ID_HELP, "?", 0x6040a0},
    {ID_CONTEXT_HELP, "?>", 0x6040a0},      {ID_VIEW_INPUT_PANE, "[ ", 0x606060},
    {ID_VIEW_BOTH_PANES, "[]", 0x606060},   {ID_VIEW_OUTPUT_PANE, " ]", 0x606060},
    {ID_VIEW_EXPLORER, "T", 0x606060},
};

QString BarKeyName(UINT barId)
{
    return QStringLiteral("Bar-%1").arg(barId);
}

} // namespace

QIcon CommandIcon(UINT command, BOOL highColour)
{
    const Glyph* glyph = nullptr;
    for (const Glyph& g : kGlyphs)
        if (g.id == command)
            glyph = &g;
    if (!glyph)
        return {};

    QPixmap pixmap(kImageSize, kImageSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const QColor colour = QColor::fromRgb(glyph->colour);
    const QRectF tile(0.5, 0.5, kImageSize - 1, kImageSize - 1);
    if (highColour) {
        painter.setRenderHint(QPainter::Antialiasing);
        QLinearGradient gradient(0, 0, 0, kImageSize);
        gradient.setColorAt(0, colour.lighter(160));
        gradient.setColorAt(1, colour);
        QPainterPath path;
        path.addRoundedRect(tile, 3, 3);
        painter.fillPath(path, gradient);
        painter.setPen(colour.darker(140));
        painter.drawPath(path);
    } else {
        painter.fillRect(tile, colour);
        painter.setPen(Qt::black);
        painter.drawRect(tile);
    }
    QFont font = painter.font();
    font.setPixelSize(10);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, kImageSize, kImageSize), Qt::AlignCenter, QString::fromLatin1(glyph->text));
    painter.end();
    return QIcon(pixmap);
}

CUserToolBars::CUserToolBars(QMainWindow& frame, std::function<QAction*(UINT)> actionFor,
                             std::function<void(QAction*, UINT)> bind)
    : m_frame(frame), m_actionFor(std::move(actionFor)), m_bind(std::move(bind))
{}

CUserToolBars::~CUserToolBars() = default;

CUserToolBars::Entry* CUserToolBars::Find(UINT barId)
{
    for (Entry& bar : m_bars)
        if (bar.id == barId)
            return &bar;
    return nullptr;
}

const CUserToolBars::Entry* CUserToolBars::Find(UINT barId) const
{
    for (const Entry& bar : m_bars)
        if (bar.id == barId)
            return &bar;
    return nullptr;
}

QToolBar* CUserToolBars::MakeBar(UINT barId, const QString& name)
{
    auto* bar = new QToolBar(name, &m_frame);
    // The object name keys the bar in the saved window state.
    bar->setObjectName(QStringLiteral("UserToolBar-%1").arg(barId));
    m_frame.addToolBar(Qt::TopToolBarArea, bar);
    if (m_created)
        m_created(bar);
    return bar;
}

std::optional<UINT> CUserToolBars::Create(const QString& name)
{
    for (UINT id = ID_USER_TOOLBAR_FIRST; id <= ID_USER_TOOLBAR_LAST; ++id) {
        if (!Find(id)) {
            m_bars.push_back({id, MakeBar(id, name), {}});
            return id;
        }
    }
    return std::nullopt;
}

BOOL CUserToolBars::Remove(UINT barId)
{
    for (auto it = m_bars.begin(); it != m_bars.end(); ++it) {
        if (it->id == barId) {
            m_frame.removeToolBar(it->bar);
            delete it->bar;
            m_bars.erase(it);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CUserToolBars::Rename(UINT barId, const QString& name)
{
    Entry* bar = Find(barId);
    if (!bar || name.trimmed().isEmpty())
        return FALSE;
    bar->bar->setWindowTitle(name.trimmed());
    return TRUE;
}

BOOL CUserToolBars::AddButton(UINT barId, UserToolBarButton button)
{
    Entry* bar = Find(barId);
    if (!bar || button.id == 0 || !m_actionFor(button.id))
        return FALSE;
    if (button.image >= UserImageCount())
        button.image = -1;
    bar->buttons.push_back(button);
    Rebuild(*bar);
    return TRUE;
}

BOOL CUserToolBars::RemoveButton(UINT barId, int index)
{
    Entry* bar = Find(barId);
    if (!bar || index < 0 || index >= int(bar->buttons.size()))
        return FALSE;
    bar->buttons.erase(bar->buttons.begin() + index);
    Rebuild(*bar);
    return TRUE;
}

void CUserToolBars::Rebuild(Entry& bar)
{
    const QList<QAction*> old = bar.bar->actions();
    bar.bar->clear();
    for (QAction* action : old)
        if (action->parent() == bar.bar)
            delete action;
    for (const UserToolBarButton& button : bar.buttons) {
        QAction* action = m_actionFor(button.id);
        if (!action)
            continue;
        if (button.image >= 0) {
            // A picture of the user's own shows on this bar only, so the
            // button gets an action of its own for the same command.
            auto* own = new QAction(UserImage(button.image), action->text(), bar.bar);
            own->setToolTip(action->toolTip());
            m_bind(own, button.id);
            action = own;
        }
        bar.bar->addAction(action);
    }
}

std::vector<UINT> CUserToolBars::BarIds() const
{
    std::vector<UINT> ids;
    for (const Entry& bar : m_bars)
        ids.push_back(bar.id);
    return ids;
}

QToolBar* CUserToolBars::ToolBarOf(UINT barId) const
{
    const Entry* bar = Find(barId);
    return bar ? bar->bar : nullptr;
}

QString CUserToolBars::Name(UINT barId) const
{
    const Entry* bar = Find(barId);
    return bar ? bar->bar->windowTitle() : QString();
}

std::vector<UserToolBarButton> CUserToolBars::Buttons(UINT barId) const
{
    const Entry* bar = Find(barId);
    return bar ? bar->buttons : std::vector<UserToolBarButton>();
}

BOOL CUserToolBars::LoadUserImages(const QString& path)
{
    QImage image(path);
    if (image.isNull() || image.height() < kImageSize || image.width() < kImageSize)
        return FALSE;
    m_images = image;
    return TRUE;
}

int CUserToolBars::UserImageCount() const
{
    return m_images.isNull() ? 0 : m_images.width() / kImageSize;
}

QIcon CUserToolBars::UserImage(int index) const
{
    if (index < 0 || index >= UserImageCount())
        return {};
    return QIcon(QPixmap::fromImage(m_images.copy(index * kImageSize, 0, kImageSize, kImageSize)));
}

void CUserToolBars::Save(const kwvd::RegistryKey& key) const
{
    kwvd::RegistryStore& store = kwvd::RegistryStore::Instance();
    store.DeleteKey(key, u"UserToolbars");
    const std::optional<kwvd::RegistryKey> bars = store.CreateKey(key, u"UserToolbars");
    if (!bars)
        return;
    for (const Entry& bar : m_bars) {
        const std::optional<kwvd::RegistryKey> barKey = store.CreateKey(*bars, BarKeyName(bar.id));
        if (!barKey)
            continue;
        QStringList buttons;
        for (const UserToolBarButton& button : bar.buttons)
            buttons << QStringLiteral("%1:%2").arg(button.id).arg(button.image);
        store.WriteValue(*barKey, u"Name", kwvd::RegistryValue::Text(bar.bar->windowTitle()));
        store.WriteValue(*barKey, u"Buttons", kwvd::RegistryValue::Text(buttons.join(u',')));
    }
}

void CUserToolBars::Load(const kwvd::RegistryKey& key)
{
    kwvd::RegistryStore& store = kwvd::RegistryStore::Instance();
    const std::optional<kwvd::RegistryKey> bars = store.OpenKey(key, u"UserToolbars");
    if (!bars)
        return;
    while (!m_bars.empty())
        Remove(m_bars.back().id);
    for (UINT id = ID_USER_TOOLBAR_FIRST; id <= ID_USER_TOOLBAR_LAST; ++id) {
        const std::optional<kwvd::RegistryKey> barKey = store.OpenKey(*bars, BarKeyName(id));
        if (!barKey)
            continue;
        const QString name = store.ReadText(*barKey, u"Name").value_or(QString());
        m_bars.push_back({id, MakeBar(id, name), {}});
        Entry& bar = m_bars.back();
        const QString buttons = store.ReadText(*barKey, u"Buttons").value_or(QString());
        for (const QString& entry : buttons.split(u',', Qt::SkipEmptyParts)) {
            bool idOk = false;
            bool imageOk = false;
            const UINT command = entry.section(u':', 0, 0).toUInt(&idOk);
            const int image = entry.section(u':', 1, 1).toInt(&imageOk);
            if (!idOk || !m_actionFor(command))
                continue;
            bar.buttons.push_back({command, imageOk && image >= 0 && image < UserImageCount() ? image : -1});
        }
        Rebuild(bar);
    }
}
