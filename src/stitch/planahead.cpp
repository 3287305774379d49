#include "stitch/planahead.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace kelvara {

namespace {

// The stretches between the stitching thread and the drawing one.
struct Handover {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::vector<StitchRecord>> stretches;
    std::size_t held = 0; // records in `stretches`
    bool done = false;    // the stitching thread has finished
    bool dropped = false; // the sink failed: what follows goes nowhere
};

} // namespace

PlanReplay stitchedAhead(PlanReplay plan)
{
    return [plan = std::move(plan)](const RecordSink& sink) {
        Handover h;
        PlanStatus status = PlanStatus::Empty;
        std::exception_ptr stitchFailure;
        std::thread stitcher([&] {
            try {
                status = plan([&](std::span<const StitchRecord> records) {
                    std::unique_lock lock(h.mutex);
                    // One stretch always fits, however long, so nothing waits forever.
                    h.changed.wait(lock, [&] { return h.dropped || h.stretches.empty() || h.held < kAheadRecords; });
                    if (h.dropped)
                        return;
                    h.stretches.emplace_back(records.begin(), records.end());
                    h.held += records.size();
                    h.changed.notify_all();
                });
            } catch (...) {
                stitchFailure = std::current_exception();
            }
            std::lock_guard lock(h.mutex);
            h.done = true;
            h.changed.notify_all();
        });
        std::exception_ptr sinkFailure;
        for (;;) {
            std::vector<StitchRecord> stretch;
            {
                std::unique_lock lock(h.mutex);
                h.changed.wait(lock, [&] { return !h.stretches.empty() || h.done; });
                if (h.stretches.empty())
                    break;
                stretch = std::move(h.stretches.front());
                h.stretches.pop_front();
                h.held -= stretch.size();
                h.changed.notify_all();
            }
            try {
                sink(stretch);
            } catch (...) {
                sinkFailure = std::current_exception();
                std::lock_guard lock(h.mutex);
                h.dropped = true;
                h.stretches.clear();
                h.changed.notify_all();
                break;
            }
        }
        stitcher.join();
        if (stitchFailure)
            std::rethrow_exception(stitchFailure);
        if (sinkFailure)
            std::rethrow_exception(sinkFailure);
        return status;
    };
}

} // namespace kelvara
