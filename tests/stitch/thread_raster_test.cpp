// The thread view against the flat lines: the same stitches cover the same
// pixels within the thread's width, lit in the middle, shaded at the ends.
#include "stitch/stitchout.h"
#include "stitch/stitchrender.h"
#include "stitch/threadraster.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace kelvara {
namespace {

StitchPlan zigzag()
{
    StitchPlan plan;
    // Unequal stitches at several angles, a jump and a second colour.
    plan.records = {{10, 10, 0x2040E0, StitchKind::Stitch}, {70, 10, 0x2040E0, StitchKind::Stitch},
                    {30, 50, 0x2040E0, StitchKind::Stitch}, {90, 75, 0x2040E0, StitchKind::Stitch},
                    {90, 20, 0x2040E0, StitchKind::Jump},   {120, 20, 0x00C000, StitchKind::Stitch},
                    {120, 80, 0x00C000, StitchKind::Stitch}, {120, 80, 0x00C000, StitchKind::End}};
    return plan;
}

// Pixels that differ from the background.
std::vector<bool> covered(const QImage& image, QRgb background)
{
    std::vector<bool> out;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            out.push_back(image.pixel(x, y) != background);
    return out;
}

TEST(ThreadRender, CoversTheFlatLinesPixelsWithinTheThreadWidth)
{
    const int zoom = 3;
    QImage flat(420, 270, QImage::Format_RGB32);
    flat.fill(Qt::black);
    {
        QPainter painter(&flat);
        drawStitchPlan(painter, zigzag(), zoom, 0, 0);
    }
    QImage thread(flat.size(), QImage::Format_RGB32);
    thread.fill(Qt::black);
    rasterThreads(thread, thread.rect(), zigzag().records, RasterView{double(zoom), 0, 0});

    const std::vector<bool> a = covered(flat, qRgb(0, 0, 0)), b = covered(thread, qRgb(0, 0, 0));
    // Every thread pixel lies within a thread's width of a flat one, and the
    // flat lines' solid middles are all thread.
    const int reach = int(kThreadViewWidth * zoom / 2) + 2;
    int threadPixels = 0, strays = 0;
    for (int y = 0; y < flat.height(); ++y) {
        for (int x = 0; x < flat.width(); ++x) {
            if (!b[std::size_t(y * flat.width() + x)])
                continue;
            ++threadPixels;
            bool near = false;
            for (int dy = -reach; dy <= reach && !near; ++dy)
                for (int dx = -reach; dx <= reach && !near; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    near = nx >= 0 && ny >= 0 && nx < flat.width() && ny < flat.height() &&
                           flat.pixelColor(nx, ny).saturation() > 200 && a[std::size_t(ny * flat.width() + nx)];
                }
            strays += near ? 0 : 1;
        }
    }
    EXPECT_GT(threadPixels, 1000);
    EXPECT_EQ(strays, 0);
    // The jump (90,75)-(90,20) leaves nothing: its middle is bare.
    EXPECT_EQ(thread.pixel(90 * zoom, 48 * zoom), qRgb(0, 0, 0));
    // A stitch is lit along its middle and darker where it enters the fabric.
    const QColor middle = thread.pixelColor(120 * zoom, 50 * zoom);
    const QColor end = thread.pixelColor(120 * zoom, 80 * zoom - 1);
    const QColor edge = thread.pixelColor(120 * zoom + int(kThreadViewWidth * zoom / 2) - 1, 50 * zoom);
    EXPECT_GT(middle.green(), end.green());
    EXPECT_GT(middle.green(), edge.green());
    EXPECT_EQ(middle.red(), middle.blue()); // a sheen, not another colour
}

TEST(ThreadRender, ClipKeepsEveryPixelOutsideIt)
{
    QImage image(200, 200, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const QRect clip(40, 0, 20, 200);
    rasterThreads(image, clip, zigzag().records, RasterView{2, 0, 0});
    int inside = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x) {
            const bool painted = qAlpha(image.pixel(x, y)) != 0;
            ASSERT_TRUE(!painted || clip.contains(x, y)) << x << "," << y;
            inside += painted;
        }
    EXPECT_GT(inside, 50);
    // Far off the image and an empty plan: nothing, and no crash.
    rasterThreads(image, image.rect(), zigzag().records, RasterView{1, 1e7, -1e7});
    rasterThreads(image, image.rect(), {}, RasterView{});
}

TEST(StitchOut, SteppingAndJumpingLandOnThePlansRecordAtThatIndex)
{
    StitchPlan plan = zigzag();
    plan.records.insert(plan.records.begin() + 4, StitchRecord{70, 10, 0x2040E0, StitchKind::Trim});
    plan.records.insert(plan.records.begin() + 6, StitchRecord{90, 20, 0x00C000, StitchKind::ColourChange});
    const StitchPlan copy = plan;
    StitchOut out(std::move(plan));
    EXPECT_EQ(out.needle(), nullptr);
    out.step(3);
    ASSERT_NE(out.needle(), nullptr);
    EXPECT_EQ(out.needle()->x, copy.records[2].x);
    EXPECT_EQ(out.stitchesSewn(), 3);
    out.step(-1);
    EXPECT_EQ(out.played(), 2u);
    out.step(-10);
    EXPECT_EQ(out.played(), 0u);
    // Stops: just after the trim (index 4), then the colour change (6).
    out.nextStop();
    EXPECT_EQ(out.played(), 5u);
    EXPECT_EQ(out.needle()->kind, StitchKind::Trim);
    out.nextStop();
    EXPECT_EQ(out.played(), 7u);
    out.nextStop(); // no more: the end
    EXPECT_EQ(out.played(), out.total());
    out.previousStop();
    EXPECT_EQ(out.played(), 7u);
    out.previousStop();
    EXPECT_EQ(out.played(), 5u);
    out.previousStop();
    EXPECT_EQ(out.played(), 0u);

    // 10 stitches a second for 250 ms plays two records and keeps the rest
    // of the time; playing stops at the end.
    out.setSpeed(10);
    out.setPlaying(true);
    out.advance(250);
    EXPECT_EQ(out.played(), 2u);
    out.advance(50);
    EXPECT_EQ(out.played(), 3u);
    out.setSpeed(1000000);
    EXPECT_EQ(out.speed(), StitchOut::kFastest);
    out.advance(1000);
    EXPECT_EQ(out.played(), out.total());
    EXPECT_FALSE(out.playing());
    EXPECT_DOUBLE_EQ(out.minutesSewn(60), double(out.stitchesInPlan()) / 60);
}

} // namespace
} // namespace kelvara
