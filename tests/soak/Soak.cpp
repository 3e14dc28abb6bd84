// An accelerated soak: the monitoring cycle on a scripted clock against the simulated board,
// with the graph and the logging on, for hours of simulated time across a midnight. It checks
// that memory stays flat once the chart holds all the points it keeps, and that every log line's
// time column is within one tick of the time it was written.
//   kts-soak [HOURS]   (default 24)
#include "support/ScriptedClock.h"
#include "support/SimulatedBoard.h"

#include "app/frmMain.h"
#include "files/LogFile.h"
#include "chart/StripChart.h"
#include "output/frmGraph.h"
#include "state/Clock.h"
#include "state/GeneralStuff.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <vector>

using namespace GeneralStuff;

namespace {

constexpr double SecondsPerDay = 86400.0;
constexpr double TickSeconds = 0.010;
constexpr double TickJitterSeconds = 0.006;   // a tick comes 10 to 16 ms after the one before
// Memory may wobble this much once the chart is full (allocator pages, Qt's caches).
constexpr double MemoryToleranceMiB = 1.0;

double ResidentMiB() {
    long pages = 0, resident = 0;
    std::ifstream statm("/proc/self/statm");
    statm >> pages >> resident;
    return resident * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double PeakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// The time column of every data line of the log file, in order.
std::vector<double> LogTimes(const QString& fileName) {
    std::vector<double> times;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return times;
    bool data = false;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.startsWith("Time ,")) {
            data = true;
        } else if (data && !line.isEmpty()) {
            times.push_back(line.left(line.indexOf(',')).toDouble());
        }
    }
    return times;
}

}  // namespace

int main(int argc, char** argv) {
    const double hours = argc > 1 ? std::atof(argv[1]) : 24.0;
    if (!(hours > 0)) {
        std::fprintf(stderr, "usage: kts-soak [HOURS]   (HOURS a positive number)\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));

    SimulatedBoard board;
    ScriptedClock clock;
    SetClock(&clock);
    InitRegisterModel();

    const double runSeconds = hours * 3600;
    // Half of the run lies before midnight, at most half a day.
    const double start = SecondsPerDay - std::min(runSeconds / 2, SecondsPerDay / 2);
    clock.now = start;

    // A bound the chart reaches early in the run, so that a short run shows the memory after it.
    const int graphPoints = static_cast<int>(runSeconds * 1000 / GraphInterval);
    const int bound = std::min(StripChart::DefaultMaxPointsPerTrace, std::max(1, graphPoints / 8));

    int failures = 0;
    double largestGap = 0;
    // The largest memory in the first and in the second half of the time after the bound is
    // reached. The chart's store may keep some slack that it gives back now and then, so the
    // first half may still rise; a leak goes on rising in the second.
    double firstHalfMiB = 0, secondHalfMiB = 0, boundReachedAt = -1;
    int linesSeen = 0;
    // When each line was written, since the first; filled in full now, so that its pages do not
    // show up as growth later.
    std::vector<double> lineTimes(static_cast<size_t>(runSeconds * 1000 / LogInterval) + 16, 0.0);
    size_t lineCount = 0;
    {
        frmMain main;
        main.mnuGraph_Click();
        StripChart& chart = *main.OpenWindows().graph->stpGraph;
        chart.SetMaxPointsPerTrace(bound);

        LogFileName = dir.filePath("soak.csv");
        if (!WriteLogStart()) {
            std::fprintf(stderr, "cannot write the log file %s\n", qPrintable(LogFileName));
            return 1;
        }
        LogLineCount = 0;
        LoggingActive = true;

        std::mt19937 random(9320);
        std::uniform_real_distribution<double> jitter(0.0, TickJitterSeconds);
        double elapsed = 0, nextSample = 0, firstLine = -1;
        while (elapsed < runSeconds) {
            const int before = LogLineCount;
            main.Cycle().tmrMaster_Timer();
            for (int line = before; line < LogLineCount && lineCount < lineTimes.size(); ++line) {
                if (firstLine < 0) firstLine = elapsed;
                lineTimes[lineCount++] = elapsed - firstLine;
            }
            if (elapsed >= nextSample) {
                QCoreApplication::processEvents();   // the chart's pending redraw
                nextSample += 60;
                const double resident = ResidentMiB();
                if (boundReachedAt < 0 && chart.PointCount(0) >= bound) boundReachedAt = elapsed;
                if (boundReachedAt >= 0) {
                    double& largest = elapsed < (boundReachedAt + runSeconds) / 2 ? firstHalfMiB : secondHalfMiB;
                    largest = std::max(largest, resident);
                }
            }
            elapsed += TickSeconds + jitter(random);
            clock.now = std::fmod(start + elapsed, SecondsPerDay);
        }
        linesSeen = LogLineCount;

        std::printf("simulated:        %.2f hours, %.3f to %.3f seconds of day (midnight crossed: %s)\n", hours,
                    start, clock.now, start + runSeconds >= SecondsPerDay ? "yes" : "no");
        std::printf("chart bound:      %d points per trace for this soak (the program keeps %d), reached at %.2f h\n",
                    bound, StripChart::DefaultMaxPointsPerTrace, boundReachedAt / 3600);
        std::printf("chart points:     local %d, remote %d\n", chart.PointCount(0), chart.PointCount(1));
        main.CloseEverything();
    }
    SetClock(nullptr);

    const std::vector<double> columnTimes = LogTimes(LogFileName);
    if (columnTimes.size() != lineCount || lineCount != static_cast<size_t>(linesSeen)) {
        std::printf("FAIL: the log file holds %zu data lines, the cycle wrote %d\n", columnTimes.size(), linesSeen);
        ++failures;
    }
    for (size_t i = 0; i < std::min(columnTimes.size(), lineCount); ++i)
        largestGap = std::max(largestGap, std::abs(lineTimes[i] - columnTimes[i]));
    const double oneTick = TickSeconds + TickJitterSeconds;
    std::printf("log lines:        %d (%zu in the file), largest gap between time column and clock %.4f s "
                "(one tick at most %.3f s)\n",
                linesSeen, columnTimes.size(), largestGap, oneTick);
    if (largestGap > oneTick) {
        std::printf("FAIL: the time column is off by more than one tick\n");
        ++failures;
    }

    std::printf("memory:           peak %.1f MiB; after the bound at most %.1f MiB in the first half, %.1f MiB "
                "in the second\n", PeakMiB(), firstHalfMiB, secondHalfMiB);
    if (secondHalfMiB == 0) {
        std::printf("FAIL: the chart's bound was not reached early enough to watch the memory after it\n");
        ++failures;
    } else if (secondHalfMiB - firstHalfMiB > MemoryToleranceMiB) {
        std::printf("FAIL: memory grew by %.1f MiB after the chart's bound was reached (allowed %.1f)\n",
                    secondHalfMiB - firstHalfMiB, MemoryToleranceMiB);
        ++failures;
    }
    std::printf(failures ? "soak FAILED\n" : "soak passed\n");
    return failures ? 1 : 0;
}
