#include "designer/shell/ProgramVersion.h"
#include "designer/shell/SplashScreenEx.h"
#include "designer/shell/tests/AppTestEnvironment.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QPointer>
#include <QTest>

namespace {

QPointer<CSplashScreenEx> ShowSplash()
{
    auto* splash = new CSplashScreenEx;
    splash->SetBitmap(DrawBrandBitmap());
    splash->SetStyle(CSplashScreenEx::kDesignerStyle);
    splash->SetText(GetVersionText());
    EXPECT_TRUE(splash->Show());
    return splash;
}

TEST(Splash, ShowsThePictureWithTheVersionAtTheBottomRightForTwoSeconds)
{
    AppTestEnvironment env;
    QPointer<CSplashScreenEx> splash = ShowSplash();
    ASSERT_TRUE(splash);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(splash->size(), DrawBrandBitmap().size());
    EXPECT_EQ(splash->TextRect(), QRect(QPoint(0, 0), splash->size()).adjusted(5, 5, -5, -5));
    EXPECT_EQ(splash->Text(), QStringLiteral("Version 6  (build 27)"));
    EXPECT_EQ(splash->Timeout(), 2000);
    EXPECT_TRUE(splash->IsTimerRunning());
    if (const QScreen* screen = splash->screen()) {
        EXPECT_EQ(splash->geometry().center(), screen->geometry().center());
    }

    // Grey text drawn over the bottom right corner of the picture.
    const QImage shot = splash->grab().toImage();
    const QImage plain = DrawBrandBitmap().toImage();
    bool textDrawn = false;
    for (int y = shot.height() - 30; y < shot.height() - 5 && !textDrawn; ++y)
        for (int x = shot.width() - 120; x < shot.width() - 5 && !textDrawn; ++x)
            textDrawn = shot.pixel(x, y) != plain.pixel(x, y);
    EXPECT_TRUE(textDrawn);

    splash->FireTimer();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(splash.isNull());
}

TEST(Splash, ClickOrKeyClosesIt)
{
    AppTestEnvironment env;
    for (const bool click : {true, false}) {
        SCOPED_TRACE(click ? "click" : "key");
        QPointer<CSplashScreenEx> splash = ShowSplash();
        ASSERT_TRUE(splash);
        if (click)
            QTest::mouseClick(splash.data(), Qt::LeftButton);
        else
            QTest::keyClick(splash.data(), Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(splash.isNull());
    }
}

TEST(Splash, WithoutAPictureNothingIsShown)
{
    AppTestEnvironment env;
    CSplashScreenEx splash;
    splash.setAttribute(Qt::WA_DeleteOnClose, false);
    EXPECT_FALSE(splash.Show());
    EXPECT_FALSE(splash.isVisible());
    EXPECT_FALSE(splash.IsTimerRunning());
}

} // namespace

namespace {

// Start-up may show a message box while the splash is the active window; the
// splash closing on its timer must not take the box with it.
TEST(Splash, ClosingLeavesADialogParentedToItAlive)
{
    AppTestEnvironment env;
    QPointer<CSplashScreenEx> splash = ShowSplash();
    ASSERT_TRUE(splash);
    auto* dialog = new QWidget(splash.data(), Qt::Dialog);
    QPointer<QWidget> watch(dialog);
    splash->FireTimer();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(splash.isNull());
    ASSERT_FALSE(watch.isNull());
    EXPECT_EQ(watch->parentWidget(), nullptr);
    delete dialog;
}

} // namespace

namespace {

// A message of start-up is answered before the splash goes: its time runs
// out only once no box is open.
TEST(Splash, StaysWhileAStartUpBoxIsOpen)
{
    AppTestEnvironment env;
    QPointer<CSplashScreenEx> splash = ShowSplash();
    ASSERT_TRUE(splash);
    QDialog box;
    box.setModal(true);
    box.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &box);

    splash->FireTimer();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(splash.isNull());
    EXPECT_TRUE(splash->isVisible());
    EXPECT_TRUE(splash->IsTimerRunning());
    EXPECT_TRUE(box.isVisible());

    box.hide();
    splash->FireTimer();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(splash.isNull());
}

} // namespace
