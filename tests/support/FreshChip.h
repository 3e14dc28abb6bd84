#pragma once
// Points the simulated board at a chip of the caller's own, in a state file in the folder
// given, powered afresh at every download: a test or a benchmark never sees the chip the
// user's programs share, nor changes it.
#include <cstdlib>
#include <string>

inline void UseFreshChip(const std::string& folder) {
    setenv("KTS_SIM_STATE", (folder + "/chip.state").c_str(), 1);
    setenv("KTS_SIM_POWER_CYCLE", "1", 1);
}
