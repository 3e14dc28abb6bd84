#pragma once
// The run-time settings a run starts with. The state's definitions, the register model's
// start-up and the tests' reset all take them from here.
#include <array>
#include <cstdint>

namespace GeneralStuff {

struct RunTimeDefaults {
    int32_t readInterval = 100;   // ms
    int16_t graphInterval = 50;   // ms
    int32_t logInterval = 100;    // ms
    bool monitoringEnabled = true;
    std::array<bool, 3> logChannel{true, true, true};
};

inline constexpr RunTimeDefaults Defaults{};

// Sets ReadInterval, GraphInterval, LogInterval, MonitoringEnabled and LogChannel to Defaults.
void ApplyRunTimeDefaults();

}  // namespace GeneralStuff
