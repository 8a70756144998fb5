#include "designer/controls/ComboBoxClr.h"
#include "designer/preferences/ColourRef.h"

#include "designer/controls/tests/ControlsTestSupport.h"

#include <QImage>
#include <QPainter>

#include <ostream>

namespace {

// The document-store page's rule: entries with data in red.
bool RedWhenFlagged(DWORD data, COLORREF* colour)
{
    if (data == 0)
        return false;
    *colour = 0x0000F0;
    return true;
}

struct DrawCase
{
    const char* name;
    bool callback;
    DWORD data;
    bool selected;
    bool noItems;
    QColor background; // of the item rectangle; invalid: nothing drawn
    QColor text;       // the one ink colour expected
};

void PrintTo(const DrawCase& c, std::ostream* os)
{
    *os << c.name;
}

class ColourItemDrawing : public ControlsTest, public ::testing::WithParamInterface<DrawCase>
{};

QPalette TestPalette()
{
    QPalette pal;
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Text, Qt::black);
    pal.setColor(QPalette::Highlight, QColor(0, 0, 128));
    pal.setColor(QPalette::HighlightedText, QColor(255, 255, 0));
    return pal;
}

const DrawCase kDrawCases[] = {
    {"NoCallbackPlain", false, 1, false, false, Qt::white, Qt::black},
    {"NoCallbackSelected", false, 1, true, false, QColor(0, 0, 128), QColor(255, 255, 0)},
    {"CallbackColour", true, 1, false, false, Qt::white, QColor(240, 0, 0)},
    {"CallbackColourOnHighlight", true, 1, true, false, QColor(0, 0, 128), QColor(240, 0, 0)},
    {"CallbackDeclines", true, 0, false, false, Qt::white, Qt::black},
    {"NoItemsDrawsNothing", true, 1, false, true, QColor(), QColor()},
};

TEST_P(ColourItemDrawing, ColoursOfTheItem)
{
    const DrawCase& c = GetParam();
    CComboBoxClr box;
    box.setPalette(TestPalette());
    if (!c.noItems)
        box.addItem(QStringLiteral("WWWWWWWW"), static_cast<uint>(c.data));
    if (c.callback)
        box.m_pColorCallback = &RedWhenFlagged;

    QImage image(120, 20, QImage::Format_RGB32);
    image.fill(QColor(0, 255, 0)); // untouched pixels stay green
    {
        QPainter painter(&image);
        QStyleOptionViewItem option;
        option.rect = QRect(0, 0, 120, 20);
        option.palette = TestPalette();
        option.font = box.font();
        option.font.setPixelSize(16);
        option.state = c.selected ? QStyle::State_Selected : QStyle::State_None;
        const QModelIndex index = box.model()->index(0, 0);
        box.itemDelegate()->paint(&painter, option, index);
    }

    if (!c.background.isValid()) {
        EXPECT_EQ(image.pixelColor(60, 10), QColor(0, 255, 0)) << c.name;
        return;
    }
    EXPECT_EQ(image.pixelColor(119, 0), c.background) << c.name;
    EXPECT_EQ(image.pixelColor(0, 0), c.background) << c.name; // the inset is filled too
    // The strokes of the text carry its colour exactly.
    bool found = false;
    for (int y = 0; y < image.height() && !found; ++y) {
        for (int x = 1; x < 100 && !found; ++x)
            found = image.pixelColor(x, y) == c.text;
    }
    EXPECT_TRUE(found) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Table, ColourItemDrawing, ::testing::ValuesIn(kDrawCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ColorrefTest, RedIsTheLowByte)
{
    EXPECT_EQ(kwvd::ToQColor(0x0000F0), QColor(240, 0, 0));
    EXPECT_EQ(kwvd::ToQColor(0x123456), QColor(0x56, 0x34, 0x12));
}

} // namespace
