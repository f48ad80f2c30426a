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

void Interrupted(int signal, siginfo_t* info, void* context) {
    StopRequested = true;
    // The interpreter's handler only notes the signal, which it acts on when Python code runs
    // again: in a judge at once, otherwise when the run returns.
    if (previous.sa_flags & SA_SIGINFO)
        previous.sa_sigaction(signal, info, context);
    else if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN)
        previous.sa_handler(signal);
}

} // namespace

InterruptGuard::InterruptGuard() {
    const std::lock_guard<std::mutex> lock(guardsMutex);
    if (guards++ > 0)
        return;
    StopRequested = false;
    ::sigaction(SIGINT, nullptr, &previous);
    struct sigaction action {};
    action.sa_sigaction = Interrupted;
    // Without SA_RESTART: a blocking call of the previous handler's program (a judge's sleep)
    // returns, so that it can act on the signal.
    action.sa_flags = SA_SIGINFO;
    if (!(previous.sa_flags & SA_SIGINFO) &&
        (previous.sa_handler == SIG_DFL || previous.sa_handler == SIG_IGN))
        action.sa_flags |= SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
}

InterruptGuard::~InterruptGuard() {
    const std::lock_guard<std::mutex> lock(guardsMutex);
    if (--guards == 0)
        ::sigaction(SIGINT, &previous, nullptr);
}
