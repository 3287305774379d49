#include "stitch/planreading.h"

#include "stitch/threadchart.h"

#include <algorithm>
#include <array>

namespace kelvara {

namespace {

// Red, blue, green, orange, violet, black, yellow, cyan (red in bits 0-7):
// neighbours in the cycle stand apart on a hoop and in a picture.
constexpr std::array<int32_t, 8> kUnnamedThreads{0x2020D0, 0xC05010, 0x309020, 0x1080F0,
                                                 0x902080, 0x202020, 0x10D0E8, 0xC0B020};

} // namespace

int32_t unnamedThreadColour(int64_t block)
{
    const auto n = static_cast<int64_t>(kUnnamedThreads.size());
    return kUnnamedThreads[static_cast<std::size_t>(((block % n) + n) % n)];
}

int32_t chartThreadColour(const ThreadChart& chart, int64_t code, int64_t block)
{
    for (const Thread& t : chart.threads)
        if (t.code == code)
            return t.colour;
    return unnamedThreadColour(block);
}

std::string labelText(std::string_view field)
{
    std::string out;
    for (const char c : field) {
        if (c == '\r')
            break;
        out += c >= 0x20 && c < 0x7F ? c : '_';
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

PlanReading::PlanReading(std::size_t fileBytes, std::size_t bytesPerRecord,
                         std::function<int32_t(int64_t)> threadOf)
    : threadOf_(std::move(threadOf))
{
    // The file's own length, never a count it claims, bounds the reservation.
    plan_.records.reserve(std::min<std::size_t>(fileBytes / std::max<std::size_t>(bytesPerRecord, 1) + 1,
                                                static_cast<std::size_t>(kMaxRecords)));
    colour_ = threadOf_(0);
}

bool PlanReading::add(StitchKind kind)
{
    if (static_cast<int64_t>(plan_.records.size()) >= kMaxRecords) {
        refused_ = true;
        return false;
    }
    plan_.records.push_back({static_cast<int32_t>(x_), static_cast<int32_t>(y_), colour_, kind});
    return true;
}

bool PlanReading::move(int64_t dx, int64_t dy, StitchKind kind)
{
    x_ += dx;
    y_ += dy;
    if (x_ < -kMaxMachineReach || x_ > kMaxMachineReach || y_ < -kMaxMachineReach || y_ > kMaxMachineReach) {
        refused_ = true;
        return false;
    }
    if (kind == StitchKind::Stitch)
        sewn_ = true;
    else if (!sewn_)
        return true; // the travel to the first stitch
    return add(kind);
}

bool PlanReading::trim()
{
    return !sewn_ || add(StitchKind::Trim);
}

bool PlanReading::colourChange(bool stop)
{
    if (!stop)
        ++block_;
    colour_ = threadOf_(block_);
    return !sewn_ || add(StitchKind::ColourChange);
}

MachineRead PlanReading::refuse(MessageSlot slot, std::size_t offset) const
{
    return refuse(slot, Outcome(kSlotAtByte, std::to_string(offset)));
}

MachineRead PlanReading::refuse(MessageSlot slot, Outcome where) const
{
    MachineRead out;
    out.refusal = slot;
    out.where = std::move(where);
    return out;
}

MachineRead PlanReading::finish(std::string label)
{
    if (!sewn_)
        return refuse(kSlotMachineFileNoStitches, Outcome());
    plan_.records.push_back({static_cast<int32_t>(x_), static_cast<int32_t>(y_), colour_, StitchKind::End});
    MachineRead out;
    out.read = true;
    out.plan = std::move(plan_);
    out.label = std::move(label);
    return out;
}

} // namespace kelvara
