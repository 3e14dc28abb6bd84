#pragma once
// One line per driver call, appended to a file so a test or a user can see what the
// program asked of the board. Each line is complete on disk before the call returns.
#include <string>

namespace UsbSim {

class CallTrace {
public:
    void SetPath(std::string path) { path_ = std::move(path); }
    bool Enabled() const { return !path_.empty(); }
    // Writes the local time as seconds since midnight with milliseconds, a blank, the text.
    void Line(const std::string& text) const;

private:
    std::string path_;
};

}  // namespace UsbSim
