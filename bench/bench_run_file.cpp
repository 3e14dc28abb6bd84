// The reader of finished runs over a long monitor CSV (one reading a second, so 10 M rows are
// 116 days): rows read a second, and the memory the run's times and both traces take a row.
// Then the run opened as its window opens it, read and shown in the window's chart: rows a second,
// all the memory the window keeps of the run (the chart's points and what the window holds of the
// file), and a redraw of the whole run with the chart at the live graph's load size (to set beside
// bench_strip_chart's redraw of the live chart's visible span; both drawn again with their points
// unchanged), and one after a pan.
// The text is made in pieces outside the timing, so only the reading is measured.
#include "files/RunFileReader.h"
#include "chart/StripChart.h"
#include "output/frmRun.h"

#include "QtBenchmarkMain.h"

#include <benchmark/benchmark.h>
#include <QApplication>

#include <cstdio>
#include <map>
#include <memory>

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

// Reads the rows, the making of the text paused when timed.
std::unique_ptr<RunFileReader> ReadRows(std::int64_t rows, benchmark::State* timed) {
    auto reader = std::make_unique<RunFileReader>();
    reader->Feed("time,elapsed_s,local_C,remote_C,status,alarms\n", false);
    for (std::int64_t first = 0; first < rows; first += PieceRows) {
        if (timed) timed->PauseTiming();
        const QByteArray piece = Piece(first);
        if (timed) timed->ResumeTiming();
        reader->Feed(piece, false);
    }
    reader->Finish();
    return reader;
}

// A run in its window.
struct OpenedRun {
    std::unique_ptr<frmRun> window;
    std::int64_t rows = 0;
    double BytesPerRow() const { return static_cast<double>(window->DataBytes()) / static_cast<double>(rows); }
};

OpenedRun Open(std::int64_t rows, benchmark::State* timed) {
    std::unique_ptr<RunFileReader> reader = ReadRows(rows, timed);
    const qint64 end = 0;   // the rows came from memory: a look at the file would find nothing more
    return {std::make_unique<frmRun>(QStringLiteral("bench.csv"), std::move(*reader), end, false), rows};
}

void BM_ReadRunFile(benchmark::State& state) {
    const std::int64_t rows = state.range(0);
    double bytesPerRow = 0;
    for (auto _ : state) {
        const auto reader = ReadRows(rows, &state);
        const FinishedRun& run = reader->Runs().front();
        bytesPerRow = static_cast<double>(run.Bytes()) / static_cast<double>(run.Rows());
        benchmark::DoNotOptimize(run.times.data());
    }
    state.SetItemsProcessed(state.iterations() * rows);
    state.counters["bytes_per_row"] = bytesPerRow;
}

void BM_OpenRun(benchmark::State& state) {
    const std::int64_t rows = state.range(0);
    double bytesPerRow = 0;
    // A process's first window sets up its style and fonts, which the program has done before a
    // run opens (the window shows before it reads): not a cost of opening the run.
    Open(PieceRows, nullptr);
    for (auto _ : state) {
        OpenedRun opened = Open(rows, &state);
        bytesPerRow = opened.BytesPerRow();
        state.PauseTiming();
        opened = {};
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * rows);
    state.counters["bytes_per_row"] = bytesPerRow;
}

// Opened once and kept for the redraws; emptied before the application goes.
std::map<std::int64_t, OpenedRun> opened;

OpenedRun& ShownRun(std::int64_t rows) {
    if (!opened.count(rows)) {
        opened[rows] = Open(rows, nullptr);
        opened[rows].window->stpRun->setFixedSize(611, 429);
        opened[rows].window->show();
        QCoreApplication::processEvents();
    }
    return opened[rows];
}

// As the readout or the cursors move over the run: the same view drawn again.
void BM_RedrawOpenRun(benchmark::State& state) {
    OpenedRun& run = ShownRun(state.range(0));
    for (auto _ : state) run.window->stpRun->replot(QCustomPlot::rpImmediateRefresh);
    state.counters["bytes_per_row"] = run.BytesPerRow();
}

// As the user pans: the view moved by a pixel column each time, so the points drawn are taken anew.
void BM_PanOpenRun(benchmark::State& state) {
    StripChart& chart = *ShownRun(state.range(0)).window->stpRun;
    const QCPRange whole = chart.xAxis->range();
    const double column = whole.size() / chart.axisRect()->width();
    bool moved = false;
    for (auto _ : state) {
        moved = !moved;
        chart.xAxis->setRange(whole + (moved ? column : 0));
        chart.replot(QCustomPlot::rpImmediateRefresh);
    }
    chart.xAxis->setRange(whole);
}

}  // namespace

BENCHMARK(BM_ReadRunFile)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_OpenRun)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_RedrawOpenRun)->Arg(10'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PanOpenRun)->Arg(10'000'000)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    return RunWidgetBenchmarks(argc, argv, [] { opened.clear(); });
}
