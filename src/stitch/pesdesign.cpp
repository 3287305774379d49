#include "stitch/pesdesign.h"

#include <bit>
#include <string_view>

namespace kelvara {

namespace {

// The hoop's top-left corner in the design section's own coordinates, and
// the hoops version 1 names.
constexpr float kHoopLeft = 350, kHoopTop = 100;
constexpr int kSmallHoop = 1000, kLargeHoopWidth = 1300, kLargeHoopHeight = 1800;
constexpr uint16_t kMoreSegments = 0x8003;
constexpr std::size_t kSegmentPoints = 1000; // as many as files in use hold in one

void put16(std::vector<uint8_t>& out, int v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void putFloat(std::vector<uint8_t>& out, float v)
{
    const auto bits = std::bit_cast<uint32_t>(v);
    put16(out, static_cast<int>(bits & 0xFFFF));
    put16(out, static_cast<int>(bits >> 16));
}

void putName(std::vector<uint8_t>& out, std::string_view name)
{
    put16(out, static_cast<int>(name.size()));
    out.insert(out.end(), name.begin(), name.end());
}

struct Segment {
    int type = 0; // 0 sews, 1 jumps
    int block = 0;
    std::vector<std::pair<int, int>> points;
};

// Each run of stitches or jumps becomes a segment that starts where the
// needle is; a trim or colour change ends one.
std::vector<Segment> segmentsOf(const StitchPlan& plan, const PlanBox& box,
                                std::vector<std::pair<int, int>>& colourStarts)
{
    std::vector<Segment> segments;
    const auto cx = static_cast<int>(box.centreX()), cy = static_cast<int>(box.centreY());
    // The needle, from the centre: the design starts at its first record.
    int x = plan.records.empty() ? 0 : plan.records.front().x - cx;
    int y = plan.records.empty() ? 0 : plan.records.front().y - cy;
    int block = 0;
    bool open = false;
    colourStarts.push_back({0, 0});
    for (const StitchRecord& r : plan.records) {
        const int rx = r.x - cx, ry = r.y - cy;
        switch (r.kind) {
        case StitchKind::Stitch:
        case StitchKind::Jump: {
            const int type = r.kind == StitchKind::Stitch ? 0 : 1;
            if (!open || segments.back().type != type || segments.back().points.size() >= kSegmentPoints) {
                segments.push_back({type, block, {{x, y}}});
                open = true;
            }
            segments.back().points.push_back({rx, ry});
            break;
        }
        case StitchKind::ColourChange:
            ++block;
            colourStarts.push_back({static_cast<int>(segments.size()), block});
            open = false;
            break;
        case StitchKind::Trim:
        case StitchKind::End:
            open = false;
            break;
        }
        x = rx, y = ry;
    }
    return segments;
}

} // namespace

void appendPesDesign(std::vector<uint8_t>& out, const StitchPlan& plan, const PlanBox& box,
                     const std::vector<uint8_t>& palette, bool largeHoop)
{
    std::vector<std::pair<int, int>> colourStarts;
    const std::vector<Segment> segments = segmentsOf(plan, box, colourStarts);
    // Segments are counted in 16 bits; beyond that only the PEC block,
    // which every reader and machine takes, carries the design.
    if (segments.size() > 0xFFFF) {
        out.insert(out.end(), {0x00, 0x00, 0x00, 0x00, 0x00, 0x00});
        return;
    }
    const auto left = static_cast<int>(box.left - box.centreX()),
               top = static_cast<int>(box.top - box.centreY());
    const auto right = static_cast<int>(box.right - box.centreX()),
               bottom = static_cast<int>(box.bottom - box.centreY());
    const int hoopWidth = largeHoop ? kLargeHoopWidth : kSmallHoop;
    const int hoopHeight = largeHoop ? kLargeHoopHeight : kSmallHoop;

    put16(out, 1); // one design block
    out.insert(out.end(), {0xFF, 0xFF, 0x00, 0x00});
    putName(out, "CEmbOne");
    for (int twice = 0; twice < 2; ++twice)
        for (const int v : {left, top, right, bottom})
            put16(out, v);
    for (const float v : {1.0F, 0.0F, 0.0F, 1.0F})
        putFloat(out, v);
    putFloat(out, kHoopLeft + static_cast<float>(hoopWidth) / 2);
    putFloat(out, kHoopTop + static_cast<float>(hoopHeight) / 2);
    put16(out, 1);
    put16(out, left);
    put16(out, top);
    put16(out, static_cast<int>(box.width()));
    put16(out, static_cast<int>(box.height()));
    out.insert(out.end(), 8, 0x00);
    put16(out, static_cast<int>(segments.size()));
    out.insert(out.end(), {0xFF, 0xFF, 0x00, 0x00});

    putName(out, "CSewSeg");
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const Segment& s = segments[i];
        put16(out, s.type);
        put16(out, s.block);
        put16(out, static_cast<int>(s.points.size()));
        for (const auto& [x, y] : s.points) {
            put16(out, x);
            put16(out, y);
        }
        if (i + 1 < segments.size())
            put16(out, kMoreSegments);
    }
    put16(out, static_cast<int>(colourStarts.size()));
    for (const auto& [segment, block] : colourStarts) {
        put16(out, segment);
        put16(out, block < static_cast<int>(palette.size()) ? palette[static_cast<std::size_t>(block)] : 0);
    }
    out.insert(out.end(), {0x00, 0x00, 0x00, 0x00});
}

} // namespace kelvara
