// The graph window's strip chart over a long run, at the default graph interval of 50 ms:
// the cost of one update (two points appended, the legends set, the queued redraw done), in the
// starting view and while following zoomed out to the whole run, of a redraw of the visible span
// and of the whole run, and the memory the points take, after 1 and after 24 hours of points.
// Then the instrument: the readout's lookup of the points under the pointer, the statistics of
// the whole run, and a redraw with cursors, statistics and limit lines shown.
#include "chart/ChartInstrument.h"
#include "chart/StripChart.h"

#include "QtBenchmarkMain.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QPaintEvent>

#include <cmath>
#include <fstream>
#include <map>
#include <memory>
#include <unistd.h>

namespace {

constexpr double IntervalSeconds = 0.05;
constexpr long PointsPerHour = 72000;
constexpr double StartOfRun = 8 * 3600;   // 08:00, so a day's run passes midnight
constexpr double SecondsPerDay = 86400;

long ResidentBytes() {
    long pages = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// Counts the chart's paint events, to show that every update's redraw reaches the screen.
class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
    long paints = 0;
};

struct FilledChart {
    std::unique_ptr<StripChart> chart;
    PaintCounter counter;
    long points = 0;        // per trace so far
    double residentGrowthMB = 0;

    double TimeOfDay() const { return std::fmod(StartOfRun + points * IntervalSeconds, SecondsPerDay); }
    void AddUpdate() {
        const double local = std::round(25 + 5 * std::sin(points / 40000.0));
        const double remote = std::round((30 + 8 * std::sin(points / 25000.0) + 0.3 * std::sin(points / 7.0)) * 4) / 4;
        const double now = TimeOfDay();
        chart->AddPoint(0, now, local);
        chart->AddPoint(1, now, remote);
        chart->SetTraceCaption(0, QStringLiteral("Local = %1°C").arg(local));
        chart->SetTraceCaption(1, QStringLiteral("Remote1 = %1°C").arg(remote, 0, 'f', 2));
        ++points;
    }
};

// One chart per run length, filled once and shared by the benchmarks, at the window's load size.
// The widgets must go before the application does, so main empties this.
std::map<int, std::unique_ptr<FilledChart>> charts;

FilledChart& ChartWithHours(int hours) {
    auto& slot = charts[hours];
    if (!slot) {
        slot = std::make_unique<FilledChart>();
        const long before = ResidentBytes();
        slot->chart = std::make_unique<StripChart>(2);
        slot->chart->resize(611, 429);
        slot->chart->SetNewPointsRedrawInterval(0);   // every redraw the pixel rule calls for, unpaced
        slot->chart->show();
        slot->chart->installEventFilter(&slot->counter);
        for (long i = 0; i < hours * PointsPerHour; ++i) slot->AddUpdate();
        QCoreApplication::processEvents();
        slot->residentGrowthMB = (ResidentBytes() - before) / 1e6;
    }
    return *slot;
}

void ReportMemory(benchmark::State& state, const FilledChart& filled) {
    state.counters["points_per_trace"] = static_cast<double>(filled.points);
    state.counters["chart_data_MB"] = static_cast<double>(filled.chart->DataBytes()) / 1e6;
    state.counters["rss_growth_MB"] = filled.residentGrowthMB;
}

void BM_Update(benchmark::State& state) {
    FilledChart& filled = ChartWithHours(static_cast<int>(state.range(0)));
    filled.chart->ResetView();
    QCoreApplication::processEvents();
    const long paintsBefore = filled.counter.paints;
    for (auto _ : state) {
        filled.AddUpdate();
        QCoreApplication::processEvents();   // runs the queued replot and the paint
    }
    state.counters["paints_per_update"] =
        static_cast<double>(filled.counter.paints - paintsBefore) / static_cast<double>(state.iterations());
    ReportMemory(state, filled);
}

void BM_RedrawVisibleSpan(benchmark::State& state) {
    FilledChart& filled = ChartWithHours(static_cast<int>(state.range(0)));
    filled.chart->ResetView();
    for (auto _ : state) filled.chart->replot(QCustomPlot::rpImmediateRefresh);
    ReportMemory(state, filled);
}

void ShowWholeRun(StripChart& chart) { chart.xAxis->setRange(chart.OldestTime(), chart.NewestTime()); }

void BM_RedrawWholeRun(benchmark::State& state) {
    FilledChart& filled = ChartWithHours(static_cast<int>(state.range(0)));
    ShowWholeRun(*filled.chart);
    for (auto _ : state) filled.chart->replot(QCustomPlot::rpImmediateRefresh);
    filled.chart->ResetView();
    ReportMemory(state, filled);
}

void BM_UpdateFollowingWholeRun(benchmark::State& state) {
    FilledChart& filled = ChartWithHours(static_cast<int>(state.range(0)));
    ShowWholeRun(*filled.chart);
    QCoreApplication::processEvents();
    if (!filled.chart->FollowsNewest()) state.SkipWithError("the zoomed-out chart does not follow the newest point");
    for (auto _ : state) {
        filled.AddUpdate();
        QCoreApplication::processEvents();
    }
    filled.chart->ResetView();
    ReportMemory(state, filled);
}

void BM_ReadoutLookup(benchmark::State& state) {
    FilledChart& filled = ChartWithHours(static_cast<int>(state.range(0)));
    StripChart& chart = *filled.chart;
    ShowWholeRun(chart);
    chart.replot();
    ChartReadout& readout = chart.Instrument().Readout();
    const QRect plot = chart.axisRect()->rect();
    int x = plot.left();
    for (auto _ : state) {
        readout.Follow(QPoint(x, plot.center().y()));
        readout.Refresh();
        benchmark::DoNotOptimize(readout.Picked().data());
        x = x < plot.right() ? x + 7 : plot.left();
    }
    readout.Follow(std::nullopt);
    chart.ResetView();
    ReportMemory(state, filled);
}

void BM_StatisticsWholeRun(benchmark::State& state) {
    FilledChart& filled = ChartWithHours(static_cast<int>(state.range(0)));
    const StripChart& chart = *filled.chart;
    for (auto _ : state) {
        for (int trace = 0; trace < 2; ++trace) {
            benchmark::DoNotOptimize(StatisticsBetween(chart.Points(trace), chart.OldestTime(), chart.NewestTime()));
        }
    }
    ReportMemory(state, filled);
}

void BM_RedrawWithOverlays(benchmark::State& state) {
    FilledChart& filled = ChartWithHours(static_cast<int>(state.range(0)));
    StripChart& chart = *filled.chart;
    ChartInstrument& instrument = chart.Instrument();
    chart.ResetView();
    instrument.Cursors().Set(0, chart.NewestTime() - 45);
    instrument.Cursors().Set(1, chart.NewestTime() - 15);
    instrument.Statistics().SetShown(true);
    instrument.Limits().readLimits = [] {
        return std::vector<LimitLine>{{0, "High", 35}, {0, "Low", 15}, {0, "THERM", 40},
                                      {1, "High", 45}, {1, "Low", 20}, {1, "THERM", 45}};
    };
    instrument.Limits().SetShown(true);
    for (auto _ : state) chart.replot(QCustomPlot::rpImmediateRefresh);
    instrument.Limits().SetShown(false);
    instrument.Statistics().SetShown(false);
    instrument.Cursors().Clear();
    ReportMemory(state, filled);
}

}  // namespace

BENCHMARK(BM_Update)->Arg(1)->Arg(24)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RedrawVisibleSpan)->Arg(1)->Arg(24)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RedrawWholeRun)->Arg(1)->Arg(24)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UpdateFollowingWholeRun)->Arg(24)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadoutLookup)->Arg(24)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StatisticsWholeRun)->Arg(24)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RedrawWithOverlays)->Arg(24)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    return RunWidgetBenchmarks(argc, argv, [] { charts.clear(); });
}
