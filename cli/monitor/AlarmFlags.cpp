#include "cli/monitor/AlarmFlags.h"

#include "cli/text/RegisterMeaning.h"

std::vector<MonitorEvent> AlarmFlags::Update(int status) {
    std::vector<MonitorEvent> changes;
    for (int bit = 0x80; bit != 0; bit >>= 1) {
        const int changed = (status ^ alarms_) & bit;
        // AlarmNames leaves out what is no alarm.
        for (const std::string& name : AlarmNames(changed)) {
            MonitorEvent event;
            event.kind = (status & bit) != 0 ? "alarm-raised" : "alarm-cleared";
            event.flag = name;
            changes.push_back(event);
            alarms_ ^= bit;
        }
    }
    return changes;
}
