#include "ui/plankeeper.h"

#include "model/workspace.h"

#include <QCursor>
#include <QGuiApplication>
#include <QTimer>

#include <chrono>
#include <cstring>

namespace kelvara {

namespace {

// How long an edit waits for its plan before the window answers again
// without it: about a frame.
constexpr auto kBriefWait = std::chrono::milliseconds(30);
// How often the status bar hears how far a plan is.
constexpr int kTickMs = 200;

} // namespace

PlanKeeper::PlanKeeper() : ticker_(new QTimer(this))
{
    ticker_->setInterval(kTickMs);
    connect(ticker_, &QTimer::timeout, this, [this] {
        // Only a plan that takes a while shows the busy cursor at all.
        if (!busyCursor_) {
            QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
            busyCursor_ = true;
        }
        emit progressed();
    });
}

PlanKeeper::~PlanKeeper()
{
    if (!thread_.joinable())
        return;
    {
        const std::lock_guard guard(lock_);
        quit_ = true;
        stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
    endBusy();
}

void PlanKeeper::endBusy()
{
    ticker_->stop();
    if (busyCursor_)
        QGuiApplication::restoreOverrideCursor();
    busyCursor_ = false;
}

void PlanKeeper::startBackground()
{
    if (!thread_.joinable())
        thread_ = std::thread([this] { run(); });
}

double PlanKeeper::progress() const
{
    const int64_t total = total_;
    return total > 0 ? std::min(1.0, double(done_) / double(total)) : 0.0;
}

void PlanKeeper::submit(const Workspace& ws)
{
    // A whole compare of the rows and records costs far less than a plan,
    // and catches every change however it was made.
    if (submitted_ && std::memcmp(submitted_->table.rows.data(), ws.table.rows.data(), sizeof ws.table.rows) == 0 &&
        std::memcmp(&submitted_->records, &ws.records, sizeof ws.records) == 0)
        return;
    auto copy = std::make_shared<DesignCopy>();
    copy->table = ws.table;
    copy->records = ws.records;
    copy->settings = ws.settings;
    libraries_ = &ws.libraries;
    submitted_ = std::move(copy);
    {
        const std::lock_guard guard(lock_);
        pending_ = submitted_;
        stop_ = true;
    }
    wake_.notify_one();
    if (!ticker_->isActive()) {
        done_ = total_ = 0;
        ticker_->start();
    }
}

void PlanKeeper::run()
{
    for (;;) {
        std::shared_ptr<const DesignCopy> job;
        {
            std::unique_lock guard(lock_);
            wake_.wait(guard, [this] { return quit_ || pending_ != nullptr; });
            if (quit_)
                return;
            job = std::move(pending_);
            pending_.reset();
            stop_ = false;
        }
        const PlanSource source(job->table, job->records, *libraries_, job->settings);
        const bool whole = working_.update(source, [this](int64_t done, int64_t total) {
            done_ = done;
            total_ = total;
            return !stop_;
        });
        if (!whole)
            continue; // a newer design waits, or the window closes
        auto made = std::make_shared<const ObjectPlanCache>(working_);
        {
            const std::lock_guard guard(lock_);
            made_ = std::move(made);
            madeFor_ = std::move(job);
        }
        ready_.notify_all();
        QMetaObject::invokeMethod(this, &PlanKeeper::announceReady, Qt::QueuedConnection);
    }
}

bool PlanKeeper::takeReady()
{
    {
        const std::lock_guard guard(lock_);
        if (!made_)
            return false;
        // A plan the window already made for itself is not taken back for
        // an older one.
        if (shownFor_ != submitted_ || madeFor_ == submitted_) {
            shown_ = std::move(made_);
            shownFor_ = std::move(madeFor_);
        }
        made_.reset();
        madeFor_.reset();
    }
    if (shownFor_ == submitted_)
        endBusy();
    return true;
}

void PlanKeeper::announceReady()
{
    const bool caughtUp = shownFor_ == submitted_;
    takeReady();
    if (caughtUp != (shownFor_ == submitted_))
        emit progressed();
    // follow() may have taken the plan already, for the status bar as well
    // as for the canvas: the canvas is told whenever it may not have it.
    if (shownFor_ == announcedFor_)
        return;
    announcedFor_ = shownFor_;
    emit planned();
}

const ObjectPlanCache& PlanKeeper::follow(const Workspace& ws)
{
    if (!background()) {
        working_.update(ws);
        return working_;
    }
    submit(ws);
    if (planning()) {
        std::unique_lock guard(lock_);
        ready_.wait_for(guard, kBriefWait, [this] { return madeFor_ == submitted_; });
        const bool arrived = madeFor_ == submitted_;
        guard.unlock();
        // Taken quietly: the caller is drawing with it already.
        if (arrived)
            takeReady();
    }
    return shown();
}

const ObjectPlanCache& PlanKeeper::shown() const
{
    if (!background())
        return working_;
    static const ObjectPlanCache none;
    return shown_ ? *shown_ : none;
}

const ObjectPlanCache& PlanKeeper::current(const Workspace& ws)
{
    if (!background())
        return follow(ws);
    follow(ws);
    if (planning()) {
        // Stitched here from the last plan's pieces, rather than waiting for
        // the thread, which goes on to the same plan.
        auto now = std::make_shared<ObjectPlanCache>(shown_ ? *shown_ : ObjectPlanCache{});
        now->update(ws);
        shown_ = std::move(now);
        shownFor_ = submitted_;
        endBusy();
    }
    return *shown_;
}

} // namespace kelvara
