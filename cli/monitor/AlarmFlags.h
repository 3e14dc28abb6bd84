#pragma once
// Each alarm flag of the Status register followed from reading to reading: raised at the
// first reading that shows it set, cleared at the first that shows it clear. The busy bit is
// no alarm.
#include "cli/monitor/MonitorEvent.h"

#include <vector>

class AlarmFlags {
public:
    // The flags that changed since the reading before (before the first: none set), bit 7
    // first, as events with their kind and flag.
    std::vector<MonitorEvent> Update(int status);

private:
    int alarms_ = 0;
};
