// The alarm command on Windows: cmd.exe /c, started with CreateProcess and its exit code read
// from the process handle once the handle is signalled.
#include "cli/monitor/AlarmCommand.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <windows.h>

namespace {

// An environment block: the entries sorted by name without regard to case, as Windows keeps
// them, each ended by a zero, and one more zero at the end.
std::string EnvironmentBlock(std::vector<std::string> entries) {
    const auto name = [](const std::string& entry) {
        std::string key = entry.substr(0, entry.find('=', 1));
        std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::toupper(c); });
        return key;
    };
    std::stable_sort(entries.begin(), entries.end(),
                     [&](const std::string& a, const std::string& b) { return name(a) < name(b); });
    std::string block;
    for (const std::string& entry : entries) block.append(entry).push_back('\0');
    block.push_back('\0');
    return block;
}

}  // namespace

const char* AlarmCommand::ShellName() { return "cmd.exe /c"; }

char** AlarmCommand::ProgramEnvironment() { return environ; }

bool AlarmCommand::Spawn(std::vector<std::string>& environment) {
    char shell[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("ComSpec", shell, sizeof shell);
    const std::string interpreter = length > 0 && length < sizeof shell ? shell : "cmd.exe";
    // cmd.exe takes the rest of its line after /c as the command, quotes and all.
    std::string line = "\"" + interpreter + "\" /c " + command_;
    std::string block = EnvironmentBlock(environment);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(interpreter.c_str(), line.data(), nullptr, nullptr, FALSE, 0, block.data(), nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    process_ = reinterpret_cast<std::intptr_t>(process.hProcess);
    return true;
}

std::optional<int> AlarmCommand::Reap() {
    const HANDLE process = reinterpret_cast<HANDLE>(process_);
    const DWORD waited = WaitForSingleObject(process, 0);
    if (waited == WAIT_TIMEOUT) return std::nullopt;
    DWORD code = CannotStart;
    if (waited != WAIT_OBJECT_0 || !GetExitCodeProcess(process, &code)) code = CannotStart;
    CloseHandle(process);
    process_ = 0;
    return static_cast<int>(code);
}

// The process ends on its own; only this program's handle to it goes.
void AlarmCommand::Release() {
    CloseHandle(reinterpret_cast<HANDLE>(process_));
    process_ = 0;
}
