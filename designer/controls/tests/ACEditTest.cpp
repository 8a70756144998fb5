#include "designer/controls/ACEdit.h"

#include "designer/controls/tests/ControlsTestSupport.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include <ostream>
#include <utility>
#include <vector>

namespace {

class ACEditTest : public ControlsTest
{
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        auto* layout = new QVBoxLayout(&m_dialog);
        m_field = new QLineEdit(&m_dialog);
        m_field->setObjectName(QStringLiteral("1201"));
        layout->addWidget(m_field);
        m_other = new QLineEdit(&m_dialog);
        layout->addWidget(m_other);
        QObject::connect(&m_dialog, &QDialog::rejected, [this] { ++m_rejected; });
        m_dialog.show();
        m_field->setFocus();
        QObject::connect(&m_edit, &CACEdit::Notify, [this](int code, int id) { m_notes.emplace_back(code, id); });
    }

    void Attach(const std::vector<const char*>& history)
    {
        m_edit.Init(m_field);
        m_edit.m_Liste.m_nMaxCount = 50;
        for (const char* text : history)
            m_edit.m_Liste.AddSearchString(QString::fromUtf8(text));
    }

    CACListWnd& List() { return m_edit.m_Liste; }

    QDialog m_dialog;
    QLineEdit* m_field;
    QLineEdit* m_other;
    CACEdit m_edit;
    std::vector<std::pair<int, int>> m_notes;
    int m_rejected = 0;
};

TEST_F(ACEditTest, AnEmptyHistoryNeverOpensTheList)
{
    Attach({});
    QTest::keyClicks(m_field, QStringLiteral("abc"));
    EXPECT_FALSE(List().isVisible());
    QTest::keyClick(m_field, Qt::Key_Down);
    EXPECT_FALSE(List().isVisible());
    ASSERT_EQ(m_notes.size(), 3u);
    EXPECT_EQ(m_notes[0], std::make_pair(0x400, 1201));
}

TEST_F(ACEditTest, TypingFiltersTheHistory)
{
    Attach({"Invoice header", "Invoice footer", "Address"});
    QTest::keyClicks(m_field, QStringLiteral("inv"));
    ASSERT_TRUE(List().isVisible());
    EXPECT_EQ(List().DisplayStrings(),
              (QStringList{QStringLiteral("Invoice footer"), QStringLiteral("Invoice header")}));
}

TEST_F(ACEditTest, DownInAnEmptyFieldOpensTheWholeHistorySorted)
{
    Attach({"beta", "Alpha", "gamma"});
    QTest::keyClick(m_field, Qt::Key_Down);
    ASSERT_TRUE(List().isVisible());
    EXPECT_EQ(List().DisplayStrings(),
              (QStringList{QStringLiteral("Alpha"), QStringLiteral("beta"), QStringLiteral("gamma")}));
    EXPECT_TRUE(m_field->text().isEmpty());
}

TEST_F(ACEditTest, DownInAFilledFieldWithTheListClosedDoesNothingMore)
{
    Attach({"beta", "Alpha"});
    m_field->setText(QStringLiteral("zz"));
    m_notes.clear();
    QTest::keyClick(m_field, Qt::Key_Down);
    EXPECT_FALSE(List().isVisible());
    EXPECT_EQ(m_field->text(), QStringLiteral("zz"));
    EXPECT_TRUE(m_notes.empty());
}

TEST_F(ACEditTest, ChoosingWritesTheWholeEntryWithoutFilteringAgain)
{
    Attach({"Invoice header", "Invoice footer", "Address"});
    QTest::keyClicks(m_field, QStringLiteral("inv"));
    m_notes.clear();
    QTest::keyClick(m_field, Qt::Key_Down);
    EXPECT_EQ(m_field->text(), QStringLiteral("Invoice footer"));
    EXPECT_EQ(m_field->cursorPosition(), 14);
    EXPECT_TRUE(m_field->isModified());
    // The write did not filter: both entries are still offered.
    EXPECT_EQ(List().DisplayStrings().size(), 2);
    EXPECT_EQ(List().SelectedRow(), 0);
    ASSERT_EQ(m_notes.size(), 2u);
    EXPECT_EQ(m_notes[0].first, 0x400);
    EXPECT_EQ(m_notes[1].first, 0x100);
    QTest::keyClick(m_field, Qt::Key_Down);
    EXPECT_EQ(m_field->text(), QStringLiteral("Invoice header"));
}

TEST_F(ACEditTest, EscapeClosesAnOpenListAndIsConsumedElseReachesTheDialog)
{
    Attach({"Invoice header"});
    QTest::keyClicks(m_field, QStringLiteral("inv"));
    ASSERT_TRUE(List().isVisible());
    QTest::keyClick(m_field, Qt::Key_Escape);
    EXPECT_FALSE(List().isVisible());
    EXPECT_EQ(m_rejected, 0);
    EXPECT_TRUE(m_dialog.isVisible());
    QTest::keyClick(m_field, Qt::Key_Escape);
    EXPECT_EQ(m_rejected, 1);
}

TEST_F(ACEditTest, DeleteWithTheListOpenRemovesTheHighlightedEntry)
{
    Attach({"Invoice header", "Invoice footer"});
    QTest::keyClicks(m_field, QStringLiteral("inv"));
    QTest::keyClick(m_field, Qt::Key_Down);
    const QString text = m_field->text();
    QTest::keyClick(m_field, Qt::Key_Delete);
    EXPECT_EQ(List().SearchStrings(), QStringList{QStringLiteral("Invoice header")});
    EXPECT_EQ(m_field->text(), text);
}

TEST_F(ACEditTest, AProgramTextIsReportedButOpensNoList)
{
    Attach({"Invoice header"});
    m_field->setText(QStringLiteral("Inv"));
    EXPECT_FALSE(List().isVisible());
    ASSERT_EQ(m_notes.size(), 1u);
    EXPECT_EQ(m_notes[0], std::make_pair(0x400, 1201));
}

TEST_F(ACEditTest, FocusLossHidesTheList)
{
    Attach({"Invoice header"});
    QTest::keyClicks(m_field, QStringLiteral("inv"));
    ASSERT_TRUE(List().isVisible());
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(m_field, &out);
    EXPECT_FALSE(List().isVisible());
}

TEST_F(ACEditTest, AClickedRowIsWrittenAndTheListClosesAfterwards)
{
    Attach({"Invoice header", "Invoice footer"});
    QTest::keyClicks(m_field, QStringLiteral("inv"));
    const QPoint row1(20, 1 + List().RowHeight() + List().RowHeight() / 2);
    QMouseEvent press(QEvent::MouseButtonPress, row1, List().mapToGlobal(row1), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&List(), &press);
    EXPECT_EQ(m_field->text(), QStringLiteral("Invoice header"));
    EXPECT_TRUE(List().isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !List().isVisible(); }, 5000));
}

TEST_F(ACEditTest, OtherWidgetsStayInert)
{
    QLabel label;
    m_edit.Init(&label);
    EXPECT_EQ(m_edit.m_iType, -1);
    m_edit.Init(m_field);
    EXPECT_EQ(m_edit.m_iType, 1);
}

TEST_F(ACEditTest, InAComboBoxUpAndDownMoveInTheOpenListNotInTheItems)
{
    QComboBox combo(&m_dialog);
    combo.setEditable(true);
    combo.setObjectName(QStringLiteral("1202"));
    combo.addItems({QStringLiteral("first item"), QStringLiteral("second item")});
    combo.setCurrentIndex(0);
    m_dialog.layout()->addWidget(&combo);
    CACEdit edit;
    edit.Init(&combo);
    ASSERT_EQ(edit.m_iType, 2);
    edit.m_Liste.AddSearchString(QStringLiteral("Invoice header"));
    edit.m_Liste.AddSearchString(QStringLiteral("Invoice footer"));
    combo.setFocus();
    combo.lineEdit()->clear();
    QTest::keyClicks(&combo, QStringLiteral("inv"));
    ASSERT_TRUE(edit.m_Liste.isVisible());
    QTest::keyClick(&combo, Qt::Key_Down);
    QTest::keyClick(&combo, Qt::Key_Down);
    EXPECT_EQ(combo.currentText(), QStringLiteral("Invoice header"));
    QTest::keyClick(&combo, Qt::Key_Up);
    EXPECT_EQ(combo.currentText(), QStringLiteral("Invoice footer"));
    EXPECT_EQ(combo.currentIndex(), 0);
    combo.showPopup();
    EXPECT_FALSE(edit.m_Liste.isVisible());
    combo.hidePopup();
}

struct TokenCase
{
    const char* name;
    const char* text;
    int caret;
    int left;
    int leftCounted;
    int right;
    bool prefixBefore;
};

void PrintTo(const TokenCase& c, std::ostream* os)
{
    *os << c.name;
}

class SeparatorTokens : public ACEditTest, public ::testing::WithParamInterface<TokenCase>
{};

// Separators ",;" and the prefix "@".
const TokenCase kTokens[] = {
    {"WholeTextWithoutSeparators", "abc", 3, 0, 0, 3, false}, {"SecondToken", "ab,cd", 5, 3, 3, 5, false},
    {"CaretInsideFirstToken", "ab,cd", 1, 0, 0, 2, false},    {"CaretRightAfterSeparator", "ab;cd", 3, 3, 3, 5, false},
    {"PrefixStopsTheScan", "x,@name", 7, 2, 3, 7, true},      {"OneCharacterText", "a", 1, 0, 0, 1, false},
    {"OnePrefixCharacterCountsNot", "@", 1, 0, 1, 1, false},  {"CaretAtStart", "ab,cd", 0, 0, 0, 2, false},
};

TEST_P(SeparatorTokens, Bounds)
{
    const TokenCase& c = GetParam();
    m_edit.m_SeparationStr = QStringLiteral(",;");
    m_edit.m_PrefixChar = u'@';
    m_edit.m_EditText = QString::fromUtf8(c.text);
    EXPECT_EQ(m_edit.FindSepLeftPos(c.caret, false), c.left) << c.name;
    EXPECT_EQ(m_edit.FindSepLeftPos(c.caret, true), c.leftCounted) << c.name;
    EXPECT_EQ(m_edit.FindSepRightPos(c.caret), c.right) << c.name;
    EXPECT_EQ(m_edit.HasPrefixBeforeCaret(c.caret), c.prefixBefore) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Table, SeparatorTokens, ::testing::ValuesIn(kTokens),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ACEditTest, SeparatorModeReplacesOnlyTheTokenAtTheCaret)
{
    Attach({"alpha", "beta"});
    m_edit.m_iMode = CACEdit::ACEDIT_SEPARATOR;
    m_edit.m_SeparationStr = QStringLiteral(",");
    QTest::keyClicks(m_field, QStringLiteral("x,be"));
    ASSERT_TRUE(List().isVisible());
    QTest::keyClick(m_field, Qt::Key_Down);
    EXPECT_EQ(m_field->text(), QStringLiteral("x,beta"));
    EXPECT_EQ(m_field->selectedText(), QStringLiteral("beta"));
}

class FileSystemCompletion : public ACEditTest
{
protected:
    void SetUp() override
    {
        ACEditTest::SetUp();
        ASSERT_TRUE(m_root.isValid());
        QDir root(m_root.path());
        root.mkdir(QStringLiteral("Reports"));
        root.mkdir(QStringLiteral(".hidden"));
        QFile(root.filePath(QStringLiteral("report.txt"))).open(QIODevice::WriteOnly);
        QFile(root.filePath(QStringLiteral(".secret"))).open(QIODevice::WriteOnly);
    }

    QStringList Offered(unsigned mode)
    {
        m_edit.Init(m_field);
        m_edit.m_Liste.m_nMaxCount = 50;
        m_edit.m_iMode = mode;
        QTest::keyClicks(m_field, m_root.path() + u'/');
        QStringList names = m_edit.m_Liste.SearchStrings();
        for (QString& name : names)
            name = name.mid(m_root.path().size() + 1);
        return names;
    }

    QTemporaryDir m_root;
};

TEST_F(FileSystemCompletion, AFolderOffersItsEntriesWithFoldersEndingInASlash)
{
    QStringList offered = Offered(CACEdit::ACEDIT_FILESYSTEM);
    offered.sort();
    EXPECT_EQ(offered, (QStringList{QStringLiteral("Reports/"), QStringLiteral("report.txt")}));
    EXPECT_TRUE(List().isVisible());
    QTest::keyClick(m_field, Qt::Key_Down);
    EXPECT_FALSE(m_field->text().endsWith(u'/'));
}

TEST_F(FileSystemCompletion, FoldersOnlyOrNoFolders)
{
    EXPECT_EQ(Offered(CACEdit::ACEDIT_FILESYSTEM | CACEdit::ACEDIT_ONLY_FOLDERS),
              QStringList{QStringLiteral("Reports/")});
}

TEST_F(FileSystemCompletion, NoFolders)
{
    EXPECT_EQ(Offered(CACEdit::ACEDIT_FILESYSTEM | CACEdit::ACEDIT_NO_FOLDERS),
              QStringList{QStringLiteral("report.txt")});
}

} // namespace
