#pragma once
// When the data log's lines are due. The log's time column is the line count times the
// interval, so line n of a run belongs to the slot at the run's first line + n × interval, and
// the first tick at or after that moment writes it. A line is written only for a slot in which
// the program ran: slots a late tick missed by ordinary jitter are filled at once, but slots
// that passed while the program stood still (a modal dialog with the timer off, a stopped or
// suspended process) are skipped, and the count steps over them, so the next line carries its
// true time and the pause shows as a gap in the time column.
#include "files/ContinuousTime.h"

#include <cstdint>

class LogSchedule {
public:
    struct Slots {
        int64_t skipped = 0;  // slots that passed while the program stood still: no line
        int lines = 0;        // lines to write now
    };

    // The slots due at this reading of the clock (seconds since midnight), for the log's
    // interval (ms) and line count. A run's first line is due when firstLineDue says so.
    Slots Due(double timeOfDay, int32_t intervalMs, int32_t lineCount, bool firstLineDue);
    // Slots were skipped and lines written; lineCount is the log's count after them.
    void Passed(int64_t slots, int32_t lineCount);
    // Logging stopped: the next line begins a new run.
    void Stop() { running_ = false; }
    // Whether a run's lines are being written, and the time from the last tick to its next one.
    bool Running() const { return running_; }
    double SecondsToNextLine() const { return interval_ <= 0 ? 0 : DueTime(nextLine_) - now_; }
    // After the last tick the program sleeps this long on purpose: no stall.
    void Asleep(double seconds) { awakeUntil_ = now_ + seconds; }

    // However many lines are due, one tick writes no more than this; the rest follow at the
    // next ticks, so the window stays responsive.
    static constexpr int MaxLinesPerTick = 100;
    // A tick this much later than the one before, or than the end of a planned sleep, means the
    // program stood still: ten ticks of the master timer, far more than any tick's jitter or
    // the work of one tick.
    static constexpr double StandStillSeconds = 0.1;

private:
    double DueTime(int64_t line) const;

    ContinuousTime time_;
    bool running_ = false;
    double now_ = 0;
    double awakeUntil_ = 0;
    // Line anchorLine_ is due at anchorTime_, each later one interval_ ms after the one before.
    double anchorTime_ = 0;
    int64_t anchorLine_ = 0;
    int32_t interval_ = 0;
    int64_t nextLine_ = 0;
    int32_t expectedCount_ = 0;  // the log's count after the last slots this schedule saw pass
};
