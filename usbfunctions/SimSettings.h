#pragma once
// The simulated board's own settings, taken from environment variables that only this
// library reads. Unset or unreadable values keep the defaults of a plain board, except for
// the profile's pace, which refuses the download.
#include "ChamberModel.h"

#include <optional>
#include <string>
#include <vector>

namespace UsbSim {

struct SimSettings {
    int address = 0x4C;                  // SMBus address of the chip
    std::optional<int> secondAddress;    // a second, identical chip
    int refuseConnects = 0;              // connect attempts refused before one is accepted
    bool firmwareFails = false;          // every firmware download fails
    std::optional<long long> failAfter;  // requests answered before every request fails
    std::optional<long long> failForMs;  // with failAfter: how long the failure lasts before it heals
    bool diodeOpen = false;              // the remote diode is disconnected
    std::optional<double> localTemp;     // fixed temperatures in degrees; drifting when unset
    std::optional<double> remoteTemp;
    std::string profilePath;             // temperature profile; none when empty
    std::optional<double> profileSpeed;  // how many times faster the profile runs
    std::optional<std::vector<double>> failAtSeconds;  // loose cable in time; empty: none any more
    double chamberRatePerMinute = 5;     // how fast the chamber's air moves toward its setpoint
    double localLagSeconds = 60;         // how slowly the channels follow the air
    double remoteLagSeconds = 20;
    ChannelError localError;             // what each channel reads beside its true temperature
    ChannelError remoteError;
    double noise = 0;                    // spread of the gaussian noise on both channels, degrees
    std::string statePath;               // the chip's state file as the user named it; default when empty
    bool powerCycle = false;             // the chips start from their power-on values
    std::string tracePath;               // file every call is appended to; no trace when empty
    std::vector<std::string> ignored;    // "NAME=value" of settings that could not be read
    std::string refused;                 // why every download fails; empty when none does

    static SimSettings FromEnvironment();
};

}  // namespace UsbSim
