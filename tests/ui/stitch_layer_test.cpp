// The stitch view's kept picture: after scroll steps of unequal sizes in
// both directions, and with the thread look, the moved picture with its
// newly drawn strips is the picture a fresh drawing makes.
#include "model/workspace.h"
#include "stitch/objectplancache.h"
#include "stitch/sampledesign.h"
#include "support/workspacefixture.h"
#include "ui/stitchlayer.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace kelvara {
namespace {

using namespace testing;

QImage drawn(StitchLayer& layer, const ObjectPlanCache& cache, const ViewState& view, bool thread)
{
    QImage canvas(view.canvasWidth, view.canvasHeight, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    QPainter painter(&canvas);
    layer.paint(painter, cache, view, thread);
    return canvas;
}

TEST(StitchLayer, ScrolledPictureEqualsAFreshDrawing)
{
    auto ws = makeWorkspace();
    buildSampleDesign(*ws);
    ObjectPlanCache cache;
    cache.update(*ws);
    ViewState view = ws->view;
    view.canvasWidth = 420;
    view.canvasHeight = 300;
    view.zoom = 2;
    for (const bool thread : {true, false}) {
        StitchLayer kept;
        view.scrollX = 300;
        view.scrollY = 400;
        drawn(kept, cache, view, thread);
        // Right and down, left and up, diagonal, and a step wider than the canvas.
        const std::pair<int, int> steps[] = {{37, 0}, {0, 53}, {-90, -11}, {5, -140}, {600, 20}, {-1, 1}};
        for (const auto& [dx, dy] : steps) {
            view.scrollX += dx;
            view.scrollY += dy;
            const QImage moved = drawn(kept, cache, view, thread);
            StitchLayer fresh;
            const QImage whole = drawn(fresh, cache, view, thread);
            int differ = 0, most = 0;
            for (int y = 0; y < whole.height(); ++y)
                for (int x = 0; x < whole.width(); ++x) {
                    const QRgb a = moved.pixel(x, y), b = whole.pixel(x, y);
                    const int d = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                            std::abs(qBlue(a) - qBlue(b))});
                    differ += d != 0;
                    most = std::max(most, d);
                }
            // Thread is exact; the flat view's faint dotted jumps may start
            // their dots elsewhere where a strip cuts them, nothing more.
            if (thread)
                EXPECT_EQ(differ, 0) << dx << "," << dy;
            else
                EXPECT_LT(differ, whole.width() * whole.height() / 500) << dx << "," << dy;
            EXPECT_LE(most, 80) << dx << "," << dy;
        }
    }
}

} // namespace
} // namespace kelvara
