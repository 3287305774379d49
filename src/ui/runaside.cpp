#include "ui/runaside.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <atomic>
#include <exception>
#include <thread>

namespace kelvara {

namespace {

int gAside = 0; // jobs running aside, counted on the window's thread

} // namespace

bool runningAside()
{
    return gAside > 0;
}

void runAside(const std::function<void()>& job, const std::function<bool()>& inputAllowed)
{
    ++gAside;
    std::atomic<bool> done{false};
    std::exception_ptr thrown;
    QObject waker;
    std::thread worker([&] {
        try {
            job();
        } catch (...) {
            thrown = std::current_exception();
        }
        done = true;
        // An event, so a wait for more events ends.
        QMetaObject::invokeMethod(
            &waker, [] {}, Qt::QueuedConnection);
    });
    while (!done) {
        const bool input = inputAllowed && inputAllowed();
        QCoreApplication::processEvents((input ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents) |
                                        QEventLoop::WaitForMoreEvents);
    }
    worker.join();
    // Delivered or not, the wake-up goes with its receiver.
    --gAside;
    if (thrown)
        std::rethrow_exception(thrown);
}

} // namespace kelvara
