#pragma once

#include "stitch/geometry.h"

#include <cstdint>
#include <vector>

namespace kelvara::stitch {

// A glyph drawn into square pixels (even-odd), to find its centre lines and
// to judge stitches against it.
struct GlyphRaster {
    double left = 0, top = 0, pixel = 1; // design units
    int width = 0, height = 0;
    std::vector<uint8_t> inside;

    bool at(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height && inside[std::size_t(y) * std::size_t(width) + std::size_t(x)] != 0; }
    bool covers(Vec v) const { return at(int(std::floor((v.x - left) / pixel)), int(std::floor((v.y - top) / pixel))); }
};

GlyphRaster rasterGlyph(const std::vector<std::vector<Vec>>& rings, double pixel);

// One centre line between two nodes, with the stroke's full width at each
// of its points.
struct CentreEdge {
    int from = 0, to = 0;
    std::vector<Vec> line;
    std::vector<double> width;
};

// The centre lines of a glyph's strokes: the thinned glyph traced into
// edges between its ends and junctions, the corner spurs of thinning
// pruned, and each end carried on to the stroke's end.
struct GlyphCentres {
    std::vector<Vec> nodes;
    std::vector<CentreEdge> edges;
};

GlyphCentres centreLines(const std::vector<std::vector<Vec>>& rings, const GlyphRaster& raster);

// The distance from `v` to the nearest point of the rings' outline.
double outlineDistance(const std::vector<std::vector<Vec>>& rings, Vec v);

} // namespace kelvara::stitch
