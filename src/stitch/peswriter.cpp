#include "stitch/peswriter.h"

#include "stitch/colourlist.h"
#include "stitch/machinemoves.h"
#include "stitch/pesdesign.h"
#include "stitch/threadchart.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace kelvara {

namespace {

constexpr int kThumbBytes = kPecThumbWidth / 8 * kPecThumbHeight;
using Thumbnail = std::array<uint8_t, kThumbBytes>;

void put16(std::vector<uint8_t>& out, int v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void longAxis(std::vector<uint8_t>& out, int v, uint8_t flag)
{
    const auto u = static_cast<uint16_t>(v) & 0x0FFF;
    out.push_back(static_cast<uint8_t>(0x80 | flag | (u >> 8)));
    out.push_back(static_cast<uint8_t>(u & 0xFF));
}

void move(std::vector<uint8_t>& out, int dx, int dy, uint8_t flag)
{
    const bool shortForm = flag == 0 && dx >= -64 && dx <= 63 && dy >= -64 && dy <= 63;
    if (shortForm) {
        out.push_back(static_cast<uint8_t>(dx & 0x7F));
        out.push_back(static_cast<uint8_t>(dy & 0x7F));
        return;
    }
    longAxis(out, dx, flag);
    longAxis(out, dy, flag);
}

// Thumbnails show the stitches, each block in an image of its own and all in
// the first, scaled into the picture with a pixel to spare on each side.
class Thumbnails {
public:
    Thumbnails(const PlanBox& box, std::size_t blocks) : box_(box), images_(blocks + 1, Thumbnail{})
    {
        const int64_t span =
            std::max<int64_t>({box.width(), box.height() * (kPecThumbWidth - 2) / (kPecThumbHeight - 2), 1});
        scale_ = static_cast<double>(kPecThumbWidth - 3) / static_cast<double>(span);
    }
    void line(std::size_t block, int64_t x0, int64_t y0, int64_t x1, int64_t y1)
    {
        int ax = px(x0), ay = py(y0);
        const int bx = px(x1), by = py(y1);
        const int sx = ax < bx ? 1 : -1, sy = ay < by ? 1 : -1;
        const int dx = std::abs(bx - ax), dy = -std::abs(by - ay);
        int err = dx + dy;
        for (;;) {
            plot(0, ax, ay);
            plot(block + 1, ax, ay);
            if (ax == bx && ay == by)
                break;
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                ax += sx;
            }
            if (e2 <= dx) {
                err += dx;
                ay += sy;
            }
        }
    }
    void append(std::vector<uint8_t>& out) const
    {
        for (const Thumbnail& t : images_)
            out.insert(out.end(), t.begin(), t.end());
    }

private:
    int px(int64_t x) const { return 1 + static_cast<int>(static_cast<double>(x - box_.left) * scale_); }
    int py(int64_t y) const { return 1 + static_cast<int>(static_cast<double>(y - box_.top) * scale_); }
    void plot(std::size_t image, int x, int y)
    {
        if (x < 0 || y < 0 || x >= kPecThumbWidth || y >= kPecThumbHeight || image >= images_.size())
            return;
        images_[image][static_cast<std::size_t>(y * (kPecThumbWidth / 8) + x / 8)] |=
            static_cast<uint8_t>(1u << (x % 8));
    }

    PlanBox box_;
    std::vector<Thumbnail> images_;
    double scale_ = 1;
};

} // namespace

Outcome writePes(const StitchPlan& plan, const ThreadChart& chart, std::string_view label,
                 std::vector<uint8_t>& out, const Hoop* chosen)
{
    out.clear();
    const PlanBox box = planExtents(plan);
    if (box.width() > kPesMaxWidth || box.height() > kPesMaxHeight)
        return Outcome(kSlotPesTooLarge);
    const std::vector<ColourBlock> blocks = colourBlocks(plan);
    if (blocks.size() > static_cast<std::size_t>(kPecMaxBlocks))
        return Outcome(kSlotPesTooManyBlocks);

    std::vector<uint8_t> list;
    list.reserve(plan.records.size() * 2 + 16);
    // The list starts at the design's centre, as DST, EXP and JEF do.
    Thumbnails thumbs(box, blocks.size());
    int64_t x = box.centreX(), y = box.centreY();
    std::size_t block = 0;
    int changeMark = 2;
    forEachMachineMove(plan, kPecMaxStep, [&](const MachineMove& m) {
        switch (m.kind) {
        case StitchKind::Stitch:
            move(list, m.dx, m.dy, 0);
            thumbs.line(block, x, y, x + m.dx, y + m.dy);
            break;
        case StitchKind::Jump:
            move(list, m.dx, m.dy, 0x10);
            break;
        case StitchKind::Trim:
            move(list, 0, 0, 0x20);
            break;
        case StitchKind::ColourChange:
            list.insert(list.end(), {0xFE, 0xB0, static_cast<uint8_t>(changeMark)});
            changeMark = 3 - changeMark;
            ++block;
            break;
        case StitchKind::End:
            list.push_back(0xFF);
            break;
        }
        x += m.dx;
        y += m.dy;
    });

    // The thumbnails' offset has three bytes; past them the machine would
    // look for its pictures in the middle of the stitches.
    if (16 + list.size() > 0xFFFFFF)
        return Outcome(kSlotPesTooManyStitches);

    std::string name;
    for (char c : label.substr(0, 16))
        name += c >= 0x20 && c < 0x7F ? c : '_';
    name.resize(16, ' ');

    std::vector<uint8_t> palette;
    for (const ColourBlock& b : blocks) {
        const int nearest = nearestThread(chart, b.colour);
        palette.push_back(
            static_cast<uint8_t>(nearest < 0 ? 20 : chart.threads[static_cast<std::size_t>(nearest)].code));
    }

    out.reserve(kPesHeaderSize + 20 * plan.records.size() / 4 + kPecListOffset + 20 + list.size() +
                (blocks.size() + 1) * kThumbBytes);
    const std::string magic = "#PES0001";
    out.insert(out.end(), magic.begin(), magic.end());
    out.insert(out.end(), 4, 0); // the PEC block's offset, known below
    const bool small = box.width() <= 1000 && box.height() <= 1000;
    const bool chosenLarge = chosen != nullptr && chosen->width == 1300 && chosen->height == 1800;
    const bool largeHoop = !small || chosenLarge;
    put16(out, largeHoop ? 1 : 0);
    put16(out, 0); // the design area is the hoop's
    appendPesDesign(out, plan, box, palette, largeHoop);

    const std::size_t pec = out.size();
    for (int i = 0; i < 4; ++i)
        out[8 + static_cast<std::size_t>(i)] = static_cast<uint8_t>(pec >> (8 * i));
    const std::string head = "LA:" + name + '\r';
    out.insert(out.end(), head.begin(), head.end());
    out.insert(out.end(), 11, 0x20);
    out.insert(out.end(), {0xFF, 0xFF, 0x00, kPecThumbWidth / 8, kPecThumbHeight});
    out.insert(out.end(), {0x20, 0x20, 0x20, 0x20, 0x64, 0x20, 0x00, 0x20, 0x00, 0x20, 0x20, 0x20});
    out.push_back(static_cast<uint8_t>(blocks.size() - 1)); // 0xFF: no colours
    out.insert(out.end(), palette.begin(), palette.end());
    out.resize(pec + kPecListOffset, 0x20);

    const std::size_t thumbOffset = 16 + list.size();
    out.insert(out.end(),
               {0x00, 0x00, static_cast<uint8_t>(thumbOffset), static_cast<uint8_t>(thumbOffset >> 8),
                static_cast<uint8_t>(thumbOffset >> 16), 0x31, 0xFF, 0xF0});
    put16(out, static_cast<int>(box.width()));
    put16(out, static_cast<int>(box.height()));
    put16(out, 0x01E0);
    put16(out, 0x01B0);
    out.insert(out.end(), list.begin(), list.end());
    thumbs.append(out);
    return {};
}

} // namespace kelvara
