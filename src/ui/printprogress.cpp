#include "ui/printprogress.h"

#include "ui/runaside.h"

#include <QProgressDialog>
#include <QTimer>

#include <algorithm>

namespace kelvara {

namespace {

// A pass shorter than this shows no box at all.
constexpr int kBoxAfterMs = 400;
constexpr int kTickMs = 100;

} // namespace

PlanReplay PrintProgress::watched(PlanReplay plan)
{
    return [this, plan = std::move(plan)](const RecordSink& sink) {
        return plan([&](std::span<const StitchRecord> records) {
            if (stopped_)
                throw Stopped{};
            sink(records);
            ++done_;
        });
    };
}

bool PrintProgress::run(QWidget* owner, const QString& title, const QString& label, bool aside,
                        const std::function<void()>& job)
{
    done_ = 0;
    bool stopped = false;
    const auto pass = [&] {
        try {
            job();
        } catch (const Stopped&) {
            stopped = true;
        }
    };
    if (!aside) {
        pass();
        return !stopped;
    }
    // Modal, so while it is up its Cancel is the only input the windows take.
    QProgressDialog box(label, QStringLiteral("Cancel"), 0, 100, owner);
    box.setWindowTitle(title);
    box.setWindowModality(Qt::ApplicationModal);
    box.setMinimumDuration(kBoxAfterMs);
    box.setAutoClose(false);
    box.setAutoReset(false);
    QObject::connect(&box, &QProgressDialog::canceled, [this] { stop(); });
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout,
                     [&] { box.setValue(std::min(99, int(int64_t(done_) * 100 / objects_))); });
    ticker.start(kTickMs);
    runAside(pass, [&box] { return box.isVisible(); });
    return !stopped;
}

} // namespace kelvara
