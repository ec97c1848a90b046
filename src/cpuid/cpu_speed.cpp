// The clock measurement: time-stamp counter cycles over a span of the millisecond tick, taken
// at the highest scheduling priority the caller may have.
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <time.h>

#include <cerrno>

#include "qorkit/cpuid/cpuid.h"

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

namespace qorkit {

namespace {

// The monotonic millisecond tick, wrapping like a 32-bit tick counter.
std::uint32_t TickCount() noexcept {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ts.tv_sec) * 1000u +
                                      static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u);
}

// Raises the calling thread to the real-time class when permitted, else to the lowest nice
// value the resource limit allows (else leaves it); the destructor restores what was there.
class HighestPriority {
  public:
    HighestPriority() noexcept {
        FHaveSched = ::pthread_getschedparam(::pthread_self(), &FPolicy, &FParam) == 0;
        sched_param top{};
        top.sched_priority = ::sched_get_priority_max(SCHED_FIFO);
        if (FHaveSched && ::pthread_setschedparam(::pthread_self(), SCHED_FIFO, &top) == 0) {
            FRaisedSched = true;
            return;
        }
        errno = 0;
        FNice = ::getpriority(PRIO_PROCESS, 0);
        if (errno != 0) return;
        rlimit lim{};
        int floor = FNice;
        if (::getrlimit(RLIMIT_NICE, &lim) == 0 && lim.rlim_cur != RLIM_INFINITY)
            floor = 20 - static_cast<int>(lim.rlim_cur);  // the lowest nice value allowed
        if (floor < -20) floor = -20;
        if (floor < FNice && ::setpriority(PRIO_PROCESS, 0, floor) == 0) FRaisedNice = true;
    }
    ~HighestPriority() {
        if (FRaisedSched) ::pthread_setschedparam(::pthread_self(), FPolicy, &FParam);
        if (FRaisedNice) ::setpriority(PRIO_PROCESS, 0, FNice);
    }
    HighestPriority(const HighestPriority&) = delete;
    HighestPriority& operator=(const HighestPriority&) = delete;

  private:
    bool FHaveSched = false, FRaisedSched = false, FRaisedNice = false;
    int FPolicy = SCHED_OTHER;
    sched_param FParam{};
    int FNice = 0;
};

}  // namespace

float CPU_Speed(std::uint32_t DelayMs) noexcept {
#if defined(__x86_64__) || defined(__i386__)
    if (DelayMs == 0) return 0.0f;
    std::uint64_t c1, c2;
    {
        HighestPriority priority;
        // The span starts at a tick change, so that it lasts DelayMs whole ticks.
        const std::uint32_t before = TickCount();
        std::uint32_t t0;
        while ((t0 = TickCount()) == before) {
        }
        c1 = __rdtsc();
        // Elapsed ticks by wrapping difference: correct across the 32-bit wrap of the tick.
        while (static_cast<std::uint32_t>(TickCount() - t0) < DelayMs) {
        }
        c2 = __rdtsc();
    }
    // Cycles per microsecond: the span is DelayMs * 1000 microseconds.
    const double cycles = static_cast<double>(c2 - c1);
    return static_cast<float>(cycles / (1000000.0 / (1000.0 / DelayMs)));
#else
    (void)DelayMs;
    return 0.0f;
#endif
}

}  // namespace qorkit
