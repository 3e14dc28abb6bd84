#include "TemperatureProfile.h"

#include "DecimalText.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

namespace UsbSim {

namespace {

// A profile is a few lines per hour of chamber time; a file this large is surely not one.
constexpr std::streamoff kLargestFile = 16 * 1024 * 1024;

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream words(line);
    for (std::string word; words >> word;) fields.push_back(word);
    return fields;
}

bool IsAside(const std::string& line) {
    const auto first = line.find_first_not_of(" \t\r");
    return first == std::string::npos || line[first] == '#';
}

std::string Shown(std::string line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return "'" + line + "'";
}

}  // namespace

std::optional<TemperatureProfile> TemperatureProfile::Parse(const std::string& text, std::string& error) {
    TemperatureProfile profile;
    std::istringstream lines(text);
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        if (IsAside(line)) continue;
        const std::vector<std::string> fields = Fields(line);
        std::optional<double> values[3];
        if (fields.size() == 3)
            for (int i = 0; i < 3; ++i) values[i] = ParseDecimal(fields[i]);
        const std::string where = "line " + std::to_string(number) + ": ";
        if (!values[0] || !values[1] || !values[2]) {
            error = where + "expected SECONDS LOCAL_C REMOTE_C, found " + Shown(line);
            return std::nullopt;
        }
        if (*values[0] < 0) {
            error = where + "the time " + fields[0] + " is before the start";
            return std::nullopt;
        }
        if (!profile.points_.empty() && *values[0] <= profile.points_.back().seconds) {
            error = where + "the time " + fields[0] + " is not after the line before";
            return std::nullopt;
        }
        profile.points_.push_back({*values[0], *values[1], *values[2]});
    }
    if (profile.points_.empty()) {
        error = "no line SECONDS LOCAL_C REMOTE_C in it";
        return std::nullopt;
    }
    return profile;
}

std::optional<TemperatureProfile> TemperatureProfile::Load(const std::string& path, std::string& error) {
    const std::string named = "the temperature profile " + path;
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) {
        error = named + " cannot be read";
        return std::nullopt;
    }
    if (file.tellg() > kLargestFile) {
        error = named + " is too large for a profile";
        return std::nullopt;
    }
    file.seekg(0);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) {
        error = named + " cannot be read";
        return std::nullopt;
    }
    auto profile = Parse(text, error);
    if (!profile) error = named + ": " + error;
    return profile;
}

double TemperatureProfile::At(double seconds, double Point::*channel) const {
    const auto after = std::upper_bound(points_.begin(), points_.end(), seconds,
                                        [](double t, const Point& p) { return t < p.seconds; });
    if (after == points_.begin()) return points_.front().*channel;
    if (after == points_.end()) return points_.back().*channel;
    const Point& a = *(after - 1);
    const Point& b = *after;
    const double fraction = (seconds - a.seconds) / (b.seconds - a.seconds);
    return a.*channel + fraction * (b.*channel - a.*channel);
}

}  // namespace UsbSim
