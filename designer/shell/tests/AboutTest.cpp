#include "designer/shell/AboutBox.h"
#include "designer/shell/ProgramVersion.h"
#include "designer/shell/tests/AppTestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

TEST(AboutBox, CreepStepMovesOnePixelPerAxisTowardsThePointerAndStaysInside)
{
    const QRect bounds(0, 0, 1000, 800);
    const QPoint okCentre(150, 200); // the OK button's centre, from the box's top left
    struct Case
    {
        const char* name;
        QRect box;
        QPoint pointer;
        QPoint expectedTopLeft;
    };
    const Case cases[] = {
        {"down right", QRect(100, 100, 300, 250), QPoint(600, 500), QPoint(101, 101)},
        {"up left", QRect(100, 100, 300, 250), QPoint(200, 250), QPoint(99, 99)},
        {"x already there", QRect(100, 100, 300, 250), QPoint(250, 500), QPoint(100, 101)},
        {"y already there", QRect(100, 100, 300, 250), QPoint(10, 300), QPoint(99, 100)},
        {"arrived", QRect(100, 100, 300, 250), QPoint(250, 300), QPoint(100, 100)},
        {"pushed back at the right and bottom", QRect(700, 550, 300, 250), QPoint(990, 790), QPoint(700, 550)},
        {"pushed back at the left and top", QRect(0, 0, 300, 250), QPoint(5, 5), QPoint(0, 0)},
        {"outside to begin with comes inside", QRect(900, 700, 300, 250), QPoint(990, 790), QPoint(700, 550)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QRect moved = CreepStep(c.box, okCentre, c.pointer, bounds);
        EXPECT_EQ(moved.topLeft(), c.expectedTopLeft);
        EXPECT_EQ(moved.size(), c.box.size());
    }
}

TEST(AboutBox, ShowsVersionsAndStartsCreepingAfterTheIdleMinute)
{
    AppTestEnvironment env;
    QWidget parent;
    parent.setGeometry(0, 0, 1200, 900);
    parent.show();
    CAboutBox about(&parent);
    about.show();

    EXPECT_EQ(about.VersionLabel()->text(), QStringLiteral("Version 6  (build 27)"));
    const auto labels = about.findChildren<QLabel*>();
    QStringList texts;
    for (const QLabel* label : labels)
        texts << label->text();
    EXPECT_TRUE(texts.contains(QStringLiteral("Document Version No: 59")));
    EXPECT_TRUE(texts.contains(QStringLiteral("JVX Version No: 28")));
    EXPECT_TRUE(texts.contains(QStringLiteral("DBCS Enabled")));

    EXPECT_TRUE(about.IsIdleTimerRunning());
    EXPECT_FALSE(about.IsCreepTimerRunning());
    about.OnTimer(CAboutBox::kIdleTimer);
    EXPECT_FALSE(about.IsIdleTimerRunning());
    EXPECT_TRUE(about.IsCreepTimerRunning());

    const QPoint start = about.frameGeometry().topLeft();
    about.SetPointer(start + QPoint(800, 600));
    for (int tick = 0; tick < CAboutBox::kTicksBeforeCreep; ++tick)
        about.OnTimer(CAboutBox::kCreepTimer);
    // The thousandth tick only takes aim.
    EXPECT_EQ(about.frameGeometry().topLeft(), start);
    EXPECT_TRUE(about.IsCapturing());
    about.OnTimer(CAboutBox::kCreepTimer);
    EXPECT_EQ(about.frameGeometry().topLeft(), start + QPoint(1, 1));
    about.OnTimer(CAboutBox::kCreepTimer);
    EXPECT_EQ(about.frameGeometry().topLeft(), start + QPoint(2, 2));
}

TEST(AboutBox, ClickOnTheOkPlaceWhileCapturingClosesTheBox)
{
    AppTestEnvironment env;
    CAboutBox about;
    about.show();
    about.OnTimer(CAboutBox::kIdleTimer);
    for (int tick = 0; tick < CAboutBox::kTicksBeforeCreep; ++tick)
        about.OnTimer(CAboutBox::kCreepTimer);
    ASSERT_TRUE(about.IsCapturing());
    const QPushButton* ok = about.findChild<QPushButton*>();
    ASSERT_NE(ok, nullptr);
    QTest::mouseClick(&about, Qt::LeftButton, {}, ok->geometry().center());
    EXPECT_EQ(about.result(), QDialog::Accepted);
    EXPECT_FALSE(about.IsCapturing());
}

TEST(AboutBox, VersionTextWithoutAVersionIsTheFixedOne)
{
    AppTestEnvironment env;
    EXPECT_EQ(GetVersionText(ProductVersion{6, 27, 59, 28}), QStringLiteral("Version 6  (build 27)"));
    EXPECT_EQ(GetVersionText(std::nullopt), QStringLiteral("\"1.5.0.0\""));
}

TEST(AboutBox, Screenshot)
{
    AppTestEnvironment env;
    CAboutBox about;
    about.show();
    const QImage shot = about.grab().toImage();
    ASSERT_FALSE(shot.isNull());
    QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR));
    EXPECT_TRUE(shot.save(QStringLiteral(KWVD_SCREENSHOT_DIR "/about-box.png")));
    // The box is white and its picture sits at the top left.
    EXPECT_EQ(shot.pixelColor(shot.width() - 3, shot.height() / 2), QColor(Qt::white));
    EXPECT_NE(shot.pixelColor(20, 20), QColor(Qt::white));
}

} // namespace
