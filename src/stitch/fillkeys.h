#pragma once

// The keys every fill kind shares (angle, density, compensation, top layer,
// underlay, pattern and its scale), read into a fill's description.

#include "shell/libraries.h"
#include "shell/settings.h"
#include "stitch/fill.h"

#include <algorithm>
#include <cmath>

namespace kelvara::stitch {

template <typename Params> void applyFillKeys(const Params& p, const GenContext& ctx, FillSpec& shape)
{
    shape.angle = static_cast<double>(p.ANGLE % 360);
    // Rows closer than one unit would fall onto each other in the machine's steps.
    shape.spacing = clampedLength(p.SDENS, 10, 1e7) / 10;
    shape.comp = p.SCOMP;
    shape.topLayer = p.STITCHES != 0;
    shape.shortest = ctx.settings.DELETE;
    if (p.UNDER != -1) {
        shape.underLength = clampedLength(p.UNDER, 1, 1e9);
        shape.underInset = std::max(0, p.OFSUND);
    }
    const PatternLibrary& patterns = ctx.libraries.patterns;
    if (p.PATTERN >= 0 && p.PATTERN < patterns.count) {
        const auto& rows = patterns.rows[static_cast<std::size_t>(p.PATTERN)];
        int used = 0;
        while (used < PatternLibrary::kRows && rows[static_cast<std::size_t>(used)].markCount > 0)
            ++used;
        shape.patternRows = rows.data();
        shape.patternRowCount = used;
    }
    shape.zoomX = std::isfinite(p.ZOOMX) ? std::clamp(std::abs(p.ZOOMX), 0.5, 20.0) : 1.0;
    shape.rowsPerPatternRow =
        std::isfinite(p.ZOOMY) ? static_cast<int>(std::clamp(std::round(std::abs(p.ZOOMY)), 1.0, 16.0)) : 1;
}

// A fill's own tatami stitch length and row offset, where it sets them (0 is
// the standard). Out of range, the nearest a fill can take: the grid needs
// room beyond the shortest stitch, and a row stitch longer than 7 mm snags.
inline void applyTatami(int32_t flen, int32_t rowShift, FillSpec& shape)
{
    if (flen != 0)
        shape.stitchLength = clampedLength(flen, 15, 70);
    if (rowShift != 0)
        shape.rowShift = std::clamp(rowShift, 1, 99);
}

} // namespace kelvara::stitch
