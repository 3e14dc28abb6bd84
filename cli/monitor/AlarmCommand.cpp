#include "cli/monitor/AlarmCommand.h"

#include "registers/NumberText.h"

#include <cstdlib>
#include <cstring>

namespace {

bool IsEventVariable(const char* entry) {
    return std::strncmp(entry, "KTS_EVENT=", 10) == 0 || std::strncmp(entry, "KTS_FLAG=", 9) == 0 ||
           std::strncmp(entry, "KTS_LOCAL_C=", 12) == 0 || std::strncmp(entry, "KTS_REMOTE_C=", 13) == 0 ||
           std::strncmp(entry, "KTS_TIME=", 9) == 0;
}

// The program's environment with the event's variables in place of any it had.
std::vector<std::string> EventEnvironment(const MonitorEvent& event, char** programEnvironment) {
    std::vector<std::string> entries;
    for (char** entry = programEnvironment; *entry; ++entry)
        if (!IsEventVariable(*entry)) entries.emplace_back(*entry);
    entries.push_back("KTS_EVENT=" + event.kind);
    entries.push_back("KTS_FLAG=" + event.flag);
    entries.push_back("KTS_LOCAL_C=" + (event.reading ? GeneralStuff::TrimmedNumberText(event.reading->local) : ""));
    entries.push_back("KTS_REMOTE_C=" + (event.reading ? GeneralStuff::TrimmedNumberText(event.reading->remote) : ""));
    entries.push_back("KTS_TIME=" + event.time);
    return entries;
}

}  // namespace

AlarmCommand::~AlarmCommand() {
    if (Running()) Release();
}

void AlarmCommand::Start(const MonitorEvent& event) {
    if (command_.empty() || Running() || failed_) return;
    std::vector<std::string> environment = EventEnvironment(event, ProgramEnvironment());
    flag_ = event.flag;
    if (!Spawn(environment)) failed_ = CannotStart;
}

std::optional<MonitorEvent> AlarmCommand::Ended() {
    std::optional<int> exitStatus = failed_;
    failed_.reset();
    if (!exitStatus && Running()) exitStatus = Reap();
    if (!exitStatus) return std::nullopt;
    MonitorEvent event;
    event.kind = "command-ended";
    event.flag = flag_;
    event.exitStatus = exitStatus;
    return event;
}
