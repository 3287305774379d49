#include "stitch/designinfo.h"

#include "stitch/hoopfit.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace kelvara {

namespace {

// Design units are 0.1 mm.
constexpr double kUnitsPerMm = 10.0;

// Fixed decimals in the C locale whatever the process's locale is: JSON and
// the boxes want a point, and Qt sets the locale from the environment.
std::string fixed(double value, int decimals)
{
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return std::string(text, result.ptr);
}

std::string whole(int64_t value)
{
    return std::to_string(value);
}

std::string hoopText(const DesignInfo& i)
{
    if (!i.hoopsListed)
        return {};
    std::string text = "\nHoop: ";
    if (i.chosenHoop.empty())
        text += "none chosen";
    else
        text += i.chosenHoop + (i.fitsChosenHoop ? ", the design fits" : ", the design does NOT fit");
    text += "\nSmallest hoop that holds it: " + (i.smallestHoop.empty() ? "none listed" : i.smallestHoop);
    return text;
}

} // namespace

DesignInfo measureDesign(const StitchPlan& plan, int32_t objects, int32_t stitchesPerMinute)
{
    DesignInfo info;
    info.objects = objects;
    bool lastWasJump = false;
    double units = 0;
    int32_t x = plan.records.empty() ? 0 : plan.records.front().x;
    int32_t y = plan.records.empty() ? 0 : plan.records.front().y;
    for (const StitchRecord& r : plan.records) {
        switch (r.kind) {
        case StitchKind::Stitch:
            info.stitches += 1;
            units += std::hypot(double(r.x) - x, double(r.y) - y);
            break;
        case StitchKind::Jump:
            if (!lastWasJump)
                info.jumps += 1;
            break;
        case StitchKind::Trim:
            info.trims += 1;
            break;
        case StitchKind::ColourChange:
            info.colourChanges += 1;
            break;
        case StitchKind::End:
            break;
        }
        lastWasJump = r.kind == StitchKind::Jump;
        x = r.x;
        y = r.y;
    }
    const std::vector<StitchRecord>* const all = &plan.records;
    if (const PlanBox box = sewnBoxOf(StitchRuns(&all, 1)); !box.empty()) {
        info.widthMm = double(box.width()) / kUnitsPerMm;
        info.heightMm = double(box.height()) / kUnitsPerMm;
    }
    info.threadMetres = units / kUnitsPerMm / 1000.0;
    info.minutes = double(info.stitches) / std::max(1, stitchesPerMinute);
    return info;
}

void placeInHoops(DesignInfo& info, const StitchPlan& plan, const HoopList& hoops, const Hoop* chosen)
{
    const std::vector<StitchRecord>* runs[] = {&plan.records};
    info.hoopsListed = !hoops.hoops.empty() || chosen != nullptr;
    info.chosenHoop = chosen ? hoopTitle(*chosen) : std::string();
    info.fitsChosenHoop = chosen == nullptr || fitsHoop(*chosen, runs);
    const Hoop* smallest = smallestHoop(hoops, runs);
    info.smallestHoop = smallest ? smallest->name : std::string();
}

std::string designInfoJson(const DesignInfo& i)
{
    std::string hoop = "null";
    if (!i.smallestHoop.empty()) {
        hoop = "\"";
        for (const char c : i.smallestHoop) {
            if (c == '"' || c == '\\')
                hoop += '\\';
            hoop += c;
        }
        hoop += '"';
    }
    return "{\"objects\": " + whole(i.objects) + ", \"stitches\": " + whole(i.stitches) +
           ", \"colour_changes\": " + whole(i.colourChanges) + ", \"trims\": " + whole(i.trims) +
           ", \"jumps\": " + whole(i.jumps) + ", \"width_mm\": " + fixed(i.widthMm, 1) +
           ", \"height_mm\": " + fixed(i.heightMm, 1) + ", \"thread_m\": " + fixed(i.threadMetres, 2) +
           ", \"minutes\": " + fixed(i.minutes, 1) + ", \"hoop\": " + hoop + "}";
}

std::string designInfoText(const DesignInfo& i)
{
    return "Size: " + fixed(i.widthMm, 1) + " x " + fixed(i.heightMm, 1) +
           " mm\nStitches: " + whole(i.stitches) + "\nColour changes: " + whole(i.colourChanges) +
           "\nTrims: " + whole(i.trims) + "\nJumps: " + whole(i.jumps) + "\nObjects: " + whole(i.objects) +
           "\nThread: about " + fixed(i.threadMetres, 1) + " m\nSewing time: about " +
           fixed(std::ceil(i.minutes), 0) + " min" + hoopText(i);
}

std::string designSummary(const DesignInfo& i)
{
    return whole(i.stitches) + " stitches, " + fixed(i.widthMm, 1) + " x " + fixed(i.heightMm, 1) + " mm";
}

} // namespace kelvara
