#pragma once
// The chip's register addresses, its power-on contents and where each register is written.
#include "protocol/BoardProtocol.h"

#include <array>
#include <cstdint>

namespace UsbSim {

namespace Reg {
constexpr uint8_t LocalTemp = 0x00;
constexpr uint8_t RemoteTempHigh = 0x01;
constexpr uint8_t Status = 0x02;
constexpr uint8_t Configuration = 0x03;
constexpr uint8_t ConversionRate = 0x04;
constexpr uint8_t LocalHigh = 0x05;
constexpr uint8_t LocalLow = 0x06;
constexpr uint8_t RemoteHighHigh = 0x07;
constexpr uint8_t RemoteLowHigh = 0x08;
constexpr uint8_t OneShot = 0x0F;      // write only: starts one conversion
constexpr uint8_t RemoteTempLow = 0x10;
constexpr uint8_t RemoteOffsetHigh = 0x11;
constexpr uint8_t RemoteOffsetLow = 0x12;
constexpr uint8_t RemoteHighLow = 0x13;
constexpr uint8_t RemoteLowLow = 0x14;
constexpr uint8_t RemoteTherm = 0x19;
constexpr uint8_t LocalTherm = 0x20;
constexpr uint8_t ThermHysteresis = 0x21;
constexpr uint8_t ConsecutiveAlert = 0x22;
constexpr uint8_t ManufacturerId = BoardProtocol::kManufacturerIdRegister;
constexpr uint8_t Revision = 0xFF;
}  // namespace Reg

namespace ConfigBit {
constexpr uint8_t Standby = 0x40;
constexpr uint8_t ExtendedRange = 0x04;
}  // namespace ConfigBit

namespace StatusBit {
constexpr uint8_t Busy = 0x80;
constexpr uint8_t LocalHigh = 0x40;
constexpr uint8_t LocalLow = 0x20;
constexpr uint8_t RemoteHigh = 0x10;
constexpr uint8_t RemoteLow = 0x08;
constexpr uint8_t DiodeOpen = 0x04;
constexpr uint8_t RemoteTherm = 0x02;
constexpr uint8_t LocalTherm = 0x01;
}  // namespace StatusBit

constexpr uint8_t kManufacturerId = BoardProtocol::kManufacturerId;
constexpr uint8_t kRevision = 0x00;

// The register file as read, by read address, at power-on; unknown addresses read 0.
inline std::array<uint8_t, 256> PowerOnRegisters() {
    std::array<uint8_t, 256> r{};
    r[Reg::ConversionRate] = 0x08;
    r[Reg::LocalHigh] = 85;
    r[Reg::RemoteHighHigh] = 85;
    r[Reg::RemoteTherm] = 85;
    r[Reg::LocalTherm] = 85;
    r[Reg::ThermHysteresis] = 10;
    r[Reg::ConsecutiveAlert] = 1;
    r[Reg::ManufacturerId] = kManufacturerId;
    r[Reg::Revision] = kRevision;
    return r;
}

// The read address of the register written at a write address, or -1 where a write
// changes nothing (read-only and unknown addresses, and the one-shot register).
constexpr int RegisterWrittenAt(uint8_t writeAddress) {
    if (writeAddress >= 0x09 && writeAddress <= 0x0E) return writeAddress - 6;
    switch (writeAddress) {
    case Reg::RemoteOffsetHigh: case Reg::RemoteOffsetLow: case Reg::RemoteHighLow: case Reg::RemoteLowLow:
    case Reg::RemoteTherm: case Reg::LocalTherm: case Reg::ThermHysteresis: case Reg::ConsecutiveAlert:
        return writeAddress;
    default:
        return -1;
    }
}

}  // namespace UsbSim
