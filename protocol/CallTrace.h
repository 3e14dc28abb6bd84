#pragma once
// One line per driver call, appended to a file so a test or a user can see what the
// program asked of the board. Each line is complete on disk before the call returns.
// Both driver libraries trace through it; it lies in protocol/, so neither compiles the other's files.
#include "protocol/LocalTime.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>

namespace BoardProtocol {

class CallTrace {
public:
    void SetPath(std::string path) { path_ = std::move(path); }
    bool Enabled() const { return !path_.empty(); }
    // Writes the local time as seconds since midnight with milliseconds, a blank, the text.
    void Line(const std::string& text) const {
        if (!Enabled()) return;
        // Opened and closed for every line, so nothing is lost when the process is killed.
        std::FILE* file = std::fopen(path_.c_str(), "a");
        if (!file) return;
        std::fprintf(file, "%.3f %s\n", SecondsSinceMidnight(), text.c_str());
        std::fclose(file);
    }

private:
    static double SecondsSinceMidnight() {
        using namespace std::chrono;
        const auto now = system_clock::now();
        const std::time_t t = system_clock::to_time_t(now);
        std::tm local{};
        LocalCalendar(t, local);
        const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
        return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + ms / 1000.0;
    }

    std::string path_;
};

}  // namespace BoardProtocol
