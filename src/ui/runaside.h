#pragma once

#include <functional>

namespace kelvara {

// Runs `job` on a thread of its own and returns when it is done. Meanwhile
// the window goes on repainting and its timers run, but the user's input
// waits until the job is done, so the design the job reads stays as it is;
// only while `inputAllowed` says so (a modal box that holds the input away
// from the window is up) does input reach the windows. What `job` throws is
// thrown here.
void runAside(const std::function<void()>& job, const std::function<bool()>& inputAllowed = {});

// Whether a job runs aside now. A close the window system asks for is not
// user input and would still arrive: it waits until the job is done.
bool runningAside();

} // namespace kelvara
