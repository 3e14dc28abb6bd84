#pragma once
// The user's command for alarms (--on-alarm), run through the system's shell beside the
// readings (/bin/sh -c, or cmd.exe /c on Windows): the event goes in its environment
// (KTS_EVENT, KTS_FLAG, KTS_LOCAL_C, KTS_REMOTE_C, KTS_TIME), nothing waits for it, and while it
// runs no second one is started.
#include "cli/monitor/MonitorEvent.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class AlarmCommand {
public:
    // An empty command runs nothing.
    explicit AlarmCommand(std::string command) : command_(std::move(command)) {}
    AlarmCommand(const AlarmCommand&) = delete;
    AlarmCommand& operator=(const AlarmCommand&) = delete;
    ~AlarmCommand();

    bool Running() const { return process_ != 0; }
    // Starts the command for the event, unless one is still running. A command that cannot be
    // started ends at once, with status 127 as the shell gives for a command it cannot find.
    void Start(const MonitorEvent& event);
    // Once the command has ended: the command-ended event, with its flag and exit status (128 +
    // the signal that ended it). Never waits.
    std::optional<MonitorEvent> Ended();

    static constexpr int CannotStart = 127;
    // The shell the command runs through, as the help names it: "/bin/sh", or "cmd.exe /c".
    static const char* ShellName();

private:
    // The program's own environment, its entries as the system keeps them ("NAME=value").
    static char** ProgramEnvironment();
    // The system's part: starts the command with these environment entries ("NAME=value");
    // false when it cannot.
    bool Spawn(std::vector<std::string>& environment);
    // The command's exit status once it has ended (CannotStart when it cannot be waited for);
    // none while it runs. Lets the process go once it has ended.
    std::optional<int> Reap();
    // Lets go of a process still running when the monitor ends: it is left to finish.
    void Release();

    std::string command_;
    std::intptr_t process_ = 0;   // the process id, or its handle on Windows; 0 for none
    std::string flag_;            // the flag of the event the command runs for
    std::optional<int> failed_;   // a command that could not be started, not yet reported
};
