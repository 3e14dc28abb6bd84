#pragma once
// Turns readings of the time of day (seconds since midnight) into a time that keeps rising for
// the whole run, so a chart's time axis goes on past midnight instead of starting again at 0.
// The run's time line as the logs, the charts and the schedules count it; pure, so the chart
// and the command line stand on it without the run-time state.

class ContinuousTime {
public:
    // The reading's place on the run's time line: seconds since the midnight the run began.
    // Never less than the place of the reading before.
    double FromTimeOfDay(double seconds);

private:
    double offset_ = 0;
    double last_ = 0;
    bool started_ = false;
};
