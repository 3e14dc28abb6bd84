// The alarm command on Linux: /bin/sh -c, started with posix_spawn and reaped with waitpid.
#include "cli/monitor/AlarmCommand.h"

#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

const char* AlarmCommand::ShellName() { return "/bin/sh"; }

char** AlarmCommand::ProgramEnvironment() { return environ; }

bool AlarmCommand::Spawn(std::vector<std::string>& environment) {
    std::vector<std::string> arguments{ShellName(), "-c", command_};
    std::vector<char*> argv = Pointers(arguments);
    std::vector<char*> envp = Pointers(environment);
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
    const bool started = posix_spawn(&pid, argv[0], nullptr, &attributes, argv.data(), envp.data()) == 0;
    posix_spawnattr_destroy(&attributes);
    if (started) process_ = pid;
    return started;
}

std::optional<int> AlarmCommand::Reap() {
    int status = 0;
    const pid_t pid = static_cast<pid_t>(process_);
    const pid_t ended = ::waitpid(pid, &status, WNOHANG);
    std::optional<int> exitStatus;
    if (ended == pid) exitStatus = WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
    // A child that cannot be waited for is gone; its status is lost, but not the readings.
    else if (ended < 0 && errno != EINTR) exitStatus = CannotStart;
    if (exitStatus) process_ = 0;
    return exitStatus;
}

// The process ends on its own; the system reaps it once this program has ended.
void AlarmCommand::Release() { process_ = 0; }
