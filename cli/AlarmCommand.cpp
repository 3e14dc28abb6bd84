#include "cli/AlarmCommand.h"

#include "registers/NumberText.h"

#include <cerrno>
#include <cstring>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

constexpr int CannotStart = 127;

bool IsEventVariable(const char* entry) {
    return std::strncmp(entry, "KTS_EVENT=", 10) == 0 || std::strncmp(entry, "KTS_FLAG=", 9) == 0 ||
           std::strncmp(entry, "KTS_LOCAL_C=", 12) == 0 || std::strncmp(entry, "KTS_REMOTE_C=", 13) == 0 ||
           std::strncmp(entry, "KTS_TIME=", 9) == 0;
}

// The program's environment with the event's variables in place of any it had.
std::vector<std::string> EventEnvironment(const MonitorEvent& event) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry; ++entry)
        if (!IsEventVariable(*entry)) entries.emplace_back(*entry);
    entries.push_back("KTS_EVENT=" + event.kind);
    entries.push_back("KTS_FLAG=" + event.flag);
    entries.push_back("KTS_LOCAL_C=" + (event.reading ? GeneralStuff::TrimmedNumberText(event.reading->local) : ""));
    entries.push_back("KTS_REMOTE_C=" + (event.reading ? GeneralStuff::TrimmedNumberText(event.reading->remote) : ""));
    entries.push_back("KTS_TIME=" + event.time);
    return entries;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

void AlarmCommand::Start(const MonitorEvent& event) {
    if (command_.empty() || Running() || failed_) return;
    std::vector<std::string> arguments{"/bin/sh", "-c", command_};
    std::vector<std::string> environment = EventEnvironment(event);
    std::vector<char*> argv = Pointers(arguments);
    std::vector<char*> envp = Pointers(environment);
    flag_ = event.flag;
    // The command takes Ctrl+C and SIGTERM its own default way, whatever this program does.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGTERM);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, &attributes, argv.data(), envp.data()) == 0) pid_ = pid;
    else failed_ = CannotStart;
    posix_spawnattr_destroy(&attributes);
}

std::optional<MonitorEvent> AlarmCommand::Ended() {
    std::optional<int> exitStatus = failed_;
    failed_.reset();
    if (!exitStatus && Running()) {
        int status = 0;
        const pid_t ended = ::waitpid(pid_, &status, WNOHANG);
        if (ended == pid_) exitStatus = WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
        // A child that cannot be waited for is gone; its status is lost, but not the readings.
        else if (ended < 0 && errno != EINTR) exitStatus = CannotStart;
        if (exitStatus) pid_ = 0;
    }
    if (!exitStatus) return std::nullopt;
    MonitorEvent event;
    event.kind = "command-ended";
    event.flag = flag_;
    event.exitStatus = exitStatus;
    return event;
}
