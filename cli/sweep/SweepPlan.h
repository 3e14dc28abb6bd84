#pragma once
// A sweep's plan, read from its TOML file and checked whole before anything is sent to the chip
// or the chamber: the chip's set-up, the chamber and the reference, the setpoints and the
// patience of a step, and the errors a step may show and pass.
#include "cli/CliRequest.h"
#include "instruments/InstrumentSettings.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct SweepPlan {
    std::optional<int32_t> address;       // [chip] address, as --address
    QString applyFile;                    // [chip] apply, made absolute; empty for none
    std::vector<FieldSetting> apply;      // its settings, read and checked with the plan
    Instruments::InstrumentSettings chamber;
    double safe = 25;                     // where the chamber is left
    Instruments::InstrumentSettings reference;
    std::vector<double> setpoints;
    double window = 0.2;                  // °C: each channel within ± this of its own mean
    double stableForS = 300;
    double recordS = 120;
    double timeoutS = 2700;
    int32_t intervalMs = 500;
    double passLocal = 1.0;               // °C: the largest |chip − reference| that passes
    double passRemote = 1.0;
    // What the plan means, as a short text that changes whenever a step would be run otherwise:
    // a resumed sweep must be the same one.
    std::string fingerprint;
};

// None, with "PLAN:LINE: what is wrong", for a file that cannot be read, a key the plan does
// not know, or a value that cannot be used.
std::optional<SweepPlan> ReadSweepPlan(const QString& path, std::string& refusal);
