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
#include <cstdint>

using namespace GeneralStuff;

namespace {
float Now() { return static_cast<float>(CurrentClock().SecondsSinceMidnight()); }
}  // namespace

bool MonitoringCycle::IsDue(double last, double intervalSeconds, float now) {
    return static_cast<float>(last + intervalSeconds) < now || static_cast<float>(last) > now;
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

    if (MonitoringEnabled && IsDue(LastReadTime, ReadInterval / 1000.0, Now())) {
        ReadTemperatures();
        LastReadTime = Now();
    }

    if (RegMapOpen && windows_.regMap) {
        const bool continuous = windows_.regMap->chkContRead->isChecked();
        if (continuous && IsDue(LastRegMapTime, 0.5, Now())) {
            windows_.regMap->cmdRead_Click();
            LastRegMapTime = Now();
        }
    }

    if (LimitsOpen && windows_.limits && IsDue(LastLimitsTime, 0.2, Now())) {
        windows_.limits->UpdateAlertStatus();
        windows_.limits->UpdateGauges();
        LastLimitsTime = Now();
    }

    if (GraphOpen && windows_.graph && IsDue(LastGraphTime, GraphInterval / 1000.0, Now())) {
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
