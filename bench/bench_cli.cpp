// The built command-line program on the simulated board, run as a user runs it: how many
// monitor readings a second it writes to a file, whether its memory stays flat over ten million
// lines, and how long a temps at a known address takes from start to end.
//   monitor --interval 0 to a file:        readings_per_s (wanted: at least 50 000), with --limits too
//   monitor --count 10000000 (MonitorMemory): peak_rss_MB (wanted: under 20)
//   --address 0x4c temps:                  the wall time of one run (wanted: under 0.3 s)
//   set of every field:                    the wall time of one run (wanted: under 50 ms)
#include "support/FreshChip.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

struct Run {
    double seconds = 0;
    double peakRssMB = 0;
    int status = -1;
};

// Runs the program with the arguments, its standard output thrown away, on a chip of the
// benchmark's own in the folder of the benchmarks.
Run RunProgram(std::vector<std::string> arguments) {
    UseFreshChip(KTS_BENCH_FOLDER);
    arguments.insert(arguments.begin(), KTS_CLI_PROGRAM);
    std::vector<char*> argv;
    for (std::string& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    Run run;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.peakRssMB = usage.ru_maxrss / 1024.0;  // kilobytes on Linux
    }
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

void Check(benchmark::State& state, const Run& run) {
    if (run.status != 0) state.SkipWithError("the program did not end with status 0");
}

void BM_MonitorToFile(benchmark::State& state) {
    const std::string file = "/tmp/kts-bench-monitor.csv";
    const auto readings = state.range(0);
    for (auto _ : state) {
        std::remove(file.c_str());
        std::vector<std::string> arguments{"monitor", "--interval", "0", "--count", std::to_string(readings), "--output",
                                           file};
        if (state.range(1) != 0) arguments.emplace_back("--limits");
        const Run run = RunProgram(arguments);
        Check(state, run);
        state.SetIterationTime(run.seconds);
        state.counters["readings_per_s"] = readings / run.seconds;
    }
    std::remove(file.c_str());
}
BENCHMARK(BM_MonitorToFile)->ArgNames({"readings", "limits"})->Args({500000, 0})->Args({500000, 1})->UseManualTime()->Unit(benchmark::kSecond)->Iterations(3);

void BM_MonitorMemory(benchmark::State& state) {
    for (auto _ : state) {
        const Run run = RunProgram({"monitor", "--interval", "0", "--count", std::to_string(state.range(0)),
                                    "--output", "/dev/null"});
        Check(state, run);
        state.SetIterationTime(run.seconds);
        state.counters["peak_rss_MB"] = run.peakRssMB;
    }
}
BENCHMARK(BM_MonitorMemory)->Arg(100000)->Arg(10000000)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

void BM_TempsAtAddress(benchmark::State& state) {
    for (auto _ : state) {
        const Run run = RunProgram({"--address", "0x4c", "temps"});
        Check(state, run);
        state.SetIterationTime(run.seconds);
    }
}
BENCHMARK(BM_TempsAtAddress)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_SetEveryField(benchmark::State& state) {
    const std::vector<std::string> everyField = {
        "set", "extended-range=on", "local-high=90", "local-low=-10", "local-therm=95", "remote-high=95.25",
        "remote-low=-10.75", "remote-therm=100", "remote-offset=-1.5", "therm-hysteresis=5", "conversion-rate=8Hz",
        "consecutive-alert=3", "standby=on", "mask-alert=on", "alert-is-therm=on"};
    for (auto _ : state) {
        const Run run = RunProgram(everyField);
        Check(state, run);
        state.SetIterationTime(run.seconds);
    }
}
BENCHMARK(BM_SetEveryField)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
