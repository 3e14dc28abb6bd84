#pragma once
// The user's command for alarms (--on-alarm), run through /bin/sh beside the readings: the
// event goes in its environment (KTS_EVENT, KTS_FLAG, KTS_LOCAL_C, KTS_REMOTE_C, KTS_TIME),
// nothing waits for it, and while it runs no second one is started.
#include "cli/MonitorEvent.h"

#include <optional>
#include <string>
#include <sys/types.h>

class AlarmCommand {
public:
    // An empty command runs nothing.
    explicit AlarmCommand(std::string command) : command_(std::move(command)) {}
    AlarmCommand(const AlarmCommand&) = delete;
    AlarmCommand& operator=(const AlarmCommand&) = delete;

    bool Running() const { return pid_ > 0; }
    // Starts the command for the event, unless one is still running. A command that cannot be
    // started ends at once, with status 127 as the shell gives for a command it cannot find.
    void Start(const MonitorEvent& event);
    // Once the command has ended: the command-ended event, with its flag and exit status (128 +
    // the signal that ended it). Never waits.
    std::optional<MonitorEvent> Ended();

private:
    std::string command_;
    pid_t pid_ = 0;
    std::string flag_;          // the flag of the event the command runs for
    std::optional<int> failed_;  // a command that could not be started, not yet reported
};
