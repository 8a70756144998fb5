#include "designer/controls/PictureEx.h"
#include "designer/controls/GifFrames.h"

#include "designer/controls/tests/ControlsTestSupport.h"
#include "designer/controls/tests/GifBuilder.h"

#include <QBuffer>
#include <QFile>

#include <chrono>
#include <future>
#include <ostream>
#include <random>

namespace {

const QRgb kRed = qRgb(255, 0, 0);
const QRgb kGreen = qRgb(0, 255, 0);
const QRgb kBlue = qRgb(0, 0, 255);

GifBuilder Builder(int width = 8, int height = 8)
{
    return GifBuilder(width, height, {qRgb(9, 9, 9), kRed, kGreen, kBlue});
}

QByteArray TwoFrames(int delay = 10)
{
    GifBuilder gif = Builder();
    gif.AddFrame(GifBuilder::Solid(0, 0, 8, 8, 1, delay, 1));
    gif.AddFrame(GifBuilder::Solid(0, 0, 8, 8, 2, delay, 1));
    return gif.Build();
}

// Steps the drawing thread frame by frame: each wait it asks for is recorded
// with the picture as it stands, and skipped; after 'frames' waits the
// thread is told to stop.
struct FrameStepper
{
    explicit FrameStepper(CPictureEx& picture, int frames) : m_picture(picture), m_frames(frames)
    {
        picture.SetWaitHook([this](std::uint32_t ms) {
            waits.push_back(ms);
            shots.push_back(m_picture.Snapshot());
            if (static_cast<int>(waits.size()) < m_frames)
                return true;
            m_picture.RequestStop();
            m_done.set_value();
            return false;
        });
    }

    // Until the thread was told to stop (bounded, in case it never is).
    bool Wait() { return m_done.get_future().wait_for(std::chrono::seconds(30)) == std::future_status::ready; }

    CPictureEx& m_picture;
    int m_frames;
    std::promise<void> m_done;
    std::vector<std::uint32_t> waits;
    std::vector<QImage> shots;
};

using PictureExTest = ControlsTest;

TEST_F(PictureExTest, TheBusyResourceIsTheWritersPictureAndLoops)
{
    QFile file(QStringLiteral(":/kwvd/GIF/180"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), BusyPictureGif());

    CPictureEx picture;
    ASSERT_TRUE(picture.Load(180, QStringLiteral("GIF")));
    EXPECT_EQ(picture.PictureSize(), QSize(32, 32));
    EXPECT_EQ(picture.size(), QSize(32, 32));
    ASSERT_EQ(picture.FrameCount(), 8);
    for (const TFrame& frame : picture.Frames()) {
        EXPECT_EQ(frame.delay, 10u);
        EXPECT_EQ(frame.disposal, 1u);
    }
    EXPECT_FALSE(picture.Load(181, QStringLiteral("GIF")));

    picture.Load(180, QStringLiteral("GIF"));
    FrameStepper stepper(picture, 9);
    EXPECT_FALSE(picture.Draw());
    ASSERT_TRUE(stepper.Wait());
    picture.Stop();
    ASSERT_EQ(stepper.waits.size(), 9u);
    for (const std::uint32_t ms : stepper.waits)
        EXPECT_EQ(ms, 100u);
    // The dark dot walks round: top in frame 0, right in frame 2.
    EXPECT_EQ(stepper.shots[0].pixel(16, 5), qRgb(40, 70, 160));
    EXPECT_EQ(stepper.shots[2].pixel(27, 16), qRgb(40, 70, 160));
    EXPECT_EQ(stepper.shots[8].pixel(16, 5), qRgb(40, 70, 160));
}

TEST_F(PictureExTest, TwoFramesAnimateAndOneImageIsStill)
{
    CPictureEx animated;
    ASSERT_TRUE(animated.Load(TwoFrames()));
    EXPECT_EQ(animated.FrameCount(), 2);
    FrameStepper stepper(animated, 3);
    EXPECT_FALSE(animated.Draw());
    ASSERT_TRUE(stepper.Wait());
    animated.Stop();
    ASSERT_EQ(stepper.shots.size(), 3u);
    EXPECT_EQ(stepper.shots[0].pixel(3, 3), kRed);
    EXPECT_EQ(stepper.shots[1].pixel(3, 3), kGreen);
    EXPECT_EQ(stepper.shots[2].pixel(3, 3), kRed);
    EXPECT_FALSE(animated.IsPlaying());

    GifBuilder one = Builder();
    one.AddComment("one image");
    one.AddFrame(GifBuilder::Solid(0, 0, 8, 8, 3, 10, 1));
    CPictureEx still;
    ASSERT_TRUE(still.Load(one.Build()));
    EXPECT_TRUE(still.IsGIF());
    EXPECT_EQ(still.FrameCount(), 0);
    EXPECT_TRUE(still.Draw());
    EXPECT_FALSE(still.IsPlaying());
    EXPECT_EQ(still.Snapshot().pixel(4, 4), kBlue);
}

struct WaitCase
{
    const char* name;
    std::uint32_t delay;
    std::uint32_t ms;
};

void PrintTo(const WaitCase& c, std::ostream* os)
{
    *os << c.name;
}

class FrameWaits : public ::testing::TestWithParam<WaitCase>
{};

const WaitCase kWaits[] = {
    {"ZeroIsAHundredMs", 0, 100},
    {"FourIsAHundredMs", 4, 100},
    {"FiveIsFiftyMs", 5, 50},
    {"TenIsAHundredMs", 10, 100},
    {"LargestWordDelay", 65535, 655350},
    {"NoExtensionWaitsUntilStopped", 0xFFFFFFFFu, 0xFFFFFFF6u},
};

TEST_P(FrameWaits, WaitForADelay)
{
    EXPECT_EQ(CPictureEx::FrameWaitMs(GetParam().delay), GetParam().ms) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Table, FrameWaits, ::testing::ValuesIn(kWaits),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PictureExTest, TheThreadAsksForTheWaitOfEachFrame)
{
    GifBuilder gif = Builder();
    gif.AddFrame(GifBuilder::Solid(0, 0, 8, 8, 1, 3, 1));
    gif.AddFrame(GifBuilder::Solid(0, 0, 8, 8, 2, 25, 1));
    gif.AddFrame(GifBuilder::Solid(0, 0, 8, 8, 3, -1, 0));
    CPictureEx picture;
    ASSERT_TRUE(picture.Load(gif.Build()));
    EXPECT_EQ(picture.Frames()[2].delay, 0xFFFFFFFFu);
    FrameStepper stepper(picture, 3);
    picture.Draw();
    ASSERT_TRUE(stepper.Wait());
    picture.Stop();
    EXPECT_EQ(stepper.waits, (std::vector<std::uint32_t>{100, 250, 0xFFFFFFF6u}));
}

TEST_F(PictureExTest, DisposalsAndTheClearingAtEachLoop)
{
    GifBuilder gif = Builder();
    gif.AddFrame(GifBuilder::Solid(0, 0, 4, 4, 1, 10, 2)); // red, then background
    gif.AddFrame(GifBuilder::Solid(4, 4, 4, 4, 2, 10, 3)); // green, then what was under it
    gif.AddFrame(GifBuilder::Solid(4, 0, 4, 4, 3, 10, 1)); // blue, left in place
    CPictureEx picture;
    ASSERT_TRUE(picture.Load(gif.Build()));
    const QRgb initial = picture.Snapshot().pixel(6, 6);
    const QRgb background = picture.BackgroundColour().rgb();
    ASSERT_NE(initial, kGreen);
    FrameStepper stepper(picture, 4);
    picture.Draw();
    ASSERT_TRUE(stepper.Wait());
    picture.Stop();
    ASSERT_EQ(stepper.shots.size(), 4u);

    EXPECT_EQ(stepper.shots[0].pixel(1, 1), kRed);
    EXPECT_EQ(stepper.shots[0].pixel(6, 6), initial);

    EXPECT_EQ(stepper.shots[1].pixel(1, 1), background); // disposal 2
    EXPECT_EQ(stepper.shots[1].pixel(6, 6), kGreen);

    EXPECT_EQ(stepper.shots[2].pixel(6, 6), initial); // disposal 3
    EXPECT_EQ(stepper.shots[2].pixel(6, 1), kBlue);

    EXPECT_EQ(stepper.shots[3].pixel(6, 1), background); // the loop cleared it
    EXPECT_EQ(stepper.shots[3].pixel(1, 1), kRed);
}

TEST_F(PictureExTest, StopDuringALongWaitReturnsAndDrawResumesThere)
{
    GifBuilder gif = Builder();
    for (int i = 0; i < 3; ++i)
        gif.AddFrame(GifBuilder::Solid(0, 0, 8, 8, std::uint8_t(i + 1), -1, 0));
    CPictureEx picture;
    ASSERT_TRUE(picture.Load(gif.Build()));

    std::promise<void> waiting;
    std::vector<int> frames;
    picture.SetWaitHook([&](std::uint32_t) {
        frames.push_back(picture.FrameIndex());
        if (frames.size() == 1)
            return true; // frame 0 passes at once
        if (frames.size() == 2)
            waiting.set_value(); // frame 1 waits until stopped
        return false;
    });
    picture.Draw();
    ASSERT_EQ(waiting.get_future().wait_for(std::chrono::seconds(30)), std::future_status::ready);
    EXPECT_TRUE(picture.IsPlaying());
    picture.Stop();
    EXPECT_FALSE(picture.IsPlaying());
    EXPECT_EQ(picture.FrameIndex(), 1);
    EXPECT_EQ(picture.Snapshot().pixel(2, 2), kGreen);

    std::promise<void> resumed;
    picture.SetWaitHook([&](std::uint32_t) {
        frames.push_back(picture.FrameIndex());
        picture.RequestStop();
        resumed.set_value();
        return false;
    });
    picture.Draw();
    ASSERT_EQ(resumed.get_future().wait_for(std::chrono::seconds(30)), std::future_status::ready);
    picture.Stop();
    EXPECT_EQ(frames, (std::vector<int>{0, 1, 1}));
}

TEST_F(PictureExTest, AFrameTheReaderRefusesIsLeftOut)
{
    GifBuilder gif = Builder();
    gif.AddFrame(GifBuilder::Solid(0, 0, 8, 8, 1, 10, 1));
    gif.AddPlainText(10);
    gif.AddFrame(GifBuilder::Solid(0, 0, 8, 8, 2, 10, 1));
    CPictureEx picture;
    ASSERT_TRUE(picture.Load(gif.Build()));
    EXPECT_EQ(picture.FrameCount(), 2);
    EXPECT_EQ(picture.Frames()[1].picture.pixel(3, 3), kGreen);
}

TEST_F(PictureExTest, NoFrameLeftFailsAndOneLeftIsShownStill)
{
    GifBuilder none = Builder();
    none.AddPlainText(10);
    none.AddPlainText(-1);
    CPictureEx picture;
    EXPECT_FALSE(picture.Load(none.Build()));
    EXPECT_EQ(picture.FrameCount(), 0);
    EXPECT_FALSE(picture.Draw());

    GifBuilder one = Builder();
    one.AddPlainText(10);
    one.AddFrame(GifBuilder::Solid(2, 2, 4, 4, 3, 10, 1));
    ASSERT_TRUE(picture.Load(one.Build()));
    EXPECT_EQ(picture.FrameCount(), 1);
    EXPECT_TRUE(picture.Draw());
    EXPECT_FALSE(picture.IsPlaying());
    EXPECT_EQ(picture.Snapshot().pixel(3, 3), kBlue);
}

TEST_F(PictureExTest, OtherPicturesAreStillAtTheirSizeAndAMetafileFails)
{
    QImage image(21, 13, QImage::Format_RGB32);
    image.fill(kBlue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(image.save(&buffer, "PNG"));

    CPictureEx picture;
    ASSERT_TRUE(picture.Load(png));
    EXPECT_FALSE(picture.IsGIF());
    EXPECT_EQ(picture.size(), QSize(21, 13));
    EXPECT_TRUE(picture.Draw());
    EXPECT_EQ(picture.Snapshot().pixel(20, 12), kBlue);

    // A placeable metafile header.
    const QByteArray metafile = QByteArray::fromHex("d7cdc69a0000000000000010001000000000000000000000");
    EXPECT_FALSE(picture.Load(metafile));
    EXPECT_TRUE(picture.PictureSize().isEmpty());
}

TEST_F(PictureExTest, EveryTruncationFailsCleanly)
{
    const QByteArray whole = TwoFrames();
    CPictureEx picture;
    for (qsizetype n = 0; n < whole.size(); ++n) {
        const QByteArray cut = whole.left(n);
        const bool loaded = picture.Load(cut);
        if (n < 13 + 768) {
            EXPECT_FALSE(loaded) << n;
        }
        if (!loaded) {
            EXPECT_EQ(picture.FrameCount(), 0) << n;
            EXPECT_TRUE(picture.PictureSize().isEmpty()) << n;
        } else {
            // Only complete blocks count: the first frame alone is a still
            // picture, both (without the trailer) still animate.
            EXPECT_TRUE(picture.FrameCount() == 0 || picture.FrameCount() == 2) << n;
            EXPECT_EQ(picture.FrameCount() == 2, n == whole.size() - 1) << n;
            EXPECT_EQ(picture.PictureSize(), QSize(8, 8)) << n;
        }
    }
}

TEST_F(PictureExTest, RandomBytesFailCleanly)
{
    std::mt19937 random(25);
    CPictureEx picture;
    const QByteArray valid = TwoFrames();
    for (int round = 0; round < 300; ++round) {
        QByteArray data = round % 2 ? QByteArray("GIF89a") : QByteArray();
        const int size = std::uniform_int_distribution<int>(0, 900)(random);
        for (int i = 0; i < size; ++i)
            data.append(char(random()));
        picture.Load(data);
        // A valid file with random bytes written over part of it.
        QByteArray damaged = valid;
        for (int i = 0; i < 8; ++i)
            damaged[std::uniform_int_distribution<int>(0, int(damaged.size()) - 1)(random)] = char(random());
        if (picture.Load(damaged)) {
            EXPECT_LE(picture.FrameCount(), 2);
            EXPECT_FALSE(picture.PictureSize().isEmpty());
        }
    }
}

TEST_F(PictureExTest, AHugeLogicalScreenIsRefusedBeforeAllocating)
{
    GifBuilder gif = Builder(65535, 65535);
    gif.AddFrame(GifBuilder::Solid(0, 0, 2, 2, 1, 10, 1));
    gif.AddFrame(GifBuilder::Solid(0, 0, 2, 2, 2, 10, 1));
    CPictureEx picture;
    EXPECT_FALSE(picture.Load(gif.Build()));
}

struct SplitCase
{
    const char* name;
    int extractions;
    int left;
    int top;
    std::uint32_t delay;
    std::uint32_t disposal;
};

TEST(GifFramesTest, AFrameBecomesAOneFrameGifOfTheSameScreen)
{
    GifBuilder gif = Builder(10, 6);
    gif.AddComment("before");
    gif.AddFrame(GifBuilder::Solid(2, 1, 3, 4, 1, 7, 2));
    gif.AddFrame(GifBuilder::Solid(0, 0, 1, 1, 2, -1, 0));
    const QByteArray data = gif.Build();
    const std::optional<GifLayout> layout = ReadGifLayout(data);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->width, 10);
    EXPECT_EQ(layout->colourTableBytes, 768);
    EXPECT_EQ(CountGraphicBlocks(data, *layout), 2);

    qsizetype offset = layout->firstBlock;
    const auto first = ExtractGifFrame(data, *layout, offset);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->left, 2);
    EXPECT_EQ(first->top, 1);
    EXPECT_EQ(first->width, 3);
    EXPECT_EQ(first->height, 4);
    EXPECT_EQ(first->delay, 7u);
    EXPECT_EQ(first->disposal, 2u);
    EXPECT_EQ(first->gif.left(13 + 768), data.left(13 + 768));
    EXPECT_EQ(first->gif.back(), char(0x3B));
    const QImage decoded = QImage::fromData(first->gif, "GIF");
    EXPECT_EQ(decoded.size(), QSize(10, 6));
    EXPECT_EQ(decoded.pixel(3, 3), kRed);

    const auto second = ExtractGifFrame(data, *layout, offset);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->delay, 0xFFFFFFFFu);
    EXPECT_EQ(second->disposal, 0u);
    EXPECT_FALSE(ExtractGifFrame(data, *layout, offset));
}

} // namespace
