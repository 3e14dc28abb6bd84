#include "cli/serve/ServeLog.h"

#include "cli/CliRequest.h"
#include "files/LocalTimeText.h"

#include <cstdio>
#include <mutex>

void ServeLogLine(const std::string& text) {
    static std::mutex mutex;
    static LocalTimeText time;
    const std::lock_guard<std::mutex> lock(mutex);
    const std::string line = time.Now() + " " + CliName + ": " + text + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
}
