#pragma once
// What a powered chip keeps: its register array, its alarm latches and its conversion
// schedule. Plain bytes with times as numbers, so that every process driving the board can
// share one copy (ChipStateStore); the chip's behaviour lives in SimulatedChip.
#include "SimClock.h"

#include <array>
#include <cstdint>
#include <type_traits>

namespace UsbSim {

struct ChipState {
    static constexpr uint32_t kPowered = 0x4B505752;  // any other value: the chip is off

    uint32_t powered;
    uint8_t latchedAlarms;  // limit alarms seen by conversions since the last status read
    uint8_t thermBits;      // THERM states, which follow the limits with hysteresis
    uint8_t scheduled;      // 1 while a conversion is due at nextStart; 0 while idle in standby
    uint8_t unused;
    int64_t powerOn;        // Ticks() of the power-on, the last conversion start, the next one
    int64_t lastStart;
    int64_t nextStart;
    std::array<uint8_t, 256> registers;  // by read address
    // The channels' true temperatures when the chamber's setpoint last changed, at Ticks()
    // chamberChange; a chip that missed that change starts from the chamber's air.
    int64_t chamberChange;
    double chamberLocal;
    double chamberRemote;

    bool IsPowered() const { return powered == kPowered; }
};

static_assert(std::is_trivially_copyable_v<ChipState> && std::is_standard_layout_v<ChipState>,
              "the state is shared as bytes");

}  // namespace UsbSim
