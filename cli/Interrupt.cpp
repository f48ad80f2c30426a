#include "Interrupt.h"

#include <csignal>
#include <mutex>

std::atomic<bool> StopRequested{false};

namespace {

// Guards may live at once on several threads (runs from Python threads): the first one takes
// SIGINT over, the last one gives it back as it was.
std::mutex guardsMutex;
int guards = 0;
struct sigaction previous {};

} // namespace

InterruptGuard::InterruptGuard() {
    const std::lock_guard<std::mutex> lock(guardsMutex);
    if (guards++ > 0)
        return;
    StopRequested = false;
    struct sigaction action {};
    action.sa_handler = [](int) { StopRequested = true; };
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, &previous);
}

InterruptGuard::~InterruptGuard() {
    const std::lock_guard<std::mutex> lock(guardsMutex);
    if (--guards == 0)
        ::sigaction(SIGINT, &previous, nullptr);
}
