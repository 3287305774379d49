#pragma once

#include "stitch/stitchplan.h"

#include <string>
#include <vector>

namespace kelvara {

struct ThreadChart;

// A run of the plan sewn in one thread, in sewing order.
struct ColourBlock {
    int32_t colour = 0; // red in bits 0-7
    int64_t stitches = 0;
    bool stop = false; // starts at a stop in the same thread (an appliqué's fabric)
};

// The plan's colour blocks: the first thread is the first record's colour,
// every colour change starts the next block with the thread it names.
std::vector<ColourBlock> colourBlocks(const StitchPlan& plan);

// What the operator does at the `n`th stop in the same thread (0 first):
// an appliqué stops twice, first for its fabric to be laid over the
// placement line just sewn, then for it to be trimmed along the tack-down.
const char* stopNote(int n);

// The colour list an operator threads the machine by: one line per block,
// tab-separated: its number, the colour as #RRGGBB, the nearest thread of
// `chart` ("Janome 202 Vermilion"; "-" without a chart) and its stitch count;
// a block after a stop in the same thread says in a fifth column what the
// stop is for (stopNote).
std::string colourListText(const std::vector<ColourBlock>& blocks, const ThreadChart* chart);

} // namespace kelvara
