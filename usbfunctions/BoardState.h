#pragma once
// What the board keeps beside its chips while powered: the simulated chamber and the loose
// cable given in time. Plain bytes with times as numbers, shared by every process driving
// the board (ChipStateStore).
#include <array>
#include <cstdint>
#include <type_traits>

namespace UsbSim {

// The chamber's air since its last setpoint change: from startAir toward setpoint at
// ratePerSecond; the chips' channels follow it with their lags. The pace and the lags are those
// of the program that gave the setpoint, so that every program computes the same chamber.
struct ChamberState {
    static constexpr uint32_t kActive = 0x43484D42;  // any other value: no setpoint given yet

    uint32_t active;
    uint32_t unused;
    int64_t changedAt;  // Ticks() of the last setpoint change
    double setpoint;
    double startAir;
    double ratePerSecond;
    double localLag;   // seconds
    double remoteLag;

    bool IsActive() const { return active == kActive; }
};

// Failures of KTS_SIM_FAIL_AT, as nanoseconds after the board's power-on.
struct LooseCableState {
    static constexpr int kMostFailures = 16;

    uint32_t count;
    uint32_t forGood;       // 1: each failure lasts for good
    int64_t lastsFor;       // nanoseconds, unless forGood
    std::array<int64_t, kMostFailures> startsAt;
};

struct BoardState {
    static constexpr uint32_t kPowered = 0x4B534244;

    uint32_t powered;
    uint32_t unused;
    int64_t powerOn;  // Ticks()
    ChamberState chamber;
    LooseCableState cable;

    bool IsPowered() const { return powered == kPowered; }
};

static_assert(std::is_trivially_copyable_v<BoardState> && std::is_standard_layout_v<BoardState>,
              "the state is shared as bytes");

}  // namespace UsbSim
