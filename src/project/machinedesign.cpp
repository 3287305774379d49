#include "project/machinedesign.h"

#include "model/box.h"
#include "model/stitchblock.h"
#include "model/workspace.h"
#include "stitch/stitchplan.h"

#include <algorithm>

namespace kelvara {

namespace {

struct Block {
    StitchBlock moves;
    int32_t colour = 0;
    bool trimAfter = false;
};

bool stitches(const StitchBlock& block)
{
    return std::any_of(block.moves.begin(), block.moves.end(),
                       [](const BlockMove& m) { return m.kind == BlockMoveKind::Stitch; });
}

// A block ends at its last stitch: moves after it are the travel to the
// next block, and a cut among them is the block's own.
void closeBlock(Block& block, std::vector<Block>& blocks)
{
    auto& moves = block.moves.moves;
    while (!moves.empty() && moves.back().kind != BlockMoveKind::Stitch) {
        block.trimAfter = block.trimAfter || moves.back().kind == BlockMoveKind::Trim;
        moves.pop_back();
    }
    if (stitches(block.moves))
        blocks.push_back(std::move(block));
    block = {};
}

std::vector<Block> colourBlocks(const StitchPlan& plan)
{
    std::vector<Block> blocks;
    Block block;
    for (const StitchRecord& r : plan.records) {
        auto& moves = block.moves.moves;
        switch (r.kind) {
        case StitchKind::Stitch:
            if (moves.empty())
                block.colour = r.colour;
            moves.push_back({r.x, r.y, BlockMoveKind::Stitch});
            break;
        case StitchKind::Jump:
            if (!moves.empty())
                moves.push_back({r.x, r.y, BlockMoveKind::Jump});
            break;
        case StitchKind::Trim:
            if (!moves.empty())
                moves.push_back({r.x, r.y, BlockMoveKind::Trim});
            break;
        case StitchKind::ColourChange:
        case StitchKind::End:
            closeBlock(block, blocks);
            break;
        }
    }
    closeBlock(block, blocks);
    return blocks;
}

} // namespace

std::string machineObjectLines(const StitchPlan& plan, int32_t centreX, int32_t centreY, int32_t group)
{
    std::vector<Block> blocks = colourBlocks(plan);
    PlanBox moves; // centred on 0 while empty
    for (const Block& b : blocks)
        for (const BlockMove& m : b.moves.moves)
            moves.add(m.x, m.y);
    const int64_t dx = blocks.empty() ? 0 : centreX - moves.centreX();
    const int64_t dy = blocks.empty() ? 0 : centreY - moves.centreY();

    std::string text;
    for (Block& b : blocks) {
        for (BlockMove& m : b.moves.moves) {
            m.x = static_cast<int32_t>(m.x + dx);
            m.y = static_cast<int32_t>(m.y + dy);
        }
        text += "STITCHES";
        if (group != 0)
            text += " GROUP=" + std::to_string(group);
        text += " TRIM=" + std::string(b.trimAfter ? "1" : "0");
        text += " R=" + std::to_string(b.colour & 0xFF) + " G=" + std::to_string((b.colour >> 8) & 0xFF) +
                " B=" + std::to_string((b.colour >> 16) & 0xFF) + " MOVES=";
        appendBlock(text, b.moves);
        text += '\n';
    }
    return text;
}

void viewCentre(const Workspace& ws, int32_t& x, int32_t& y)
{
    x = static_cast<int32_t>(ws.view.designX(ws.view.canvasWidth / 2));
    y = static_cast<int32_t>(ws.view.designY(ws.view.canvasHeight / 2));
}

} // namespace kelvara
