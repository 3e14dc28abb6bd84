#include "SimSettings.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace UsbSim {

namespace {

const char* Variable(const char* name) {
    const char* text = std::getenv(name);
    return (text && *text) ? text : nullptr;
}

bool OnlyBlanksFrom(const char* p) {
    while (*p == ' ' || *p == '\t') ++p;
    return *p == '\0';
}

// A whole number, decimal or with a 0x prefix hexadecimal.
std::optional<long long> ParseInteger(const char* text) {
    while (*text == ' ' || *text == '\t') ++text;
    int base = 10;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text += 2;
    }
    if (!std::isxdigit(static_cast<unsigned char>(*text))) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    long long value = std::strtoll(text, &end, base);
    if (errno != 0 || !OnlyBlanksFrom(end)) return std::nullopt;
    return value;
}

std::optional<double> ParseDegrees(const char* text) {
    char* end = nullptr;
    double value = std::strtod(text, &end);
    if (end == text || !OnlyBlanksFrom(end) || !std::isfinite(value)) return std::nullopt;
    return value;
}

class Reader {
public:
    explicit Reader(SimSettings& settings) : settings_(settings) {}

    // An integer within [low, high]; reports and skips anything else.
    std::optional<long long> Integer(const char* name, long long low, long long high) {
        const char* text = Variable(name);
        if (!text) return std::nullopt;
        auto value = ParseInteger(text);
        if (value && *value >= low && *value <= high) return value;
        Ignore(name, text);
        return std::nullopt;
    }

    std::optional<double> Degrees(const char* name) {
        const char* text = Variable(name);
        if (!text) return std::nullopt;
        auto value = ParseDegrees(text);
        if (!value) Ignore(name, text);
        return value;
    }

private:
    void Ignore(const char* name, const char* text) {
        settings_.ignored.push_back(std::string(name) + "=" + text);
    }
    SimSettings& settings_;
};

// 7-bit SMBus addresses; 0 is the general call address, never a device.
constexpr long long kLowestAddress = 1;
constexpr long long kHighestAddress = 127;

}  // namespace

SimSettings SimSettings::FromEnvironment() {
    SimSettings s;
    Reader read(s);
    if (auto a = read.Integer("KTS_SIM_ADDRESS", kLowestAddress, kHighestAddress)) s.address = int(*a);
    if (auto a = read.Integer("KTS_SIM_SECOND_ADDRESS", kLowestAddress, kHighestAddress)) {
        if (*a != s.address) s.secondAddress = int(*a);
    }
    if (auto n = read.Integer("KTS_SIM_REFUSE_CONNECTS", 0, 1000000)) s.refuseConnects = int(*n);
    if (auto f = read.Integer("KTS_SIM_FIRMWARE_FAIL", 0, 1)) s.firmwareFails = (*f == 1);
    s.failAfter = read.Integer("KTS_SIM_FAIL_AFTER", 0, (1LL << 62));
    if (auto d = read.Integer("KTS_SIM_DIODE_OPEN", 0, 1)) s.diodeOpen = (*d == 1);
    s.localTemp = read.Degrees("KTS_SIM_LOCAL_TEMP");
    s.remoteTemp = read.Degrees("KTS_SIM_REMOTE_TEMP");
    if (const char* path = Variable("KTS_SIM_TRACE")) s.tracePath = path;
    return s;
}

}  // namespace UsbSim
