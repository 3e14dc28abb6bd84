#include "SimulatedChip.h"

#include "ChipRegisters.h"
#include "TemperatureCoding.h"

#include <algorithm>

namespace UsbSim {

namespace {

constexpr auto kConversionTime = std::chrono::milliseconds(4);
constexpr auto kSlowestPeriod = std::chrono::seconds(16);
constexpr int kFastestRateCode = 10;    // 64 per second; higher codes run at the same rate
// After a long pause only the last few conversions are run; the rest would read alike.
constexpr long kMostConversionsPerAccess = 16;

constexpr uint8_t kLimitAlarms =
    StatusBit::LocalHigh | StatusBit::LocalLow | StatusBit::RemoteHigh | StatusBit::RemoteLow;

// Sets or clears a THERM bit: set at or above the limit, cleared below limit - hysteresis.
uint8_t ThermState(uint8_t bits, uint8_t bit, int code, int limit, int hysteresis) {
    if (code >= limit) return bits | bit;
    if (code < limit - hysteresis) return bits & ~bit;
    return bits;
}

}  // namespace

SimulatedChip::SimulatedChip(TemperatureSource temperatures, bool diodeOpen, SimClock::time_point powerOn)
    : temperatures_(temperatures), diodeOpen_(diodeOpen), powerOn_(powerOn),
      registers_(PowerOnRegisters()), lastStart_(powerOn) {
    // The registers hold a first reading from the start; the schedule runs on from there.
    Convert(powerOn);
    nextStart_ = powerOn + Period();
}

bool SimulatedChip::InStandby() const { return registers_[Reg::Configuration] & ConfigBit::Standby; }
bool SimulatedChip::ExtendedRange() const { return registers_[Reg::Configuration] & ConfigBit::ExtendedRange; }

SimClock::duration SimulatedChip::Period() const {
    const int code = std::min(registers_[Reg::ConversionRate] & Chip::ConversionRateCodeMask, kFastestRateCode);
    return std::chrono::duration_cast<SimClock::duration>(kSlowestPeriod) / (1 << code);
}

bool SimulatedChip::Busy(SimClock::time_point now) const { return nextStart_ && *nextStart_ <= now; }

uint8_t SimulatedChip::Read(uint8_t address, SimClock::time_point now) {
    CatchUp(now);
    if (address == Reg::Status) return ReadStatus(now);
    return registers_[address];
}

void SimulatedChip::Write(uint8_t address, uint8_t data, SimClock::time_point now) {
    CatchUp(now);
    if (address == Reg::OneShot) {
        StartOneShot(now);
        return;
    }
    const int target = RegisterWrittenAt(address);
    if (target < 0) return;
    registers_[target] = data;
    if (target == Reg::Configuration || target == Reg::ConversionRate) Reschedule(now);
}

void SimulatedChip::CatchUp(SimClock::time_point now) {
    if (!nextStart_) return;
    const auto period = Period();
    if (!InStandby() && now - *nextStart_ > period * kMostConversionsPerAccess) {
        *nextStart_ += period * ((now - *nextStart_) / period - kMostConversionsPerAccess);
    }
    while (nextStart_ && *nextStart_ + kConversionTime <= now) {
        Convert(*nextStart_ + kConversionTime);
        lastStart_ = *nextStart_;
        if (InStandby()) nextStart_.reset();
        else *nextStart_ += period;
    }
}

void SimulatedChip::Convert(SimClock::time_point at) {
    const double seconds = std::chrono::duration<double>(at - powerOn_).count();
    const bool extended = ExtendedRange();
    registers_[Reg::LocalTemp] = LocalCode(temperatures_.Local(seconds), extended);
    const int offset = OffsetQuarters(registers_[Reg::RemoteOffsetHigh], registers_[Reg::RemoteOffsetLow]);
    const int remote = diodeOpen_ ? OpenDiodeCode(extended)
                                  : RemoteCode(temperatures_.Remote(seconds), offset, extended);
    registers_[Reg::RemoteTempHigh] = HighByte(remote);
    registers_[Reg::RemoteTempLow] = LowByte(remote);
    latchedAlarms_ |= LimitAlarms();
    FollowThermLimits();
}

void SimulatedChip::StartOneShot(SimClock::time_point now) {
    if (Busy(now)) return;
    // In standby this is the one conversion; running, the schedule restarts from it.
    nextStart_ = now;
}

void SimulatedChip::Reschedule(SimClock::time_point now) {
    if (Busy(now)) return;  // the running conversion finishes and the schedule follows the new setting
    if (InStandby()) {
        nextStart_.reset();
        return;
    }
    nextStart_ = std::max(now, lastStart_ + Period());
}

uint8_t SimulatedChip::LimitAlarms() const {
    const auto& r = registers_;
    const int local = r[Reg::LocalTemp];
    const int remote = TenBitCode(r[Reg::RemoteTempHigh], r[Reg::RemoteTempLow]);
    uint8_t bits = 0;
    if (local > r[Reg::LocalHigh]) bits |= StatusBit::LocalHigh;
    if (local < r[Reg::LocalLow]) bits |= StatusBit::LocalLow;
    if (remote > TenBitCode(r[Reg::RemoteHighHigh], r[Reg::RemoteHighLow])) bits |= StatusBit::RemoteHigh;
    if (remote < TenBitCode(r[Reg::RemoteLowHigh], r[Reg::RemoteLowLow])) bits |= StatusBit::RemoteLow;
    return bits;
}

void SimulatedChip::FollowThermLimits() {
    const auto& r = registers_;
    const int hysteresis = r[Reg::ThermHysteresis];
    thermBits_ = ThermState(thermBits_, StatusBit::LocalTherm, r[Reg::LocalTemp], r[Reg::LocalTherm], hysteresis);
    thermBits_ = ThermState(thermBits_, StatusBit::RemoteTherm, r[Reg::RemoteTempHigh], r[Reg::RemoteTherm],
                            hysteresis);
}

uint8_t SimulatedChip::ReadStatus(SimClock::time_point now) {
    FollowThermLimits();
    uint8_t status = (latchedAlarms_ | LimitAlarms()) & kLimitAlarms;
    status |= thermBits_;
    if (diodeOpen_) status |= StatusBit::DiodeOpen;
    if (Busy(now)) status |= StatusBit::Busy;
    latchedAlarms_ = 0;  // the read clears the latch; conditions that still hold are seen again
    return status;
}

}  // namespace UsbSim
