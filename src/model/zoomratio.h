#pragma once

#include <cstdint>
#include <numeric>

namespace kelvara {

// The canvas's magnification: a design unit covers zoom / divisor canvas
// pixels. Whole steps keep the divisor 1, and every product below is then
// the plain integer one the view has always used; finer steps (and views
// below 1) give it another divisor. Held in lowest terms.
struct ZoomRatio {
    int32_t zoom = 1;
    int32_t divisor = 1;

    // A whole zoom converts implicitly: the integer view is the ratio z / 1.
    ZoomRatio(int32_t z = 1, int32_t d = 1) : zoom(z >= 1 ? z : 1), divisor(d >= 1 ? d : 1)
    {
        const int32_t common = std::gcd(zoom, divisor);
        zoom /= common;
        divisor /= common;
    }

    double scale() const { return double(zoom) / divisor; }
    bool belowOne() const { return zoom < divisor; }
    bool operator==(const ZoomRatio&) const = default;
    // Strictly larger magnification.
    bool above(const ZoomRatio& o) const { return int64_t(zoom) * o.divisor > int64_t(o.zoom) * divisor; }

    // Design units to canvas pixels, rounded toward minus infinity.
    int64_t pixels(int64_t units) const { return floorDivide(units * zoom, divisor); }
    double exactPixels(double units) const { return units * zoom / divisor; }
    // Canvas pixels to design units, truncated toward zero as clicks always were.
    int64_t units(int64_t pixels) const { return pixels * divisor / zoom; }
    // The same rounded toward minus infinity: the unit a pixel lies in.
    int64_t unitOf(int64_t pixels) const { return floorDivide(pixels * divisor, zoom); }
    double exactUnits(double pixels) const { return pixels * divisor / zoom; }
    static int64_t floorDivide(int64_t a, int64_t b)
    {
        const int64_t q = a / b;
        return q * b > a ? q - 1 : q;
    }
    // A page (or an arrow key's step) of `extent` canvas pixels as the
    // scroll bars count it: extent div zoom when magnified, as the bars
    // always did, the extent itself below 1 so a page never skips a view.
    int64_t page(int64_t extent) const { return belowOne() ? extent : units(extent); }
};

} // namespace kelvara
