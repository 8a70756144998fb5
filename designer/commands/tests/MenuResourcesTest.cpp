// The menus of the resource source: the explorer's and the panes' context
// menus item by item, every text of every menu found in the string table,
// and a Qt menu filled from them.

#include "designer/commands/MenuResources.h"
#include "designer/commands/CommandIds.h"
#include "platform/ui/StringTable.h"
#include "tests/support/QtApplicationEnvironment.h"

#include <QAction>
#include <QMenu>

#include <gtest/gtest.h>

#include <string>

namespace {

// One line per node: "-" for a separator, "[title]" and its items indented
// for a popup, else the item's text and id.
void Describe(const std::vector<MenuNode>& nodes, const QString& indent, QStringList& lines)
{
    for (const MenuNode& node : nodes) {
        switch (node.kind) {
        case MenuNode::Kind::Separator:
            lines << indent + QStringLiteral("-");
            break;
        case MenuNode::Kind::Popup:
            lines << indent + QStringLiteral("[%1]").arg(LoadResString(node.textId));
            Describe(node.children, indent + QStringLiteral("  "), lines);
            break;
        case MenuNode::Kind::Item:
            lines << indent + QStringLiteral("%1 %2").arg(LoadResString(node.textId)).arg(node.id);
            break;
        }
    }
}

std::string Described(UINT menuId)
{
    QStringList lines;
    Describe(LoadMenuResource(menuId), QString(), lines);
    return lines.join(QLatin1Char('|')).toStdString();
}

// The recent files after the first are named by the program as it runs.
bool NamedWhileRunning(const MenuNode& node)
{
    return node.id > ID_FILE_MRU_FILE1 && node.id < ID_FILE_MRU_FILE1 + MRU_FILE_COUNT;
}

void CollectTextIds(const std::vector<MenuNode>& nodes, std::vector<UINT>& ids)
{
    for (const MenuNode& node : nodes) {
        if (node.kind != MenuNode::Kind::Separator && !NamedWhileRunning(node))
            ids.push_back(node.textId);
        CollectTextIds(node.children, ids);
    }
}

} // namespace

TEST(MenuResources, TheExplorersMenuShowsNoShortcuts)
{
    const QStringList expected = {
        "[Explorer Popup]",
        "  Cu&t 57635",
        "  &Copy 57634",
        "  &Paste 57637",
        "  &Delete 57632",
        "  -",
        "  Bring to &Front 32771",
        "  Bring All to Front 32889",
        "  &Send to Back 32784",
        "  Send All to Back 32890",
        "  -",
        "  Move Up 32779",
        "  Move Down 32778",
        "  -",
        "  Expand Branch 32775",
        "  Expand All 32774",
        "  Collapse Branch 32773",
        "  Collapse All 32772",
        "  -",
        "  Properties... 32781",
    };
    EXPECT_EQ(Described(IDR_EXPLORER_POPUP), expected.join(QLatin1Char('|')).toStdString());
}

TEST(MenuResources, ThePanesMenuShowsTheAcceleratorsAndAZoomPopup)
{
    QStringList expected = {
        "[View Popup]",
        "  Cu&t\tCtrl+X 57635",
        "  &Copy\tCtrl+C 57634",
        "  &Paste\tCtrl+V 57637",
        "  &Delete\tDel 57632",
        "  -",
        "  Bring to &Front\tCtrl+J 32771",
        "  Bring All to Front\tCtrl+Shift+J 32889",
        "  &Send to Back\tCtrl+K 32784",
        "  Send All to Back\tCtrl+Shift+K 32890",
        "  -",
        "  [Zoom...]",
        "    Width 32883",
        "    Height 32879",
        "    Page 32882",
        "    -",
    };
    const int steps[] = {25, 50, 75, 100, 125, 150, 175, 200, 250, 300};
    for (int i = 0; i < 10; ++i)
        expected << QStringLiteral("    %1 % %2").arg(steps[i]).arg(ID_VIEW_ZOOM_FIRST + i);
    expected << "  -"
             << "  Properties... 32781";
    EXPECT_EQ(Described(IDR_VIEW_POPUP), expected.join(QLatin1Char('|')).toStdString());
}

TEST(MenuResources, EveryTextOfEveryMenuIsInTheStringTable)
{
    for (UINT menuId : {IDR_MAINFRAME, IDR_EXPLORER_POPUP, IDR_VIEW_POPUP}) {
        const std::vector<MenuNode> menu = LoadMenuResource(menuId);
        EXPECT_FALSE(menu.empty()) << menuId;
        std::vector<UINT> ids;
        CollectTextIds(menu, ids);
        for (UINT id : ids)
            EXPECT_TRUE(StringTable::Find(id).has_value()) << "menu " << menuId << ", string " << id;
    }
    EXPECT_TRUE(LoadMenuResource(1).empty()) << "an unknown menu";
}

TEST(MenuResources, FillMenuMakesPopupsAndLeavesItemsToTheCaller)
{
    QMenu menu;
    QStringList made;
    FillMenu(&menu, LoadMenuResource(IDR_VIEW_POPUP).front().children, [&made](QMenu* m, const MenuNode& node) {
        m->addAction(LoadResString(node.textId))->setData(node.id);
        made << m->objectName();
    });
    EXPECT_EQ(made.count(QString()), 9) << "the nine items of the menu itself";
    EXPECT_EQ(made.count(QStringLiteral("Zoom")), 13) << "the zoom items in the named popup";
    auto* zoom = menu.findChild<QMenu*>(QStringLiteral("Zoom"));
    ASSERT_NE(zoom, nullptr);
    EXPECT_EQ(zoom->title(), QStringLiteral("Zoom..."));
    EXPECT_EQ(zoom->actions().size(), 14) << "thirteen items and a separator";
}
