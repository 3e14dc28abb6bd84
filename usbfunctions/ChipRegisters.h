#pragma once
// The simulated chip's register file, as the chip's description gives it: addresses by their
// short names, the power-on contents and where each write lands.
#include "chip/RegisterDescriptions.h"

#include <array>
#include <cstdint>

namespace UsbSim {

namespace Reg {
constexpr uint8_t LocalTemp = Chip::Reg::LocalTemp.read;
constexpr uint8_t RemoteTempHigh = Chip::Reg::RemoteTempHigh.read;
constexpr uint8_t Status = Chip::Reg::Status.read;
constexpr uint8_t Configuration = Chip::Reg::Configuration.read;
constexpr uint8_t ConversionRate = Chip::Reg::ConversionRate.read;
constexpr uint8_t LocalHigh = Chip::Reg::LocalHigh.read;
constexpr uint8_t LocalLow = Chip::Reg::LocalLow.read;
constexpr uint8_t RemoteHighHigh = Chip::Reg::RemoteHighHigh.read;
constexpr uint8_t RemoteLowHigh = Chip::Reg::RemoteLowHigh.read;
constexpr uint8_t OneShot = Chip::Reg::OneShotWrite;
constexpr uint8_t RemoteTempLow = Chip::Reg::RemoteTempLow.read;
constexpr uint8_t RemoteOffsetHigh = Chip::Reg::RemoteOffsetHigh.read;
constexpr uint8_t RemoteOffsetLow = Chip::Reg::RemoteOffsetLow.read;
constexpr uint8_t RemoteHighLow = Chip::Reg::RemoteHighLow.read;
constexpr uint8_t RemoteLowLow = Chip::Reg::RemoteLowLow.read;
constexpr uint8_t RemoteTherm = Chip::Reg::RemoteTherm.read;
constexpr uint8_t LocalTherm = Chip::Reg::LocalTherm.read;
constexpr uint8_t ThermHysteresis = Chip::Reg::ThermHysteresis.read;
constexpr uint8_t ConsecutiveAlert = Chip::Reg::ConsecutiveAlert.read;
constexpr uint8_t ManufacturerId = Chip::Reg::ManufacturerId.read;
constexpr uint8_t Revision = Chip::Reg::Revision.read;
}  // namespace Reg

namespace ConfigBit {
constexpr uint8_t Standby = Chip::ConfigBit::Standby;
constexpr uint8_t ExtendedRange = Chip::ConfigBit::ExtendedRange;
}  // namespace ConfigBit

namespace StatusBit {
constexpr uint8_t Busy = Chip::StatusBit::Busy;
constexpr uint8_t LocalHigh = Chip::StatusBit::LocalHigh;
constexpr uint8_t LocalLow = Chip::StatusBit::LocalLow;
constexpr uint8_t RemoteHigh = Chip::StatusBit::RemoteHigh;
constexpr uint8_t RemoteLow = Chip::StatusBit::RemoteLow;
constexpr uint8_t DiodeOpen = Chip::StatusBit::DiodeOpen;
constexpr uint8_t RemoteTherm = Chip::StatusBit::RemoteTherm;
constexpr uint8_t LocalTherm = Chip::StatusBit::LocalTherm;
}  // namespace StatusBit

// The register file as read, by read address, at power-on; unknown addresses read 0.
inline std::array<uint8_t, 256> PowerOnRegisters() {
    std::array<uint8_t, 256> r{};
    for (const Chip::RegisterDescription& reg : Chip::Registers) r[reg.address.read] = static_cast<uint8_t>(reg.powerOn);
    return r;
}

// The read address of the register written at a write address, or -1 where a write
// changes nothing (read-only and unknown addresses, and the one-shot register).
constexpr int RegisterWrittenAt(uint8_t writeAddress) {
    const Chip::RegisterDescription* reg = Chip::FindRegisterByWriteAddress(writeAddress);
    return reg ? reg->address.read : -1;
}

}  // namespace UsbSim
