#pragma once
// The work of every tick of the master timer: five activities, each with its own switch,
// interval and time of last run, tested and run in a fixed order.
#include "app/LogSchedule.h"

#include <QPointer>

class frmRegMap;
class frmLimits;
class frmGraph;

// The open child windows the cycle calls into (null when closed).
struct CycleWindows {
    QPointer<frmRegMap> regMap;
    QPointer<frmLimits> limits;
    QPointer<frmGraph> graph;
};

class MonitoringCycle {
public:
    explicit MonitoringCycle(const CycleWindows& windows) : windows_(windows) {}

    void tmrMaster_Timer();

    // Due when the clock has moved strictly past last + interval, or gone back past
    // midnight since the last run.
    static bool IsDue(double last, double intervalSeconds, float now);

    // The master timer's tick; a tick that finds nothing due does nothing.
    static constexpr double TickSeconds = 0.010;
    // However long nothing is due, the timer wakes this often, so a clock set back or forward
    // is noticed within a second.
    static constexpr int MaxTicksAsleep = 100;
    // After a tick: the number of ticks to the first at which an activity will be due (1 = the
    // next tick). The ticks before it would find nothing to do, so the timer sleeps through
    // them, and the log does not take that sleep for a stall. Anything that switches an
    // activity on must wake the timer at the next tick.
    int PlanNextTick();

    double LastReadTime = 0;
    double LastRegMapTime = 0;
    double LastLimitsTime = 0;
    double LastGraphTime = 0;
    double LastLogTime = 0;

private:
    // The activities that run on an interval of their own, in the tick's order; the log keeps
    // its own schedule. The tick and its plan both take them from here.
    enum class Timed { Reading, RegMap, Limits, Graph };
    struct TimedActivity {
        bool on;   // switched on, its window open
        double* last;
        double intervalSeconds;
    };
    TimedActivity Activity(Timed which);
    bool DueNow(Timed which);

    const CycleWindows& windows_;
    bool running_ = false;
    double tickTime_ = 0;   // the time of day the last tick began
    LogSchedule logSchedule_;
};
