#include "Interrupt.h"

#include <csignal>

std::atomic<bool> StopRequested{false};

InterruptGuard::InterruptGuard() {
    StopRequested = false;
    struct sigaction action {};
    action.sa_handler = [](int) { StopRequested = true; };
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, &previous_);
}

InterruptGuard::~InterruptGuard() {
    ::sigaction(SIGINT, &previous_, nullptr);
}
