#include "app/LogSchedule.h"

#include <algorithm>
#include <cmath>

double LogSchedule::DueTime(int64_t line) const {
    return anchorTime_ + static_cast<double>(line - anchorLine_) * interval_ / 1000.0;
}

LogSchedule::Slots LogSchedule::Due(double timeOfDay, int32_t intervalMs, int32_t lineCount, bool firstLineDue) {
    const double lastTick = std::max(now_, awakeUntil_);
    now_ = time_.FromTimeOfDay(timeOfDay);
    // Starting the logging sets the count back to 0: a new run.
    if (running_ && lineCount != expectedCount_) running_ = false;
    if (!running_) {
        if (!firstLineDue) return {};
        running_ = true;
        anchorTime_ = now_;
        anchorLine_ = nextLine_ = 0;
        interval_ = intervalMs;
        return {0, 1};
    }
    if (intervalMs != interval_) {
        // A new interval counts from the last line written.
        anchorTime_ = DueTime(nextLine_ - 1);
        anchorLine_ = nextLine_ - 1;
        interval_ = intervalMs;
    }
    if (interval_ <= 0) return {0, 1};  // a line at every tick
    // The small allowance keeps a tick that falls exactly on the due moment from missing it
    // through rounding.
    const double lastDue = std::floor((now_ - anchorTime_) * 1000.0 / interval_ + 1e-9) + anchorLine_;
    const double due = lastDue - static_cast<double>(nextLine_) + 1;
    if (due > 1 && now_ - lastTick > StandStillSeconds) {
        // Only the newest slot saw the program run again.
        return {static_cast<int64_t>(due) - 1, 1};
    }
    return {0, static_cast<int>(std::clamp(due, 0.0, static_cast<double>(MaxLinesPerTick)))};
}

void LogSchedule::Passed(int64_t slots, int32_t lineCount) {
    nextLine_ += slots;
    expectedCount_ = lineCount;
    if (interval_ <= 0) {
        anchorTime_ = now_;
        anchorLine_ = nextLine_ - 1;
    }
}
