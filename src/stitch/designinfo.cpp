#include "stitch/designinfo.h"

#include "shell/outcome.h"
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

std::string hoopText(const LineTable& messages, const DesignInfo& i)
{
    if (!i.hoopsListed)
        return {};
    const Outcome hoop =
        i.chosenHoop.empty()
            ? Outcome(kSlotInfoNoHoop)
            : Outcome(i.fitsChosenHoop ? kSlotInfoHoopFits : kSlotInfoHoopNoFit, i.chosenHoop);
    const std::string smallest =
        i.smallestHoop.empty() ? messageText(messages, kSlotInfoNoHoopListed) : i.smallestHoop;
    return "\n" + messageText(messages, hoop) + "\n" +
           messageText(messages, Outcome(kSlotInfoSmallestHoop, smallest));
}

} // namespace

void DesignMeasure::add(std::span<const StitchRecord> records)
{
    if (!started_ && !records.empty()) {
        started_ = true;
        x_ = records.front().x;
        y_ = records.front().y;
    }
    for (const StitchRecord& r : records) {
        switch (r.kind) {
        case StitchKind::Stitch:
            info_.stitches += 1;
            units_ += std::hypot(double(r.x) - x_, double(r.y) - y_);
            break;
        case StitchKind::Jump:
            if (!lastWasJump_)
                info_.jumps += 1;
            break;
        case StitchKind::Trim:
            info_.trims += 1;
            break;
        case StitchKind::ColourChange:
            info_.colourChanges += 1;
            break;
        case StitchKind::End:
            break;
        }
        lastWasJump_ = r.kind == StitchKind::Jump;
        x_ = r.x;
        y_ = r.y;
    }
    hull_.add(records);
}

DesignInfo DesignMeasure::finish(int32_t objects, int32_t stitchesPerMinute, const HoopList* hoops,
                                 const Hoop* chosen)
{
    DesignInfo info = info_;
    info.objects = objects;
    const std::vector<StitchRecord>* const hull[] = {&hull_.points()};
    if (const PlanBox box = sewnBoxOf(hull); !box.empty()) {
        info.widthMm = double(box.width()) / kUnitsPerMm;
        info.heightMm = double(box.height()) / kUnitsPerMm;
    }
    info.threadMetres = units_ / kUnitsPerMm / 1000.0;
    info.minutes = double(info.stitches) / std::max(1, stitchesPerMinute);
    if (hoops == nullptr)
        return info;
    info.hoopsListed = !hoops->hoops.empty() || chosen != nullptr;
    info.chosenHoop = chosen ? hoopTitle(*chosen) : std::string();
    info.fitsChosenHoop = chosen == nullptr || fitsHoop(*chosen, hull);
    const Hoop* smallest = smallestHoop(*hoops, hull);
    info.smallestHoop = smallest ? smallest->name : std::string();
    return info;
}

DesignInfo measureDesign(const StitchPlan& plan, int32_t objects, int32_t stitchesPerMinute,
                         const HoopList* hoops, const Hoop* chosen)
{
    DesignMeasure measure;
    measure.add(plan.records);
    return measure.finish(objects, stitchesPerMinute, hoops, chosen);
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

std::string designInfoText(const LineTable& messages, const DesignInfo& i)
{
    const auto line = [&](MessageSlot slot, std::string a, std::string b = {}) {
        return messageText(messages, Outcome(slot, std::move(a), std::move(b)));
    };
    return line(kSlotInfoSize, fixed(i.widthMm, 1), fixed(i.heightMm, 1)) + "\n" +
           line(kSlotInfoStitches, whole(i.stitches)) + "\n" +
           line(kSlotInfoColourChanges, whole(i.colourChanges)) + "\n" +
           line(kSlotInfoTrims, whole(i.trims)) + "\n" + line(kSlotInfoJumps, whole(i.jumps)) + "\n" +
           line(kSlotInfoObjects, whole(i.objects)) + "\n" + line(kSlotInfoThread, fixed(i.threadMetres, 1)) +
           "\n" + line(kSlotInfoSewingTime, fixed(std::ceil(i.minutes), 0)) + hoopText(messages, i);
}

std::string designSummary(const DesignInfo& i)
{
    return whole(i.stitches) + " stitches, " + fixed(i.widthMm, 1) + " x " + fixed(i.heightMm, 1) + " mm";
}

} // namespace kelvara
