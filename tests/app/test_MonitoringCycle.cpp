// The monitoring cycle: the due test, the order of the five activities, their switches and
// intervals, and midnight, driven by the scripted clock against the scripted driver.
#include "support/BoardFailureTrap.h"
#include "support/ScriptedClock.h"
#include "support/ScriptedPrompts.h"

#include "state/Clock.h"
#include "state/GeneralStuff.h"
#include "app/frmMain.h"
#include "chart/StripChart.h"
#include "output/frmGraph.h"
#include "windows/frmLimits.h"
#include "windows/frmRegMap.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

using namespace GeneralStuff;

namespace {

TEST(DueTest, EqualityIsNotDueAndMidnightIs) {
    EXPECT_FALSE(MonitoringCycle::IsDue(10.0, 0.5, 10.5f));
    EXPECT_TRUE(MonitoringCycle::IsDue(10.0, 0.5, 10.51f));
    EXPECT_FALSE(MonitoringCycle::IsDue(10.0, 0.5, 10.2f));
    // The clock went back past midnight since the last run.
    EXPECT_TRUE(MonitoringCycle::IsDue(86399.9, 0.1, 0.05f));
    // Intervals of 0 and below run whenever the clock moved, or always.
    EXPECT_TRUE(MonitoringCycle::IsDue(10.0, 0.0, 10.01f));
    EXPECT_TRUE(MonitoringCycle::IsDue(10.0, -0.1, 10.0f));
}

class CycleTest : public ::testing::Test {
protected:
    CycleTest() {
        SetClock(&clock);
        main.mnuRegMap_Click();
        main.mnuLimits_Click();
        main.mnuGraph_Click();
        driver.ClearLog();
        LogFileName = dir.filePath("run.csv");
    }
    ~CycleTest() override {
        main.CloseEverything();
        SetClock(nullptr);
    }
    frmRegMap& RegMap() { return *main.OpenWindows().regMap; }
    void Tick() { main.Cycle().tmrMaster_Timer(); }
    int Count(int request, int index = -1) const {
        int n = 0;
        for (const auto& r : driver.log) n += r.request == request && (index < 0 || r.index == index);
        return n;
    }
    QByteArray LogContents() const {
        QFile file(LogFileName);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    BoardFixtureState state;
    ScriptedDriver& driver = state.driver;
    ScriptedClock clock;
    QTemporaryDir dir;
    frmMain main;
};

TEST_F(CycleTest, FirstTickRunsEverySwitchedOnActivityInOrder) {
    RegMap().txtReadAddr->setText("22");
    RegMap().chkContRead->setChecked(true);
    LoggingActive = true;
    driver.Chip()[0x00] = 30;
    driver.Chip()[0x01] = 41;
    driver.Chip()[0x10] = 0x40;
    Tick();
    ASSERT_GE(driver.log.size(), 5u);
    EXPECT_EQ(driver.log[0], (DriverRequest{222, 0x4C, 0x00, 1, 1}));
    EXPECT_EQ(driver.log[1], (DriverRequest{222, 0x4C, 0x10, 1, 1}));
    EXPECT_EQ(driver.log[2], (DriverRequest{222, 0x4C, 0x01, 1, 1}));
    EXPECT_EQ(driver.log[3], (DriverRequest{222, 0x4C, 0x22, 1, 1}));
    EXPECT_EQ(driver.log.back(), (DriverRequest{220, 0x4C, 2, 1, 1}));
    EXPECT_FLOAT_EQ(Temperature[0], 30.0f);
    EXPECT_FLOAT_EQ(Temperature[1], 41.25f);
    EXPECT_EQ(main.OpenWindows().graph->stpGraph->TraceCaption(1), QString::fromUtf8("Remote1 = 41.25°C"));
    EXPECT_TRUE(LogContents().endsWith("0, 30, 41.25,\r\n")) << LogContents().toStdString();
    EXPECT_EQ(LogLineCount, 1);
}

TEST_F(CycleTest, ANothingDueTickSendsNothing) {
    Tick();
    driver.ClearLog();
    Tick();  // the clock has not moved
    EXPECT_TRUE(driver.log.empty());
}

TEST_F(CycleTest, ReadingFollowsItsIntervalIncludingZeroAndNegative) {
    clock.step = 0;
    Tick();
    clock.now += 0.05;
    Tick();
    EXPECT_EQ(Count(222, 0x00), 1);
    clock.now += 0.06;  // 0.11 s since the reading
    Tick();
    EXPECT_EQ(Count(222, 0x00), 2);

    ReadInterval = 0;
    clock.now += 0.01;
    Tick();
    clock.now += 0.01;
    Tick();
    EXPECT_EQ(Count(222, 0x00), 4);

    ReadInterval = -5;
    Tick();  // the clock has not moved, but a negative interval is always due
    EXPECT_EQ(Count(222, 0x00), 5);
}

TEST_F(CycleTest, ActivitiesGoOnAfterMidnight) {
    clock.now = 86399.95;
    Tick();
    const int before = Count(222, 0x00);
    clock.now = 0.01;
    Tick();
    EXPECT_EQ(Count(222, 0x00), before + 1);
    clock.now = 0.05;
    Tick();
    EXPECT_EQ(Count(222, 0x00), before + 1);
    clock.now = 0.2;
    Tick();
    EXPECT_EQ(Count(222, 0x00), before + 2);
}

// The limits refresh has its fixed 0.2 s; the graph follows GraphInterval as it stands.
TEST_F(CycleTest, LimitsAndGraphFollowTheirIntervals) {
    auto graphPoints = [this] { return main.OpenWindows().graph->stpGraph->PointCount(0); };
    const struct {
        const char* name;
        int graphInterval;
        std::function<int()> runs;
        double interval;
    } cases[] = {
        {"limits", 50, [this] { return Count(220); }, 0.2},
        {"graph at 50 ms", 50, graphPoints, 0.05},
        {"graph at 300 ms", 300, graphPoints, 0.3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GraphInterval = static_cast<int16_t>(c.graphInterval);
        clock.now += 10;
        Tick();
        const int runs = c.runs();
        clock.now += c.interval * 0.9;
        Tick();
        EXPECT_EQ(c.runs(), runs);
        clock.now += c.interval * 0.2;
        Tick();
        EXPECT_EQ(c.runs(), runs + 1);
    }
}

TEST_F(CycleTest, ContinuousReadFollowsTheCheckBox) {
    RegMap().txtReadAddr->setText("5");
    Tick();
    EXPECT_EQ(Count(222, 0x05), 0);
    RegMap().chkContRead->setChecked(true);
    clock.now += 0.6;
    Tick();
    EXPECT_EQ(Count(222, 0x05), 1);
    clock.now += 0.3;
    Tick();
    EXPECT_EQ(Count(222, 0x05), 1);
    RegMap().chkContRead->setChecked(false);
    clock.now += 0.6;
    Tick();
    EXPECT_EQ(Count(222, 0x05), 1);
    RegMap().chkContRead->setChecked(true);
    Tick();  // more than 0.5 s since the last one: at once
    EXPECT_EQ(Count(222, 0x05), 2);
}

TEST_F(CycleTest, ClosingTheLimitsWindowStopsTheStatusReads) {
    Tick();
    EXPECT_EQ(Count(220), 1);
    main.OpenWindows().limits->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(LimitsOpen);
    clock.now += 1;
    Tick();
    EXPECT_EQ(Count(220), 1);
}

TEST_F(CycleTest, LoggingGoesOnWithoutTheGraphAndRepeatsTemperaturesWithoutMonitoring) {
    main.OpenWindows().graph->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(GraphOpen);
    driver.Chip()[0x00] = 21;
    LoggingActive = true;
    Tick();
    MonitoringEnabled = false;
    driver.Chip()[0x00] = 60;
    clock.now += 0.1;
    Tick();
    clock.now += 0.1;
    Tick();
    EXPECT_EQ(LogLineCount, 3);
    EXPECT_TRUE(LogContents().endsWith("0, 21, 0,\r\n.1, 21, 0,\r\n.2, 21, 0,\r\n")) << LogContents().toStdString();
}

TEST_F(CycleTest, NoTickSendsARequestAfterAFailureWasReported) {
    driver.failAfter = 0;
    EXPECT_THROW(Tick(), BoardFailure);
    const size_t sent = driver.log.size();
    clock.now += 5;
    Tick();
    EXPECT_EQ(driver.log.size(), sent);
}

}  // namespace

namespace {

TEST_F(CycleTest, ARefusedTimedReadIsShownAfterTheTickWhileTheOthersGoOn) {
    RegMap().txtReadAddr->setText("100");
    RegMap().chkContRead->setChecked(true);
    bool inTick = false;
    int shown = 0;
    ScriptedPrompts prompts;
    prompts.warning = [&](const QString& text) {
        ++shown;
        EXPECT_FALSE(inTick) << "a message box opened inside a tick";
        EXPECT_FALSE(RegMap().chkContRead->isChecked());
        EXPECT_TRUE(text.contains("Read Address"));
        // While the box is up the timer keeps ticking, and the reading is due again.
        clock.now += 1;
        Tick();
    };
    inTick = true;
    Tick();
    inTick = false;
    QCoreApplication::processEvents();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(Count(222, 0x00), 2);
}

TEST_F(CycleTest, ATickNeverRunsInsideAnother) {
    // A refusal message shown by the continuous read keeps the timer running; a tick that
    // comes meanwhile must not run the activities again.
    RegMap().txtReadAddr->setText("123456789");
    ScriptedPrompts prompts;
    prompts.warning = [this](const QString&) {
        clock.now += 1;
        Tick();
    };
    RegMap().chkContRead->setChecked(true);
    Tick();
    EXPECT_EQ(Count(222, 0x00), 1);
    EXPECT_EQ(Count(220), 1);
}

}  // namespace

namespace {

// The log's time column is the line count times the interval; the lines must come at that pace,
// whatever the ticks' jitter, across midnight and after a stall. The slots of a stall get no
// line: the time column shows the gap.
TEST_F(CycleTest, LogLinesKeepStepWithTheClock) {
    struct Case {
        const char* name;
        int interval;        // ms
        double start;        // time of day of the first line
        double stallAt;      // seconds into the run; the ticks stop for stallFor
        double stallFor;
    };
    const Case cases[] = {
        {"100 ms across midnight", 100, 86400 - 300, 0, 0},
        {"250 ms", 250, 40000, 0, 0},
        {"10 ms", 10, 40000, 0, 0},
        {"100 ms stopped for 8 s", 100, 1000, 200, 8},
    };
    main.OpenWindows().graph->parentWidget()->close();
    main.OpenWindows().limits->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> jitter(0.0, 0.006);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoggingActive = false;
        Tick();
        LogInterval = c.interval;
        LogLineCount = 0;
        LoggingActive = true;
        QFile::remove(LogFileName);
        clock.now = c.start;
        double elapsed = 0, largestGap = 0;
        bool stalled = false;
        while (elapsed < 600) {
            const int before = LogLineCount;
            Tick();
            // The tick after a stall catches up to the newest line due, which may be a whole
            // interval old.
            if (LogLineCount != before && !stalled) {
                const double gap = elapsed - (LogLineCount - 1) * c.interval / 1000.0;
                ASSERT_GE(gap, -1e-6) << "line " << LogLineCount << " came early";
                largestGap = std::max(largestGap, gap);
            }
            double step = 0.010 + jitter(random);
            stalled = elapsed < c.stallAt && elapsed + step >= c.stallAt;
            if (stalled) step += c.stallFor;
            elapsed += step;
            clock.now = std::fmod(c.start + elapsed, 86400.0);
        }
        EXPECT_LT(largestGap, 0.0161) << "a line came more than one tick late";
        EXPECT_NEAR(LogLineCount, std::floor(elapsed * 1000 / c.interval), 1);
        EXPECT_NEAR(LogContents().count('\n'), LogLineCount - std::floor(c.stallFor * 1000 / c.interval), 1);
    }
}

TEST_F(CycleTest, ALogIntervalOfZeroWritesOneLineAtEveryTick) {
    LogInterval = 0;
    LoggingActive = true;
    for (int i = 0; i < 5; ++i) {
        Tick();
        clock.now += 0.01;
    }
    EXPECT_EQ(LogLineCount, 5);
}

// The timer sleeps through the ticks at which nothing is due. Against a tick every 10 ms the
// board sees the same requests at the same ticks and the log gets the same lines.
TEST_F(CycleTest, SleepingThroughIdleTicksChangesNothing) {
    const struct { const char* name; double start; int read, graph, log; } cases[] = {   // ms
        {"defaults", 1000, 100, 50, 100},
        {"odd intervals across midnight", 86400 - 10, 130, 70, 250},
        {"reading at every tick", 40000, 0, 300, 10},
        {"late in the day, coarse clock", 86000, 100, 50, 1000},
        {"a short log interval", 5000, 250, 300, 40},
    };
    RegMap().txtReadAddr->setText("5");
    RegMap().chkContRead->setChecked(true);
    // The requests each tick sent, and the log's count (as request 0) when it changed.
    auto run = [this](double start, bool sleeping) {
        LoggingActive = false;
        Tick();
        auto& cycle = main.Cycle();
        cycle.LastReadTime = cycle.LastRegMapTime = cycle.LastLimitsTime = cycle.LastGraphTime = cycle.LastLogTime = 0;
        QFile::remove(LogFileName);
        LogLineCount = 0;
        LoggingActive = true;
        std::vector<std::pair<long, DriverRequest>> sent;
        for (long tick = 0, lines = 0; tick < 2000;) {
            if (tick >= 1000 && tick < 1007) tick = 1007;   // a hiccup, shorter than a stall
            clock.now = std::fmod(start + tick * 0.01, 86400.0);
            const size_t before = driver.log.size();
            Tick();
            for (size_t i = before; i < driver.log.size(); ++i) sent.emplace_back(tick, driver.log[i]);
            if (LogLineCount != lines) sent.emplace_back(tick, DriverRequest{0, static_cast<int32_t>(lines = LogLineCount)});
            tick += sleeping ? cycle.PlanNextTick() : 1;
        }
        return std::make_pair(sent, LogContents());
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReadInterval = c.read;
        GraphInterval = static_cast<int16_t>(c.graph);
        LogInterval = c.log;
        const auto everyTick = run(c.start, false), sleeping = run(c.start, true);
        EXPECT_TRUE(everyTick.first == sleeping.first);
        EXPECT_EQ(everyTick.second, sleeping.second);
    }
}

}  // namespace
