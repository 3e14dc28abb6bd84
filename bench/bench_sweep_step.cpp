// What a sweep's step adds to each reading at an interval of 0: three stability windows and
// three running means, against the reading itself on the simulated board. The step's share
// should stay under 1 % of the reading's cost.
#include "SimulatedBoardLoader.h"
#include "board/ChipReading.h"
#include "cli/sweep/RunningMean.h"
#include "cli/sweep/StabilityWindow.h"

#include <benchmark/benchmark.h>

static void BM_SweepReadingOnTheSimulatedBoard(benchmark::State& state) {
    auto driver = LoadBoard();
    const USBStuff::ChipOnBoard chip = USBStuff::OpenedChip();
    USBStuff::ChipTransfer failed;
    for (auto _ : state) {
        benchmark::DoNotOptimize(USBStuff::TryShadow(chip, failed));
        benchmark::DoNotOptimize(USBStuff::TryReading(chip, USBStuff::RemoteBytes::Settled, failed));
    }
    USBStuff::SetDriver(nullptr);
}
BENCHMARK(BM_SweepReadingOnTheSimulatedBoard);

// A five-minute span filled at 100 µs a reading: the windows hold thousands of readings, as
// they would at an interval of 0.
static void BM_SweepStepBookkeepingPerReading(benchmark::State& state) {
    StabilityWindow reference(300, 0.2), local(300, 1.0), remote(300, 0.25);
    RunningMean referenceMean, localMean, remoteMean;
    double time = 0;
    for (auto _ : state) {
        time += 1e-4;
        const double wobble = (static_cast<int64_t>(time * 1e4) % 7) * 0.01;
        reference.Add(time, 25 + wobble);
        local.Add(time, 25);
        remote.Add(time, 25.25 + wobble);
        benchmark::DoNotOptimize(reference.Stable() && local.Stable() && remote.Stable());
        referenceMean.Add(25 + wobble);
        localMean.Add(25);
        remoteMean.Add(25.25 + wobble);
    }
    benchmark::DoNotOptimize(referenceMean.Mean() + localMean.Mean() + remoteMean.Mean());
}
BENCHMARK(BM_SweepStepBookkeepingPerReading);
BENCHMARK_MAIN();
