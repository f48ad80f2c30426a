#include "ThreadPriority.h"

#include <cerrno>
#include <cstdint>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace Platform {

namespace {

constexpr int Nicer = 10;
constexpr uint64_t WorkSliceNs = 20'000'000, WindowSliceNs = 100'000; // the kernel's least

// The kernel's sched_attr, as sched_setattr(2) takes it.
struct SchedAttr {
    uint32_t size = sizeof(SchedAttr);
    uint32_t policy = 0; // SCHED_OTHER
    uint64_t flags = 0;
    int32_t nice = 0;
    uint32_t priority = 0;
    uint64_t runtime = 0; // for SCHED_OTHER, the time slice asked for (Linux 6.12 on)
    uint64_t deadline = 0, period = 0;
    uint32_t utilMin = 0, utilMax = 0;
};

// Linux keeps a nice value and (from 6.12) a time slice asked for by each thread. A waking
// thread with a shorter slice takes the processor from one with a longer slice at once, instead
// of waiting for that slice to end (a few milliseconds a time, measured). Older kernels ignore
// the slice.
bool SetThread(int niceBy, uint64_t slice) {
#if defined(__linux__)
    const auto thread = static_cast<id_t>(::syscall(SYS_gettid));
    errno = 0;
    const int now = ::getpriority(PRIO_PROCESS, thread);
    if (errno != 0)
        return false;
    SchedAttr attr;
    attr.nice = now + niceBy > 19 ? 19 : now + niceBy;
    attr.runtime = slice;
    return ::syscall(SYS_sched_setattr, thread, &attr, 0) == 0 ||
           ::setpriority(PRIO_PROCESS, thread, attr.nice) == 0;
#else
    (void)niceBy;
    (void)slice;
    return false;
#endif
}

} // namespace

void AnswerPromptly() {
    SetThread(0, WindowSliceNs);
}

void YieldToWindow() {
    SetThread(Nicer, WorkSliceNs);
}

} // namespace Platform
