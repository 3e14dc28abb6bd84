#pragma once
// What happens in a run besides its readings: the start and the end, each alarm flag raised
// and cleared, the board lost and back, and the end of an alarm's command. Written as one
// JSON object a line (the events file, watch --json) or as a text line (watch).
#include "cli/text/Reading.h"

#include <optional>
#include <string>

struct MonitorEvent {
    std::string kind;   // started, ended, alarm-raised, alarm-cleared, board-lost, board-back, command-ended
    std::string time;   // as the readings' time column
    std::string flag;   // the alarm flag; empty for none
    std::optional<Reading> reading;  // the temperatures at the event, where there are any
    std::optional<int> exitStatus;   // command-ended: the exit status, 128 + the signal that ended it
    std::string reason;              // board-lost: why
};

// {"time":"…","event":"alarm-raised","flag":"RemHi","local_C":30,"remote_C":85.25}; a missing
// flag or temperature is null.
std::string EventJsonLine(const MonitorEvent& event);
// "2024-05-01T14:03:07.123+02:00  alarm-raised  RemHi  local 30 °C  remote 85.25 °C"
std::string EventTextLine(const MonitorEvent& event);
