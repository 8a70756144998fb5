// The companion controls rendered offscreen and sampled: the command link's
// states, its icon and text position, and the statics' backgrounds.

#include "designer/controls/TaskDialogControls.h"
#include "designer/controls/TaskDialogLayout.h"
#include "designer/controls/TaskDialogPictures.h"
#include "designer/preferences/ColourRef.h"
#include "tests/support/QtApplicationEnvironment.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

QColor Colour(COLORREF value)
{
    return kwvd::ToQColor(value);
}

TEST(TaskDialogColours, ColorRefHoldsBlueInTheHighByte)
{
    EXPECT_EQ(Colour(0x993300), QColor(0, 51, 153));
    EXPECT_EQ(Colour(0xE54A07), QColor(7, 74, 229));
    EXPECT_EQ(Colour(0xFFF0B2), QColor(178, 240, 255));
}

// A link 240 by 60 with a title and a note, on a window of its own.
class CommandLinkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_arrow = TaskDialogStockPicture(IDI_TASK_ARROW, 16);
        m_hotArrow = TaskDialogStockPicture(IDI_TASK_HOT_ARROW, 16);
        m_shield = TaskDialogStockPicture(IDI_TASK_SHIELD, 16);
        const QFont normal = TaskDialogNormalFont();
        m_link.Init(TaskDialogLargeFont(normal), normal, &m_shield, &m_arrow, &m_hotArrow);
        m_link.SetImage(&m_arrow);
        m_link.setText(QStringLiteral("Browse\nSearch for the file."));
        m_link.resize(240, 60);
    }

    QImage Grab() { return m_link.grab().toImage(); }

    void Hover()
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(120, 30), QPointF(120, 30), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&m_link, &move);
    }

    void Leave()
    {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&m_link, &leave);
    }

    // The icon's square as it should look: the picture over white.
    static QImage IconOverWhite(const QPixmap& picture)
    {
        QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.drawPixmap(0, 0, picture);
        return image;
    }

    static QImage IconSquare(const QImage& grabbed)
    {
        return grabbed.copy(10, (60 - 16) / 2, 16, 16).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }

    static int Count(const QImage& image, const QColor& colour)
    {
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                count += image.pixelColor(x, y) == colour ? 1 : 0;
        }
        return count;
    }

    // The leftmost column holding a pixel of the text colour in the title band.
    static int TextLeft(const QImage& image, const QColor& colour)
    {
        for (int x = 0; x < image.width(); ++x) {
            for (int y = 8; y < 40; ++y) {
                if (image.pixelColor(x, y) == colour)
                    return x;
            }
        }
        return -1;
    }

    QPixmap m_arrow, m_hotArrow, m_shield;
    CXTaskDialogCommandLink m_link;
};

TEST_F(CommandLinkTest, IdleShowsNoBorderTheArrowAndDarkText)
{
    const QImage image = Grab();
    EXPECT_EQ(image.pixelColor(120, 0), Colour(0xFFFFFF));
    EXPECT_EQ(image.pixelColor(120, 59), Colour(0xFFFFFF));
    EXPECT_EQ(IconSquare(image), IconOverWhite(m_arrow));
    EXPECT_GT(Count(image, Colour(CXTaskDialogCommandLink::kText)), 0);
    EXPECT_EQ(Count(image, Colour(CXTaskDialogCommandLink::kHotText)), 0);
}

TEST_F(CommandLinkTest, HoverShowsTheGreyBorderHotArrowAndBrighterTextUntilLeft)
{
    Hover();
    const QImage hot = Grab();
    EXPECT_TRUE(m_link.IsHot());
    EXPECT_EQ(hot.pixelColor(120, 0), Colour(0xC6C6C6));
    EXPECT_EQ(IconSquare(hot), IconOverWhite(m_hotArrow));
    EXPECT_GT(Count(hot, Colour(CXTaskDialogCommandLink::kHotText)), 0);
    EXPECT_EQ(Count(hot, Colour(CXTaskDialogCommandLink::kText)), 0);

    Leave();
    const QImage left = Grab();
    EXPECT_EQ(left.pixelColor(120, 0), Colour(0xFFFFFF));
    EXPECT_EQ(IconSquare(left), IconOverWhite(m_arrow));
    EXPECT_EQ(Count(left, Colour(CXTaskDialogCommandLink::kHotText)), 0);
}

TEST_F(CommandLinkTest, PressedFillsGreyAndKeepsTheDarkTextUnderTheMouse)
{
    Hover();
    m_link.setDown(true);
    const QImage image = Grab();
    EXPECT_EQ(image.pixelColor(230, 55), Colour(0xF0F0F0));
    EXPECT_EQ(image.pixelColor(1, 30), Colour(0xF0F0F0));
    EXPECT_GT(Count(image, Colour(CXTaskDialogCommandLink::kText)), 0);
    EXPECT_EQ(Count(image, Colour(CXTaskDialogCommandLink::kHotText)), 0);
}

TEST_F(CommandLinkTest, KeyboardFocusShowsTheLightBlueBorder)
{
    m_link.show();
    QApplication::setActiveWindow(&m_link);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_link));
    m_link.clearFocus();
    m_link.setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(m_link.hasFocus());
    const QImage image = Grab();
    EXPECT_EQ(image.pixelColor(120, 0), Colour(0xFFF0B2));
    // The dotted focus rectangle lies 3 pixels in from the top.
    EXPECT_GT(Count(image.copy(0, 3, 240, 1), QColor(Qt::black)), 0);
    m_link.hide();
}

TEST_F(CommandLinkTest, MouseFocusDrawsNoFocusRectangle)
{
    m_link.show();
    QApplication::setActiveWindow(&m_link);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_link));
    m_link.clearFocus();
    m_link.setFocus(Qt::MouseFocusReason);
    const QImage image = Grab();
    EXPECT_EQ(image.pixelColor(120, 0), Colour(0xFFF0B2));
    EXPECT_EQ(Count(image.copy(0, 3, 240, 1), QColor(Qt::black)), 0);
    m_link.hide();
}

TEST_F(CommandLinkTest, ShieldStaysThroughHoverAndLeave)
{
    m_link.SetImage(&m_shield);
    Hover();
    EXPECT_EQ(IconSquare(Grab()), IconOverWhite(m_shield));
    Leave();
    EXPECT_EQ(IconSquare(Grab()), IconOverWhite(m_shield));
}

TEST_F(CommandLinkTest, TextStartsAt10WithoutIconAnd36WithOne)
{
    const QColor text = Colour(CXTaskDialogCommandLink::kText);
    const int withIcon = TextLeft(Grab(), text);
    EXPECT_GE(withIcon, 36);
    EXPECT_LT(withIcon, 40);
    m_link.SetImage(nullptr);
    const int withoutIcon = TextLeft(Grab(), text);
    EXPECT_GE(withoutIcon, 10);
    EXPECT_LT(withoutIcon, 14);
}

TEST(TaskDialogStatics, AStaticPaintsItsWholeRectangle)
{
    QWidget parent;
    parent.setAutoFillBackground(true);
    QPalette grey = parent.palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    parent.setPalette(grey);
    parent.resize(200, 100);
    CXTaskDialogStatic label(&parent);
    label.m_crBackground = 0xFFFFFF;
    label.m_crText = 0x993300;
    label.SetWindowText(QStringLiteral("A <b>file</b>"));
    label.setGeometry(10, 10, 150, 60);
    const QImage image = parent.grab().toImage();
    EXPECT_EQ(image.pixelColor(158, 68), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(5, 5), QColor(128, 128, 128));
    EXPECT_EQ(label.text(), QStringLiteral("A <b>file</b>"));
}

TEST(TaskDialogStatics, IconStaticShowsTheIconItPointsAt)
{
    QPixmap icon = TaskDialogStockPicture(IDI_TASK_WARNING, 32);
    CXTaskDialogIconStatic placeholder;
    placeholder.m_icon = &icon;
    placeholder.m_bLarge = TRUE;
    placeholder.resize(32, 32);
    const QImage before = placeholder.grab().toImage();
    icon = TaskDialogStockPicture(IDI_TASK_ERROR, 32);
    const QImage after = placeholder.grab().toImage();
    EXPECT_NE(before, after);
    EXPECT_EQ(after.pixelColor(16, 16), TaskDialogStockPicture(IDI_TASK_ERROR, 32).toImage().pixelColor(16, 16));
}

TEST(TaskDialogStatics, LinkTextEscapesEverythingButTheLinks)
{
    struct Case
    {
        const char* name;
        QString text;
        QString html;
    };
    const Case cases[] = {
        {"plain with markup characters", QStringLiteral("a <b> & c"), QStringLiteral("a &lt;b&gt; &amp; c")},
        {"one link", QStringLiteral("see <A HREF=\"t1\">help</A>."), QStringLiteral("see <a href=\"t1\">help</a>.")},
        {"lower-case tags", QStringLiteral("<a href=\"t2\">x</a>"), QStringLiteral("<a href=\"t2\">x</a>")},
        {"a target with a quote", QStringLiteral("<A HREF=\"a&b\">x</A>"), QStringLiteral("<a href=\"a&amp;b\">x</a>")},
        {"unclosed link stays text", QStringLiteral("<A HREF=\"t\">x"),
         QStringLiteral("&lt;A HREF=&quot;t&quot;&gt;x")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CXTaskDialogLinkStatic::ToRichText(c.text), c.html) << c.name;
}

TEST(TaskDialogPictures, EachStockPictureInItsSizes)
{
    struct Case
    {
        const char* name;
        UINT id;
        int size;
        bool exists;
    };
    const Case cases[] = {
        {"arrow 16", IDI_TASK_ARROW, 16, true},
        {"arrow 32", IDI_TASK_ARROW, 32, false},
        {"hot arrow 16", IDI_TASK_HOT_ARROW, 16, true},
        {"shield 32", IDI_TASK_SHIELD, 32, true},
        {"error 16", IDI_TASK_ERROR, 16, true},
        {"warning 32", IDI_TASK_WARNING, 32, true},
        {"information 16", IDI_TASK_INFORMATION, 16, true},
        {"unknown", 421, 16, false},
        {"odd size", IDI_TASK_WARNING, 24, false},
    };
    for (const Case& c : cases) {
        const QPixmap picture = TaskDialogStockPicture(c.id, c.size);
        EXPECT_EQ(!picture.isNull(), c.exists) << c.name;
        if (c.exists) {
            EXPECT_EQ(picture.size(), QSize(c.size, c.size)) << c.name;
            EXPECT_NE(picture.toImage().pixelColor(c.size / 2, c.size / 2).alpha(), 0) << c.name;
        }
    }
    EXPECT_NE(TaskDialogStockPicture(IDI_TASK_ARROW, 16).toImage(),
              TaskDialogStockPicture(IDI_TASK_HOT_ARROW, 16).toImage());
}

} // namespace
