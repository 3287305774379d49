#include "ui/runaside.h"

#include <QEventLoop>

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

void runAside(const std::function<void()>& job)
{
    ++gAside;
    QEventLoop loop;
    std::exception_ptr thrown;
    std::thread worker([&] {
        try {
            job();
        } catch (...) {
            thrown = std::current_exception();
        }
        // Queued, so a job done before the loop starts still ends it.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    --gAside;
    if (thrown)
        std::rethrow_exception(thrown);
}

} // namespace kelvara
