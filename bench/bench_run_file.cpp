// The reader of finished runs over a long monitor CSV (one reading a second, so 10 M rows are
// 116 days): rows read a second, and the memory the run's times and both traces take a row.
// The text is made in pieces outside the timing, so only the reading is measured.
#include "files/RunFileReader.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr std::int64_t PieceRows = 100'000;

QByteArray Piece(std::int64_t firstRow) {
    QByteArray text;
    text.reserve(PieceRows * 50);
    char line[96];
    for (std::int64_t row = firstRow; row < firstRow + PieceRows; ++row) {
        const std::int64_t day = row / 86400;
        const std::int64_t second = row % 86400;
        const int length = std::snprintf(line, sizeof line, "2026-%02d-%02dT%02d:%02d:%02d.000+01:00,%lld.000,%d,%d.25,%d,\n",
                                         static_cast<int>(1 + day / 28 % 12), static_cast<int>(1 + day % 28),
                                         static_cast<int>(second / 3600), static_cast<int>(second / 60 % 60),
                                         static_cast<int>(second % 60), static_cast<long long>(row),
                                         static_cast<int>(20 + row % 13), static_cast<int>(30 + row % 7),
                                         row % 100 == 0 ? 16 : 0);
        text.append(line, length);
    }
    return text;
}

void BM_ReadRunFile(benchmark::State& state) {
    const std::int64_t rows = state.range(0);
    double bytesPerRow = 0;
    for (auto _ : state) {
        RunFileReader reader;
        reader.Feed("time,elapsed_s,local_C,remote_C,status,alarms\n", false);
        for (std::int64_t first = 0; first < rows; first += PieceRows) {
            state.PauseTiming();
            const QByteArray piece = Piece(first);
            state.ResumeTiming();
            reader.Feed(piece, false);
        }
        reader.Finish();
        const FinishedRun& run = reader.Runs().front();
        std::size_t bytes = run.times.capacity() * sizeof(double) + run.status.capacity();
        for (const auto& trace : run.values) bytes += trace.capacity() * sizeof(double);
        bytesPerRow = static_cast<double>(bytes) / static_cast<double>(run.Rows());
        benchmark::DoNotOptimize(run.times.data());
    }
    state.SetItemsProcessed(state.iterations() * rows);
    state.counters["bytes_per_row"] = bytesPerRow;
}

}  // namespace

BENCHMARK(BM_ReadRunFile)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
