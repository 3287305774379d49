#include "stitch/jefwriter.h"

#include "stitch/colourlist.h"
#include "stitch/machinemoves.h"
#include "stitch/threadchart.h"

namespace kelvara {

namespace {

void put32(std::vector<uint8_t>& out, int64_t v)
{
    const auto u = static_cast<uint32_t>(v);
    out.insert(out.end(), {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8),
                           static_cast<uint8_t>(u >> 16), static_cast<uint8_t>(u >> 24)});
}

// Distances from the centre to the edges, left, top, right, bottom (y
// upward in the file, so top is the design's smallest y).
struct Edges {
    int64_t left, top, right, bottom;
};

void putMargins(std::vector<uint8_t>& out, const Edges& e, int32_t width, int32_t height)
{
    const int64_t halfW = width / 2, halfH = height / 2;
    if (e.left > halfW || e.right > halfW || e.top > halfH || e.bottom > halfH) {
        for (int i = 0; i < 4; ++i)
            put32(out, -1);
        return;
    }
    put32(out, halfW - e.left);
    put32(out, halfH - e.top);
    put32(out, halfW - e.right);
    put32(out, halfH - e.bottom);
}

} // namespace

Outcome writeJef(const StitchPlan& plan, const ThreadChart& chart, std::string_view date,
                 std::vector<uint8_t>& out, const Hoop* chosen)
{
    out.clear();
    const PlanBox box = planExtents(plan);
    const Edges edges{box.centreX() - box.left, box.centreY() - box.top, box.right - box.centreX(),
                      box.bottom - box.centreY()};
    const JefHoop* hoop = nullptr;
    const auto holds = [&](const JefHoop& h) {
        return edges.left <= h.width / 2 && edges.right <= h.width / 2 && edges.top <= h.height / 2 &&
               edges.bottom <= h.height / 2;
    };
    for (const JefHoop& h : kJefHoops)
        if (chosen != nullptr && h.width == chosen->width && h.height == chosen->height && holds(h))
            hoop = &h;
    for (const JefHoop& h : kJefHoops) {
        if (hoop == nullptr && holds(h)) {
            hoop = &h;
            break;
        }
    }
    if (!hoop)
        return Outcome(kSlotJefTooLarge);

    std::vector<uint8_t> moves;
    moves.reserve(plan.records.size() * 2 + 16);
    forEachMachineMove(plan, kJefMaxStep, [&](const MachineMove& m) {
        const auto dx = static_cast<uint8_t>(m.dx), dy = static_cast<uint8_t>(-m.dy);
        switch (m.kind) {
        case StitchKind::Stitch:
            moves.insert(moves.end(), {dx, dy});
            break;
        case StitchKind::Jump:
            moves.insert(moves.end(), {0x80, 0x02, dx, dy});
            break;
        case StitchKind::Trim:
            moves.insert(moves.end(), {0x80, 0x02, 0x00, 0x00});
            break;
        case StitchKind::ColourChange:
            moves.insert(moves.end(), {0x80, 0x01, 0x00, 0x00});
            break;
        case StitchKind::End:
            moves.insert(moves.end(), {0x80, 0x10});
            break;
        }
    });

    const std::vector<ColourBlock> blocks = colourBlocks(plan);
    const auto threads = static_cast<int64_t>(blocks.size());
    out.reserve(static_cast<std::size_t>(kJefHeaderSize + 8 * threads) + moves.size());
    put32(out, kJefHeaderSize + 8 * threads);
    put32(out, 0x14);
    std::string stamp(date.substr(0, 14));
    stamp.resize(14, '0');
    out.insert(out.end(), stamp.begin(), stamp.end());
    out.insert(out.end(), {0x00, 0x00});
    put32(out, threads);
    put32(out, static_cast<int64_t>(moves.size() / 2));
    put32(out, hoop->code);
    put32(out, edges.left);
    put32(out, edges.top);
    put32(out, edges.right);
    put32(out, edges.bottom);
    putMargins(out, edges, 1100, 1100);
    putMargins(out, edges, 500, 500);
    putMargins(out, edges, 1400, 2000);
    putMargins(out, edges, 2000, 2000);
    for (const ColourBlock& b : blocks) {
        const int nearest = nearestThread(chart, b.colour);
        put32(out, nearest < 0 ? 1 : chart.threads[static_cast<std::size_t>(nearest)].code);
    }
    for (int64_t i = 0; i < threads; ++i)
        put32(out, 0x0D);
    out.insert(out.end(), moves.begin(), moves.end());
    return {};
}

} // namespace kelvara
