#pragma once
// When the data log's lines are due. The log's time column is the line count times the
// interval, so line n of a run is due at the run's first line + n × interval, and the first tick
// at or after that moment writes it. Lines missed while the program stood still are written at
// the next ticks, so the count keeps step with the clock instead of falling behind a little at
// every line.
#include "state/ContinuousTime.h"

#include <cstdint>

class LogSchedule {
public:
    // The number of lines due at this reading of the clock (seconds since midnight), for the
    // log's interval (ms) and line count. A run's first line is due when firstLineDue says so.
    int LinesDue(double timeOfDay, int32_t intervalMs, int32_t lineCount, bool firstLineDue);
    // Lines were written; lineCount is the log's count after them.
    void Written(int lines, int32_t lineCount);
    // Logging stopped: the next line begins a new run.
    void Stop() { running_ = false; }

    // However long the program stood still, one tick writes no more than this; the rest follow
    // at the next ticks, so the window stays responsive.
    static constexpr int MaxLinesPerTick = 100;

private:
    double DueTime(int64_t line) const;

    ContinuousTime time_;
    bool running_ = false;
    double now_ = 0;
    // Line anchorLine_ is due at anchorTime_, each later one interval_ ms after the one before.
    double anchorTime_ = 0;
    int64_t anchorLine_ = 0;
    int32_t interval_ = 0;
    int64_t nextLine_ = 0;
    int32_t expectedCount_ = 0;  // the log's count after the last line this schedule saw written
};
