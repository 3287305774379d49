#include "stitch/stitchout.h"

#include <algorithm>

namespace kelvara {

namespace {

bool isStop(const StitchRecord& r)
{
    return r.kind == StitchKind::ColourChange || r.kind == StitchKind::Trim;
}

} // namespace

StitchOut::StitchOut(StitchPlan plan) : plan_(std::move(plan))
{
    stitchCounts_.reserve(plan_.records.size());
    int64_t count = 0;
    for (const StitchRecord& r : plan_.records) {
        count += r.kind == StitchKind::Stitch ? 1 : 0;
        stitchCounts_.push_back(count);
    }
}

int64_t StitchOut::stitchesSewn() const
{
    return played_ == 0 ? 0 : stitchCounts_[played_ - 1];
}

double StitchOut::minutesSewn(int32_t stitchesPerMinute) const
{
    return double(stitchesSewn()) / std::max(1, stitchesPerMinute);
}

void StitchOut::seek(std::size_t played)
{
    played_ = std::min(played, total());
    owedMicros_ = 0;
    if (played_ == total())
        playing_ = false;
}

void StitchOut::step(int records)
{
    if (records < 0)
        seek(played_ - std::min(played_, std::size_t(-int64_t(records))));
    else
        seek(played_ + std::size_t(records));
}

void StitchOut::nextStop()
{
    std::size_t i = played_;
    while (i < total() && !isStop(plan_.records[i]))
        ++i;
    seek(i + 1);
}

void StitchOut::previousStop()
{
    // Past the stop the needle stands just after, back to the one before it.
    for (std::size_t j = played_ == 0 ? 0 : played_ - 1; j > 0;) {
        --j;
        if (isStop(plan_.records[j])) {
            seek(j + 1);
            return;
        }
    }
    seek(0);
}

void StitchOut::setPlaying(bool on)
{
    playing_ = on && played_ < total();
    owedMicros_ = 0;
}

void StitchOut::setSpeed(int stitchesPerSecond)
{
    speed_ = std::clamp(stitchesPerSecond, kSlowest, kFastest);
}

void StitchOut::advance(int64_t milliseconds)
{
    if (!playing_ || milliseconds <= 0)
        return;
    owedMicros_ += std::min<int64_t>(milliseconds, 1000) * 1000;
    const int64_t perRecord = 1000000 / speed_;
    const int64_t records = owedMicros_ / perRecord;
    owedMicros_ -= records * perRecord;
    played_ = std::min(total(), played_ + std::size_t(records));
    if (played_ == total())
        playing_ = false;
}

} // namespace kelvara
