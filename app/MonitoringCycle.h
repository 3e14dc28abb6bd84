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

    double LastReadTime = 0;
    double LastRegMapTime = 0;
    double LastLimitsTime = 0;
    double LastGraphTime = 0;
    double LastLogTime = 0;

private:
    const CycleWindows& windows_;
    bool running_ = false;
    LogSchedule logSchedule_;
};
