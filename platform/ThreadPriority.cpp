#include "ThreadPriority.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace Platform {

void YieldToWindow() {
#if defined(__linux__)
    // Linux keeps a nice value for each thread.
    const auto thread = static_cast<id_t>(::syscall(SYS_gettid));
    const char* how = std::getenv("PATHLOOM_RUN_PRIORITY");
    if (how && std::strcmp(how, "idle") == 0) {
        sched_param none{};
        ::sched_setscheduler(static_cast<pid_t>(thread), SCHED_IDLE, &none);
        return;
    }
    const int steps = how ? std::atoi(how) : 10;
    errno = 0;
    const int now = ::getpriority(PRIO_PROCESS, thread);
    if (errno == 0)
        ::setpriority(PRIO_PROCESS, thread, now + steps > 19 ? 19 : now + steps);
#endif
}

} // namespace Platform
