#include "SimSettings.h"

#include "DecimalText.h"

#include <algorithm>
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
        Refuse(name, text, "is no positive number");
        return std::nullopt;
    }

    // A number no less than zero; anything else refuses the download, as a wrong pace would.
    std::optional<double> NotNegative(const char* name) {
        const char* text = Variable(name);
        if (!text) return std::nullopt;
        auto value = ParseDecimal(text);
        if (value && *value >= 0) return value;
        Refuse(name, text, "is no number of at least 0");
        return std::nullopt;
    }

    // "OFFSET GAIN", blanks between.
    std::optional<ChannelError> Error(const char* name) {
        const char* text = Variable(name);
        if (!text) return std::nullopt;
        const std::vector<std::string> words = Words(text, " \t", false);
        std::optional<double> offset, gain;
        if (words.size() == 2) {
            offset = ParseDecimal(words[0]);
            gain = ParseDecimal(words[1]);
        }
        if (offset && gain) return ChannelError{*offset, *gain};
        Refuse(name, text, "is not \"OFFSET GAIN\", two numbers");
        return std::nullopt;
    }

    // Seconds after power-on, by commas, or "none".
    std::optional<std::vector<double>> Moments(const char* name) {
        const char* text = Variable(name);
        if (!text) return std::nullopt;
        std::vector<double> moments;
        if (std::string(text) == "none") return moments;
        for (const std::string& word : Words(text, ",", true)) {
            auto value = ParseDecimal(word);
            if (!value || *value < 0 || moments.size() == LooseCableState::kMostFailures) {
                Refuse(name, text, "is not up to 16 seconds of at least 0, by commas, or none");
                return std::nullopt;
            }
            moments.push_back(*value);
        }
        return moments;
    }

    std::optional<double> Degrees(const char* name) {
        const char* text = Variable(name);
        if (!text) return std::nullopt;
        auto value = ParseDecimal(text);
        if (!value) Ignore(name, text);
        return value;
    }

private:
    // The pieces between separators; empty ones too where a list must not have them.
    static std::vector<std::string> Words(const std::string& text, const char* separators, bool keepEmpty) {
        std::vector<std::string> words;
        std::size_t start = 0;
        while (start <= text.size()) {
            const std::size_t end = std::min(text.find_first_of(separators, start), text.size());
            if (end > start || keepEmpty) words.push_back(text.substr(start, end - start));
            start = end + 1;
        }
        return words;
    }
    void Refuse(const char* name, const char* text, const char* why) {
        if (settings_.refused.empty()) settings_.refused = std::string(name) + "=" + text + " " + why;
    }
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
    s.failAtSeconds = read.Moments("KTS_SIM_FAIL_AT");
    if (s.failForMs && !s.failAfter && !s.failAtSeconds) {
        s.ignored.push_back("KTS_SIM_FAIL_FOR=" + std::to_string(*s.failForMs) +
                            " (it needs KTS_SIM_FAIL_AFTER or KTS_SIM_FAIL_AT)");
        s.failForMs.reset();
    }
    if (auto d = read.Integer("KTS_SIM_DIODE_OPEN", 0, 1)) s.diodeOpen = (*d == 1);
    s.localTemp = read.Degrees("KTS_SIM_LOCAL_TEMP");
    s.remoteTemp = read.Degrees("KTS_SIM_REMOTE_TEMP");
    if (const char* path = Variable("KTS_SIM_PROFILE")) s.profilePath = path;
    s.profileSpeed = read.Factor("KTS_SIM_PROFILE_SPEED");
    if (auto rate = read.Factor("KTS_SIM_CHAMBER_RATE")) s.chamberRatePerMinute = *rate;
    if (auto lag = read.NotNegative("KTS_SIM_LOCAL_LAG")) s.localLagSeconds = *lag;
    if (auto lag = read.NotNegative("KTS_SIM_REMOTE_LAG")) s.remoteLagSeconds = *lag;
    if (auto error = read.Error("KTS_SIM_LOCAL_ERROR")) s.localError = *error;
    if (auto error = read.Error("KTS_SIM_REMOTE_ERROR")) s.remoteError = *error;
    if (auto noise = read.NotNegative("KTS_SIM_NOISE")) s.noise = *noise;
    if (const char* path = Variable("KTS_SIM_STATE")) s.statePath = path;
    if (auto c = read.Integer("KTS_SIM_POWER_CYCLE", 0, 1)) s.powerCycle = (*c == 1);
    if (const char* path = Variable("KTS_SIM_TRACE")) s.tracePath = path;
    return s;
}

}  // namespace UsbSim
