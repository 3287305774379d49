#include "stitch/sampledesign.h"
#include "stitch/stitchrender.h"
#include "support/workspacefixture.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cstdlib>

namespace kelvara {
namespace {

using namespace testing;

StitchPlan twoStitches()
{
    StitchPlan plan;
    plan.records = {{20, 30, 0x0000FF, StitchKind::Stitch},
                    {60, 30, 0x0000FF, StitchKind::Stitch},
                    {60, 80, 0x0000FF, StitchKind::Jump},
                    {100, 80, 0x00FF00, StitchKind::Stitch},
                    {100, 80, 0x00FF00, StitchKind::End}};
    return plan;
}

TEST(StitchRender, FollowsTheCanvasMappingInThreadColours)
{
    QImage image(300, 200, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    drawStitchPlan(painter, twoStitches(), 2, 10, 20);
    painter.end();
    // Design (40, 30) is at (40 * 2 - 10, 30 * 2 - 20) = (70, 40): the red stitch.
    EXPECT_EQ(image.pixelColor(70, 40), QColor(255, 0, 0));
    // Design (80, 80) on the green stitch: (150, 140).
    EXPECT_EQ(image.pixelColor(150, 140), QColor(0, 255, 0));
    // The jump between them is not drawn as thread.
    const QColor onJump = image.pixelColor(110, 100);
    EXPECT_NE(onJump, QColor(255, 0, 0));
    EXPECT_NE(onJump, QColor(0, 255, 0));
    // Nothing beside the stitches.
    EXPECT_EQ(image.pixelColor(70, 60), QColor(0, 0, 0));
}

TEST(StitchRender, ScrolledAwayDrawsNothingAndEmptyPlanIsHarmless)
{
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    drawStitchPlan(painter, twoStitches(), 1, 5000, 5000);
    drawStitchPlan(painter, StitchPlan{}, 1, 0, 0);
    painter.end();
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(image.pixel(x, y), QColor(Qt::black).rgb());
    EXPECT_TRUE(renderStitchImage(StitchPlan{}).isNull());
}

TEST(StitchRender, WholeDesignWritesAPng)
{
    auto ws = makeWorkspace();
    buildSampleDesign(*ws);
    StitchPlan plan;
    ASSERT_EQ(generatePlan(*ws, plan), PlanStatus::Ok);
    TempFolder folder;
    // KELVARA_STITCH_PNG names a file to keep the flat picture in.
    const char* keep = std::getenv("KELVARA_STITCH_PNG");
    const std::string path = keep && *keep ? keep : folder.file("design.png");
    ASSERT_TRUE(writeStitchPng(plan, path, 800));
    QImage back(QString::fromStdString(path));
    ASSERT_FALSE(back.isNull());
    EXPECT_LE(std::max(back.width(), back.height()), 800);
    // The disc's blue covers the middle of the picture around the sun.
    int coloured = 0;
    for (int y = 0; y < back.height(); y += 4)
        for (int x = 0; x < back.width(); x += 4)
            coloured += back.pixelColor(x, y) != QColor(Qt::black);
    EXPECT_GT(coloured, back.width() * back.height() / 16 / 2);
    EXPECT_FALSE(writeStitchPng(plan, folder.file("missing/folder/design.png")));
}

} // namespace
} // namespace kelvara
