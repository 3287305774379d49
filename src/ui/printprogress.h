#pragma once

#include "stitch/stitchplan.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>

class QWidget;

namespace kelvara {

// Print's passes over the plan (the figures, then the page) under a box
// that tells how far they are and can stop them. The box comes up only for
// a plan that takes a while; stopped, a pass ends before its next object.
class PrintProgress {
public:
    // Thrown out of a pass once the user stopped it.
    struct Stopped {};

    // Passes over a design of `objects` objects.
    explicit PrintProgress(int32_t objects) : objects_(objects > 0 ? objects : 1) {}

    // `plan`, counting the objects it hands over and stopping when asked.
    PlanReplay watched(PlanReplay plan);
    // Runs one pass, `job`, with the box over `owner` titled `title` and
    // saying `label`: with `aside` on a thread of its own while the window
    // repaints. False when the pass was stopped.
    bool run(QWidget* owner, const QString& title, const QString& label, bool aside,
             const std::function<void()>& job);
    // What the box's Cancel does.
    void stop() { stopped_ = true; }

private:
    const int32_t objects_;
    std::atomic<int32_t> done_{0};
    std::atomic<bool> stopped_{false};
};

} // namespace kelvara
