#pragma once
// A chamber programme to rehearse on: a text of lines "SECONDS LOCAL_C REMOTE_C", blank lines
// and lines starting with # aside. The temperatures run linearly between the points, hold the
// first point's before it and the last point's after it.
#include <optional>
#include <string>
#include <vector>

namespace UsbSim {

class TemperatureProfile {
public:
    // The profile the text describes, or none with the reason ("line 3: ...").
    static std::optional<TemperatureProfile> Parse(const std::string& text, std::string& error);
    // The profile in the file, or none with the reason, which names the file.
    static std::optional<TemperatureProfile> Load(const std::string& path, std::string& error);

    double Local(double seconds) const { return At(seconds, &Point::local); }
    double Remote(double seconds) const { return At(seconds, &Point::remote); }

private:
    struct Point {
        double seconds;
        double local;
        double remote;
    };
    double At(double seconds, double Point::*channel) const;

    std::vector<Point> points_;  // at least one, in strictly increasing time
};

}  // namespace UsbSim
