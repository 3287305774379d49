#pragma once

#include "stitch/stitchplan.h"

#include <cstdint>

namespace kelvara {

// The stitch-out played back over a plan, record by record: where the
// needle is, how many stitches are sewn and how long that took the machine.
// It holds its own copy of the plan, so playing never touches the design.
class StitchOut {
public:
    static constexpr int kSlowest = 1;     // stitches a second
    static constexpr int kFastest = 10000;

    explicit StitchOut(StitchPlan plan);

    const StitchPlan& plan() const { return plan_; }
    // Records played, 0 (nothing sewn) to the plan's size.
    std::size_t played() const { return played_; }
    std::size_t total() const { return plan_.records.size(); }
    // The record the needle is at; null before the first.
    const StitchRecord* needle() const { return played_ == 0 ? nullptr : &plan_.records[played_ - 1]; }
    // Needle stitches among the records played.
    int64_t stitchesSewn() const;
    int64_t stitchesInPlan() const { return stitchCounts_.empty() ? 0 : stitchCounts_.back(); }
    // Minutes the machine takes for the stitches sewn, at `stitchesPerMinute`.
    double minutesSewn(int32_t stitchesPerMinute) const;

    void seek(std::size_t played);
    void step(int records); // forward when positive, back when negative
    // To just after the next (or back to just after the previous) colour
    // change or trim; to the end (or the start) when there is none.
    void nextStop();
    void previousStop();

    bool playing() const { return playing_; }
    void setPlaying(bool on);
    int speed() const { return speed_; } // stitches a second
    void setSpeed(int stitchesPerSecond);
    // Plays on by `milliseconds` of time at the speed; stops at the end.
    void advance(int64_t milliseconds);

private:
    StitchPlan plan_;
    std::vector<int64_t> stitchCounts_; // stitches among the first i + 1 records
    std::size_t played_ = 0;
    bool playing_ = false;
    int speed_ = 100;
    int64_t owedMicros_ = 0; // time played that has not made a whole record yet
};

} // namespace kelvara
