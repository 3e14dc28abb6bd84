#include "SimSettings.h"

#include "DecimalText.h"

#include <cctype>
#include <cerrno>
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

    // A positive, finite number. Anything else refuses the download: a rehearsal at the wrong
    // pace would look right and mislead.
    std::optional<double> Factor(const char* name) {
        const char* text = Variable(name);
        if (!text) return std::nullopt;
        auto value = ParseDecimal(text);
        if (value && *value > 0) return value;
        settings_.refused = std::string(name) + "=" + text + " is no positive number";
        return std::nullopt;
    }

    std::optional<double> Degrees(const char* name) {
        const char* text = Variable(name);
        if (!text) return std::nullopt;
        auto value = ParseDecimal(text);
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
// A failure that heals lasts at most a day.
constexpr long long kLongestFailureMs = 24LL * 3600 * 1000;

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
    s.failForMs = read.Integer("KTS_SIM_FAIL_FOR", 0, kLongestFailureMs);
    if (s.failForMs && !s.failAfter) {
        s.ignored.push_back("KTS_SIM_FAIL_FOR=" + std::to_string(*s.failForMs) + " (it needs KTS_SIM_FAIL_AFTER)");
        s.failForMs.reset();
    }
    if (auto d = read.Integer("KTS_SIM_DIODE_OPEN", 0, 1)) s.diodeOpen = (*d == 1);
    s.localTemp = read.Degrees("KTS_SIM_LOCAL_TEMP");
    s.remoteTemp = read.Degrees("KTS_SIM_REMOTE_TEMP");
    if (const char* path = Variable("KTS_SIM_PROFILE")) s.profilePath = path;
    s.profileSpeed = read.Factor("KTS_SIM_PROFILE_SPEED");
    if (const char* path = Variable("KTS_SIM_STATE")) s.statePath = path;
    if (auto c = read.Integer("KTS_SIM_POWER_CYCLE", 0, 1)) s.powerCycle = (*c == 1);
    if (const char* path = Variable("KTS_SIM_TRACE")) s.tracePath = path;
    return s;
}

}  // namespace UsbSim
