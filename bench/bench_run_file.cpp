// The reader of finished runs over a long monitor CSV (one reading a second, so 10 M rows are
// 116 days): rows read a second, and the memory the run's times and both traces take a row.
// Then the run opened as its window opens it, read and shown in a chart at the window's load
// size: rows a second, the memory of the run and the chart's copy together, and a redraw of the
// whole run (to set beside bench_strip_chart's redraw of the live chart's visible span; both the
// same size, both drawn again with their points unchanged) and one after a pan.
// The text is made in pieces outside the timing, so only the reading is measured.
#include "files/RunFileReader.h"
#include "output/StripChart.h"

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

std::size_t RunBytes(const FinishedRun& run) {
    std::size_t bytes = run.times.capacity() * sizeof(double) + run.status.capacity();
    for (const auto& trace : run.values) bytes += trace.capacity() * sizeof(double);
    return bytes;
}

// A run as its window holds it: the run read and its chart.
struct OpenedRun {
    std::unique_ptr<RunFileReader> reader;
    std::unique_ptr<StripChart> chart;
    double BytesPerRow() const {
        const FinishedRun& run = reader->Runs().front();
        return static_cast<double>(RunBytes(run) + chart->DataBytes()) / static_cast<double>(run.Rows());
    }
};

OpenedRun Open(std::int64_t rows, benchmark::State* timed) {
    OpenedRun opened{ReadRows(rows, timed), std::make_unique<StripChart>(2)};
    opened.chart->resize(611, 429);
    opened.chart->ShowRun(opened.reader->Runs().front());
    return opened;
}

void BM_ReadRunFile(benchmark::State& state) {
    const std::int64_t rows = state.range(0);
    double bytesPerRow = 0;
    for (auto _ : state) {
        const auto reader = ReadRows(rows, &state);
        const FinishedRun& run = reader->Runs().front();
        bytesPerRow = static_cast<double>(RunBytes(run)) / static_cast<double>(run.Rows());
        benchmark::DoNotOptimize(run.times.data());
    }
    state.SetItemsProcessed(state.iterations() * rows);
    state.counters["bytes_per_row"] = bytesPerRow;
}

void BM_OpenRun(benchmark::State& state) {
    const std::int64_t rows = state.range(0);
    double bytesPerRow = 0;
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
        opened[rows].chart->show();
        QCoreApplication::processEvents();
    }
    return opened[rows];
}

// As the readout or the cursors move over the run: the same view drawn again.
void BM_RedrawOpenRun(benchmark::State& state) {
    OpenedRun& run = ShownRun(state.range(0));
    for (auto _ : state) run.chart->replot(QCustomPlot::rpImmediateRefresh);
    state.counters["bytes_per_row"] = run.BytesPerRow();
}

// As the user pans: the view moved by a pixel column each time, so the points drawn are taken anew.
void BM_PanOpenRun(benchmark::State& state) {
    StripChart& chart = *ShownRun(state.range(0)).chart;
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
