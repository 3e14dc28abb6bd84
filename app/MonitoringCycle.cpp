#include "app/MonitoringCycle.h"

#include "state/Clock.h"
#include "state/GeneralStuff.h"
#include "board/USBStuff.h"
#include "files/LogFile.h"
#include "output/frmGraph.h"
#include "windows/frmLimits.h"
#include "windows/frmRegMap.h"

#include <QCheckBox>
#include <algorithm>
#include <cmath>
#include <cstdint>

using namespace GeneralStuff;

namespace {
float Now() { return static_cast<float>(CurrentClock().SecondsSinceMidnight()); }
}  // namespace

bool MonitoringCycle::IsDue(double last, double intervalSeconds, float now) {
    return static_cast<float>(last + intervalSeconds) < now || static_cast<float>(last) > now;
}

namespace {

// The first tick after the one at `from` at which IsDue holds, at most `limit`.
int FirstDueTick(double last, double intervalSeconds, double from, int limit) {
    const double tick = MonitoringCycle::TickSeconds;
    auto dueAt = [&](int k) {
        const double t = from + k * tick;
        return t >= 86400.0 || MonitoringCycle::IsDue(last, intervalSeconds, static_cast<float>(t));
    };
    if (dueAt(1)) return 1;
    // Straight to a tick before the due moment, then tick by tick: the clock's float rounding
    // (under 8 ms) and midnight decide the very tick.
    const double before = std::floor((last + intervalSeconds - from) / tick) - 1;
    for (int k = static_cast<int>(std::clamp(before, 2.0, static_cast<double>(limit))); k < limit; ++k) {
        if (dueAt(k)) return k;
    }
    return limit;
}

}  // namespace

MonitoringCycle::TimedActivity MonitoringCycle::Activity(Timed which) {
    switch (which) {
    case Timed::Reading:
        return {MonitoringEnabled, &LastReadTime, ReadInterval / 1000.0};
    case Timed::RegMap:
        return {RegMapOpen && windows_.regMap && windows_.regMap->chkContRead->isChecked(), &LastRegMapTime, 0.5};
    case Timed::Limits:
        return {LimitsOpen && windows_.limits, &LastLimitsTime, 0.2};
    case Timed::Graph:
        break;
    }
    return {GraphOpen && windows_.graph, &LastGraphTime, GraphInterval / 1000.0};
}

bool MonitoringCycle::DueNow(Timed which) {
    const TimedActivity activity = Activity(which);
    // The reading takes the tick's own reading of the clock; the others read it when they come.
    return activity.on && IsDue(*activity.last, activity.intervalSeconds,
                                which == Timed::Reading ? static_cast<float>(tickTime_) : Now());
}

int MonitoringCycle::PlanNextTick() {
    if (USBStuff::FailureReported()) return MaxTicksAsleep;
    int ticks = MaxTicksAsleep;
    for (const Timed which : {Timed::Reading, Timed::RegMap, Timed::Limits, Timed::Graph}) {
        const TimedActivity activity = Activity(which);
        if (activity.on) ticks = FirstDueTick(*activity.last, activity.intervalSeconds, tickTime_, ticks);
    }
    if (LoggingActive) {
        if (logSchedule_.Running()) {
            // A tick that comes at or after the line's moment writes it.
            const double ticksToLine = std::ceil(logSchedule_.SecondsToNextLine() / TickSeconds - 1e-6);
            ticks = static_cast<int>(std::clamp(ticksToLine, 1.0, static_cast<double>(ticks)));
        } else {
            ticks = FirstDueTick(LastLogTime, LogInterval / 1000.0, tickTime_, ticks);
        }
    }
    logSchedule_.Asleep((ticks - 1) * TickSeconds);
    return ticks;
}

void MonitoringCycle::tmrMaster_Timer() {
    // After a board failure has been reported nothing may send another request; and a tick
    // never runs inside another (a message box shown by an activity keeps the timer running).
    if (USBStuff::FailureReported() || running_) return;
    running_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{running_};

    tickTime_ = CurrentClock().SecondsSinceMidnight();
    if (DueNow(Timed::Reading)) {
        ReadTemperatures();
        LastReadTime = Now();
    }
    if (DueNow(Timed::RegMap)) {
        windows_.regMap->cmdRead_Click();
        LastRegMapTime = Now();
    }
    if (DueNow(Timed::Limits)) {
        windows_.limits->UpdateAlertStatus();
        windows_.limits->UpdateGauges();
        LastLimitsTime = Now();
    }
    if (DueNow(Timed::Graph)) {
        windows_.graph->UpdateGraph();
        LastGraphTime = Now();
    }

    if (!LoggingActive) {
        logSchedule_.Stop();
        return;
    }
    const double now = CurrentClock().SecondsSinceMidnight();
    const LogSchedule::Slots due = logSchedule_.Due(now, LogInterval, LogLineCount,
                                                    IsDue(LastLogTime, LogInterval / 1000.0, static_cast<float>(now)));
    // The count steps over the skipped slots, so the next line's time column is its true time.
    LogLineCount = static_cast<int32_t>(std::min<int64_t>(int64_t{LogLineCount} + due.skipped, INT32_MAX));
    int written = 0;
    // A line that cannot be written stops the logging.
    for (; written < due.lines && LoggingActive; ++written) {
        AppendLogLine();
        if (LogLineCount < INT32_MAX) ++LogLineCount;
    }
    if (written > 0) {
        logSchedule_.Passed(due.skipped + written, LogLineCount);
        LastLogTime = Now();
    }
}
