#pragma once

#include "model/objecttable.h"
#include "shell/settings.h"
#include "stitch/objectplancache.h"

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

class QTimer;

namespace kelvara {

struct Workspace;

// The design's stitches for the window. In the foreground a look at them
// first brings them up to the design. In the background a thread of its own
// plans them from a copy of the design, and the window draws from the last
// plan made until a newer one comes (`planned`); a later edit stops a plan
// under way, and the next starts from the pieces it had stitched.
//
// Ownership: the thread alone touches its working cache; it hands the window
// copies that share the pieces, which are never changed once made, and the
// design copies it plans from are never changed once made either.
class PlanKeeper : public QObject {
    Q_OBJECT
public:
    PlanKeeper();
    ~PlanKeeper() override;

    // From now on plans on a thread of its own (BACKPLAN).
    void startBackground();
    bool background() const { return thread_.joinable(); }

    // In the foreground the plan of the design as it is; in the background
    // the last plan made, with a newer one started when the design changed
    // since. A small design's plan is waited for a moment, so an edit
    // shows its stitches with it.
    const ObjectPlanCache& follow(const Workspace& ws);
    // The plan of the design as it is, whatever it takes: for commands that
    // work on the stitches themselves.
    const ObjectPlanCache& current(const Workspace& ws);
    // The plan follow() gave last.
    const ObjectPlanCache& shown() const;
    // A plan under way in the background, and how far it is, 0..1.
    bool planning() const { return background() && shownFor_ != submitted_; }
    double progress() const;

signals:
    // A newer plan came from the thread.
    void planned();
    // While a plan is under way, now and then; and once when it ends.
    void progressed();

private:
    struct DesignCopy {
        ObjectTable table;
        RecordStore records;
        Settings settings;
    };
    void submit(const Workspace& ws);
    void run();
    // Takes the plan the thread made, if any; true when one came.
    bool takeReady();
    void announceReady();
    // No plan is under way any more: no ticks, no busy cursor.
    void endBusy();

    ObjectPlanCache working_; // the thread's, or the window's in the foreground
    const Libraries* libraries_ = nullptr;

    // The window's side.
    std::shared_ptr<const DesignCopy> submitted_;
    std::shared_ptr<const DesignCopy> shownFor_;
    std::shared_ptr<const ObjectPlanCache> shown_;
    // The design whose plan planned() told of last: a plan taken quietly by
    // a caller that was not drawing the canvas is still told of.
    std::shared_ptr<const DesignCopy> announcedFor_;
    QTimer* ticker_ = nullptr;
    bool busyCursor_ = false;

    // Between the two, under lock_.
    std::mutex lock_;
    std::condition_variable wake_;  // the thread: a design to plan, or quit
    std::condition_variable ready_; // the window: a plan came
    std::shared_ptr<const DesignCopy> pending_;
    std::shared_ptr<const ObjectPlanCache> made_;
    std::shared_ptr<const DesignCopy> madeFor_;
    bool quit_ = false;
    std::atomic<bool> stop_{false};
    std::atomic<int64_t> done_{0}, total_{0};
    std::thread thread_;
};

} // namespace kelvara
