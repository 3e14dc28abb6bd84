// One tick of the master timer with nothing due: it reads the clock and nothing else.
// The allocation counter shows that such a tick allocates nothing.
#include "state/Clock.h"
#include "state/GeneralStuff.h"
#include "app/MonitoringCycle.h"

#include <benchmark/benchmark.h>
#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> g_allocations{0};
}

void* operator new(std::size_t size) {
    ++g_allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

static void BM_TickWithNothingDue(benchmark::State& state) {
    using namespace GeneralStuff;
    ResetRunTimeState();
    ReadInterval = 3'600'000;  // an hour: never due while the benchmark runs
    CycleWindows windows;
    MonitoringCycle cycle(windows);
    cycle.LastReadTime = CurrentClock().SecondsSinceMidnight();
    const long before = g_allocations.load();
    for (auto _ : state) cycle.tmrMaster_Timer();
    state.counters["allocations_per_tick"] =
        benchmark::Counter(static_cast<double>(g_allocations.load() - before) / state.iterations());
}
BENCHMARK(BM_TickWithNothingDue);

BENCHMARK_MAIN();
