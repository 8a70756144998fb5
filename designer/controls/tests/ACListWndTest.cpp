#include "designer/controls/ACListWnd.h"
#include "designer/controls/ACEdit.h"

#include "designer/controls/tests/ControlsTestSupport.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>

#include <ostream>

namespace {

const QString kHistory = QStringLiteral("Preferences\\AutoComplete\\ElementDescription");

std::optional<kwvd::RegistryKey> HistoryKey(kwvd::RegistryStore& store)
{
    return store.CreateKey(HKEY_CURRENT_USER, kHistory);
}

struct AddCase
{
    const char* name;
    std::vector<const char*> added;
    std::vector<const char*> kept;
};

void PrintTo(const AddCase& c, std::ostream* os)
{
    *os << c.name;
}

class AddSearchStringRules : public ::testing::TestWithParam<AddCase>
{};

const AddCase kAddCases[] = {
    {"TwoCharactersIgnored", {"ab"}, {}},
    {"ThreeCharactersKept", {"abc"}, {"abc"}},
    {"SameTextTwiceKeptOnce", {"abc", "abc"}, {"abc"}},
    {"OtherCaseIsAnotherEntry", {"abc", "abc", "ABC"}, {"abc", "ABC"}},
    {"EmptyIgnored", {""}, {}},
    {"OldestFirst", {"one", "two", "three"}, {"one", "two", "three"}},
};

TEST_P(AddSearchStringRules, KeepsWhatTheRulesAllow)
{
    const AddCase& c = GetParam();
    CACListWnd list;
    for (const char* text : c.added)
        list.AddSearchString(QString::fromUtf8(text));
    QStringList kept;
    for (const char* text : c.kept)
        kept << QString::fromUtf8(text);
    EXPECT_EQ(list.SearchStrings(), kept) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Table, AddSearchStringRules, ::testing::ValuesIn(kAddCases),
                         [](const auto& info) { return std::string(info.param.name); });

class ACListWndTest : public ControlsTest
{
protected:
    QString Entry(int i) { return QStringLiteral("Entry %1").arg(i, 2, 10, QChar(u'0')); }
};

TEST_F(ACListWndTest, TheFiftyFirstEntryDropsTheOldestAndTheSaveWritesZeroToFortyNine)
{
    auto key = HistoryKey(m_store);
    ASSERT_TRUE(key);
    // Left over from a longer history: must go.
    m_store.WriteValue(*key, QStringLiteral("SearchString50"), kwvd::RegistryValue::Text(u"stale"));
    {
        CACListWnd list;
        list.m_nMaxCount = 50;
        list.LoadSearchStrings(HKEY_CURRENT_USER, kHistory);
        for (int i = 0; i <= 50; ++i)
            list.AddSearchString(Entry(i));
        ASSERT_EQ(list.SearchStrings().size(), 50);
        EXPECT_EQ(list.SearchStrings().first(), Entry(1));
        EXPECT_EQ(list.SearchStrings().last(), Entry(50));
    }
    const auto values = m_store.EnumValues(*key);
    QStringList names;
    for (const auto& [name, value] : values)
        names << name;
    ASSERT_EQ(names.size(), 51);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(m_store.ReadText(*key, QStringLiteral("SearchString%1").arg(i)), Entry(i + 1)) << i;
    // Only values up to the maximum count minus one are deleted.
    EXPECT_TRUE(m_store.ReadText(*key, QStringLiteral("SearchString50")).has_value());
}

TEST_F(ACListWndTest, LoadTakesEveryValueWhoseNameBeginsSearchStringInTheStoresOrder)
{
    auto key = HistoryKey(m_store);
    ASSERT_TRUE(key);
    for (int i = 0; i < 5; ++i)
        m_store.WriteValue(*key, QStringLiteral("SearchString%1").arg(i), kwvd::RegistryValue::Text(Entry(9 - i)));
    m_store.WriteValue(*key, QStringLiteral("SearchStringX"), kwvd::RegistryValue::Text(u"Extra"));
    m_store.WriteValue(*key, QStringLiteral("Other"), kwvd::RegistryValue::Text(u"Not history"));
    m_store.WriteValue(*key, QStringLiteral("SearchString9"), kwvd::RegistryValue::Number(7));

    QStringList loaded;
    {
        CACListWnd list;
        list.m_nMaxCount = 50;
        list.LoadSearchStrings(HKEY_CURRENT_USER, kHistory);
        loaded = list.SearchStrings();
        EXPECT_EQ(loaded, (QStringList{Entry(9), Entry(8), Entry(7), Entry(6), Entry(5), QStringLiteral("Extra")}));
    }
    CACListWnd again;
    again.m_nMaxCount = 50;
    again.LoadSearchStrings(HKEY_CURRENT_USER, kHistory);
    EXPECT_EQ(again.SearchStrings(), loaded);
}

class ACListShown : public ControlsTest
{
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        m_field.setObjectName(QStringLiteral("1001"));
        m_field.setGeometry(100, 100, 240, 24);
        m_field.show();
        m_edit.Init(&m_field);
    }

    void Fill(int matching, int others)
    {
        for (int i = 0; i < matching; ++i)
            m_edit.m_Liste.AddSearchString(QStringLiteral("Match %1").arg(i, 2, 10, QChar(u'0')));
        for (int i = 0; i < others; ++i)
            m_edit.m_Liste.AddSearchString(QStringLiteral("Other %1").arg(i));
    }

    void Mouse(QEvent::Type type, QPoint pos, Qt::MouseButton button)
    {
        CACListWnd& list = m_edit.m_Liste;
        QMouseEvent event(type, pos, list.mapToGlobal(pos), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
        QCoreApplication::sendEvent(&list, &event);
    }

    QLineEdit m_field;
    CACEdit m_edit;
};

TEST_F(ACListShown, ThirteenMatchesShowTwelveRowsAndAScrollBar)
{
    Fill(13, 3);
    CACListWnd& list = m_edit.m_Liste;
    ASSERT_EQ(list.FindString(-1, QStringLiteral("match")), 1);
    EXPECT_TRUE(list.isVisible());
    EXPECT_EQ(list.DisplayStrings().size(), 13);
    EXPECT_EQ(list.height(), 12 * list.RowHeight() + 2);
    EXPECT_EQ(list.VisibleRows(), 12);
    EXPECT_TRUE(list.IsScrollBarShown());
    EXPECT_EQ(list.width(), m_field.width());
    EXPECT_EQ(list.geometry().topLeft(), m_field.mapToGlobal(QPoint(0, m_field.height())));
}

TEST_F(ACListShown, TwelveMatchesFitExactly)
{
    Fill(12, 3);
    CACListWnd& list = m_edit.m_Liste;
    list.FindString(-1, QStringLiteral("MATCH"));
    EXPECT_EQ(list.height(), 12 * list.RowHeight() + 2);
    EXPECT_FALSE(list.IsScrollBarShown());
}

TEST_F(ACListShown, MatchingIgnoresCaseAndTheDisplayIsSortedWithoutRegardToCase)
{
    m_edit.m_Liste.AddSearchString(QStringLiteral("PRINTER b"));
    m_edit.m_Liste.AddSearchString(QStringLiteral("printer A"));
    m_edit.m_Liste.AddSearchString(QStringLiteral("Plotter"));
    m_edit.m_Liste.FindString(-1, QStringLiteral("pri"));
    EXPECT_EQ(m_edit.m_Liste.DisplayStrings(), (QStringList{QStringLiteral("printer A"), QStringLiteral("PRINTER b")}));
}

TEST_F(ACListShown, MatchAnywhereFlagAndPrefixCharacter)
{
    CACListWnd& list = m_edit.m_Liste;
    list.AddSearchString(QStringLiteral("alpha"));
    list.AddSearchString(QStringLiteral("beta"));
    list.m_lMode = 0x20;
    list.FindString(-1, QStringLiteral("ph"));
    EXPECT_EQ(list.DisplayStrings(), QStringList{QStringLiteral("alpha")});
    list.m_lMode = 0;
    list.m_PrefixChar = u'@';
    list.FindString(-1, QStringLiteral("@be"));
    EXPECT_EQ(list.DisplayStrings(), QStringList{QStringLiteral("beta")});
}

TEST_F(ACListShown, NoMatchOrAnEmptyTextHidesTheList)
{
    Fill(3, 0);
    CACListWnd& list = m_edit.m_Liste;
    list.FindString(-1, QStringLiteral("mat"));
    ASSERT_TRUE(list.isVisible());
    EXPECT_EQ(list.FindString(-1, QStringLiteral("zzz")), 1);
    EXPECT_FALSE(list.isVisible());
    list.FindString(-1, QStringLiteral("mat"));
    EXPECT_EQ(list.FindString(-1, QString()), -1);
    EXPECT_FALSE(list.isVisible());
}

TEST_F(ACListShown, AGripResizeIsKeptForLaterOpenings)
{
    Fill(3, 0);
    CACListWnd& list = m_edit.m_Liste;
    list.FindString(-1, QStringLiteral("mat"));
    const QPoint grip(list.width() - 4, list.height() - 4);
    Mouse(QEvent::MouseButtonPress, grip, Qt::LeftButton);
    Mouse(QEvent::MouseMove, grip + QPoint(60, 80), Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, grip + QPoint(60, 80), Qt::LeftButton);
    const QSize dragged = list.size();
    EXPECT_EQ(dragged.width(), m_field.width() + 60);
    EXPECT_EQ(list.UserSize().size(), dragged);

    list.HideList();
    m_edit.m_Liste.AddSearchString(QStringLiteral("Match more"));
    list.FindString(-1, QStringLiteral("match m"));
    EXPECT_EQ(list.size(), dragged);
}

struct MoveCase
{
    const char* name;
    int from;
    int key;
    int to;
};

void PrintTo(const MoveCase& c, std::ostream* os)
{
    *os << c.name;
}

class SelectionMoves : public ACListShown, public ::testing::WithParamInterface<MoveCase>
{};

const MoveCase kMoves[] = {
    {"DownFromNoneSelectsTheFirst", -1, Qt::Key_Down, 0},
    {"UpAtTheFirstStays", 0, Qt::Key_Up, 0},
    {"DownAtTheLastStays", 19, Qt::Key_Down, 19},
    {"PageDownMovesAPage", 0, Qt::Key_PageDown, 12},
    {"PageDownNearTheEndGoesToTheLast", 10, Qt::Key_PageDown, 19},
    {"PageUpStopsAtTheFirst", 5, Qt::Key_PageUp, 0},
    {"HomeAndEnd", 7, Qt::Key_End, 19},
    {"Home", 7, Qt::Key_Home, 0},
};

TEST_P(SelectionMoves, MovesAndScrollsTheSelectionIntoView)
{
    const MoveCase& c = GetParam();
    Fill(20, 0);
    CACListWnd& list = m_edit.m_Liste;
    list.FindString(-1, QStringLiteral("match"));
    if (c.from >= 0) {
        list.SelectItem(Qt::Key_Home);
        for (int i = 0; i < c.from; ++i)
            list.SelectItem(Qt::Key_Down);
    }
    const QString chosen = list.SelectItem(c.key);
    EXPECT_EQ(list.SelectedRow(), c.to) << c.name;
    EXPECT_EQ(chosen, list.DisplayStrings()[c.to]) << c.name;
    EXPECT_LE(list.TopRow(), c.to) << c.name;
    EXPECT_LT(c.to, list.TopRow() + list.VisibleRows()) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Table, SelectionMoves, ::testing::ValuesIn(kMoves),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ACListShown, HoverSelectsAndRightClickHides)
{
    Fill(5, 0);
    CACListWnd& list = m_edit.m_Liste;
    list.FindString(-1, QStringLiteral("match"));
    Mouse(QEvent::MouseMove, QPoint(20, 1 + 2 * list.RowHeight() + 2), Qt::NoButton);
    EXPECT_EQ(list.SelectedRow(), 2);
    Mouse(QEvent::MouseButtonPress, QPoint(20, 5), Qt::RightButton);
    EXPECT_FALSE(list.isVisible());
    EXPECT_EQ(list.SelectedRow(), -1);
}

TEST_F(ACListShown, MovingTheDialogHidesTheListAtTheNextCheck)
{
    Fill(5, 0);
    CACListWnd& list = m_edit.m_Liste;
    list.FindString(-1, QStringLiteral("match"));
    m_field.move(m_field.pos() + QPoint(30, 0));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !list.isVisible(); }, 5000));
}

} // namespace
