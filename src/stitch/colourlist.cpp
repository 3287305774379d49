#include "stitch/colourlist.h"

#include "stitch/threadchart.h"

#include <cstdio>

namespace kelvara {

std::vector<ColourBlock> colourBlocks(const StitchPlan& plan)
{
    std::vector<ColourBlock> blocks;
    for (const StitchRecord& r : plan.records) {
        if (r.kind == StitchKind::End)
            break;
        if (blocks.empty() || r.kind == StitchKind::ColourChange)
            blocks.push_back({r.colour, 0, !blocks.empty() && blocks.back().colour == r.colour});
        if (r.kind == StitchKind::Stitch)
            ++blocks.back().stitches;
    }
    return blocks;
}

const char* stopNote(int n)
{
    return n % 2 == 0 ? "stop: lay fabric over placement line" : "stop: trim fabric at tack-down";
}

std::string colourListText(const std::vector<ColourBlock>& blocks, const ThreadChart* chart)
{
    std::string text;
    int stops = 0;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const int32_t c = blocks[i].colour;
        char head[40];
        std::snprintf(head, sizeof head, "%zu\t#%02X%02X%02X\t", i + 1, c & 0xFF, (c >> 8) & 0xFF,
                      (c >> 16) & 0xFF);
        text += head;
        const int nearest = chart ? nearestThread(*chart, c) : -1;
        if (nearest >= 0) {
            const Thread& t = chart->threads[static_cast<std::size_t>(nearest)];
            text += chart->brand + ' ' + std::to_string(t.code) + ' ' + t.name;
        } else {
            text += '-';
        }
        text += '\t' + std::to_string(blocks[i].stitches);
        if (blocks[i].stop)
            text += std::string("\t") + stopNote(stops++);
        text += '\n';
    }
    return text;
}

} // namespace kelvara
