#pragma once

// Designs shared by the design tests, the README picture and the benchmark.

#include "stitch/stitchtesting.h"

namespace kelvara::testing {

// A small badge: a filled disc, a sun of radial satin, a satin banner, a leaf
// of fill, a tapering column, a bean-stitch outline and a jump between them.
inline void buildSampleDesign(Workspace& ws)
{
    ObjectParams disc = circleParams(500, 500, 400, 400, 45);
    disc.circle.colour = 0x803010; // dark blue
    disc.circle.UNDER = 20;
    addObject(ws, KindCircle, disc);

    ObjectParams sun = starParams(500, 420, 150, 150);
    sun.star.colour = 0x00C8FF; // amber
    addObject(ws, KindStar, sun);

    ObjectParams banner = satenParams(curvedEdge(180, 780, 330, 650, 670, 650, 820, 780),
                                      curvedEdge(200, 860, 350, 730, 650, 730, 800, 860));
    banner.saten.colour = 0x2020D0; // red
    banner.saten.SCOMP = banner.saten.TCOMP = 3;
    banner.saten.UNDER = 15;
    banner.saten.TRIM = 1;
    addObject(ws, KindSaten, banner);

    ObjectParams leaf = rectParams(curvedEdge(260, 320, 230, 200, 300, 120, 380, 90),
                                   curvedEdge(260, 320, 380, 300, 420, 180, 380, 90), 30);
    leaf.rect.colour = 0x30A030; // green
    leaf.rect.UNDER = 20;
    addObject(ws, KindRect, leaf);

    ObjectParams stem = steilParams(curvedEdge(270, 330, 300, 420, 360, 470, 420, 520), 6);
    stem.steil.TWIDTH = 18;
    stem.steil.colour = 0x30A030;
    addObject(ws, KindSteil, stem);

    ObjectParams hop = runParams(straightEdge(420, 520, 860, 500));
    hop.run.JUMP = 0;
    addObject(ws, KindRun, hop);

    ObjectParams outline = runParams(curvedEdge(860, 500, 860, 1020, 140, 1020, 140, 500), 25);
    outline.run.colour = -1; // white
    addObject(ws, KindRun, outline);
    ObjectParams outline2 = runParams(curvedEdge(140, 500, 140, -20, 860, -20, 860, 500), 25);
    outline2.run.colour = -1;
    addObject(ws, KindRun, outline2);
}

// `count` objects of every kind in turn on a grid of cells 160 units wide,
// every size times `scale`: a larger scale gives each object more stitches.
inline void buildGridDesign(Workspace& ws, int count, double scale = 1)
{
    const int columns = 64;
    const auto s = [scale](double v) { return v * scale; };
    const auto n = [scale](int32_t v) { return static_cast<int32_t>(v * scale); };
    for (int i = 0; i < count; ++i) {
        const double x = s((i % columns) * 160.0), y = s((i / columns) * 160.0);
        const int32_t ix = static_cast<int32_t>(x), iy = static_cast<int32_t>(y);
        ObjectParams p{};
        int32_t kind = KindRun;
        switch (i % 6) {
        case 0:
            p = runParams(curvedEdge(x, y, x + s(60), y + s(140), x + s(100), y - s(20), x + s(140), y + s(120)),
                          20);
            kind = KindRun;
            break;
        case 1:
            p = satenParams(straightEdge(x, y, x + s(140), y + s(20)),
                            straightEdge(x, y + s(40), x + s(140), y + s(60)));
            kind = KindSaten;
            break;
        case 2:
            p = steilParams(curvedEdge(x, y + s(70), x + s(50), y, x + s(90), y + s(140), x + s(140), y + s(70)),
                            n(30));
            kind = KindSteil;
            break;
        case 3:
            p = rectParams(straightEdge(x, y, x + s(120), y),
                           straightEdge(x + s(10), y + s(100), x + s(130), y + s(100)), 30);
            kind = KindRect;
            break;
        case 4:
            p = starParams(ix + n(70), iy + n(70), n(60), n(50));
            kind = KindStar;
            break;
        default:
            p = circleParams(ix + n(70), iy + n(70), n(60), n(60), 120);
            kind = KindCircle;
            break;
        }
        addObject(ws, kind, p);
    }
}

} // namespace kelvara::testing
