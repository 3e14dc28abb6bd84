#include "SimulatedChip.h"

#include "TemperatureCoding.h"

#include "chip/ChipFields.h"
#include "chip/TemperatureEncoding.h"

#include <algorithm>
#include <array>

namespace UsbSim {

namespace {

namespace Reg = Chip::Reg;
namespace ConfigBit = Chip::ConfigBit;
namespace StatusBit = Chip::StatusBit;

constexpr auto kConversionTime = std::chrono::milliseconds(4);
// The time between conversions at a rate code; codes past the table run at the last rate.
SimClock::duration PeriodAt(int rateCode) {
    const double perSecond = Chip::ConversionRates[std::min(rateCode, Chip::ConversionRateCodes - 1)];
    return std::chrono::duration_cast<SimClock::duration>(std::chrono::duration<double>(1.0 / perSecond));
}
const SimClock::duration kSlowestPeriod = PeriodAt(0);
// After a long pause only the last few conversions are run; the rest would read alike.
constexpr long kMostConversionsPerAccess = 16;
// Processes sharing the chip read the clock one after the other; a state this far ahead of
// the reader's clock is no chip's.
constexpr auto kClockTolerance = std::chrono::seconds(1);

// The register file as read, by read address, at power-on; unknown addresses read 0.
std::array<uint8_t, 256> PowerOnRegisters() {
    std::array<uint8_t, 256> r{};
    for (const Chip::RegisterDescription& reg : Chip::Registers) r[reg.address.read] = static_cast<uint8_t>(reg.powerOn);
    return r;
}

// The read address of the register written at a write address, or -1 where a write
// changes nothing (read-only and unknown addresses, and the one-shot register).
int RegisterWrittenAt(uint8_t writeAddress) {
    const Chip::RegisterDescription* reg = Chip::FindRegisterByWriteAddress(writeAddress);
    return reg ? reg->address.read : -1;
}

int TenBitCode(uint8_t high, uint8_t low) { return Chip::TenBitFromBytes(high, low); }

constexpr uint8_t kLimitAlarms =
    StatusBit::LocalHigh | StatusBit::LocalLow | StatusBit::RemoteHigh | StatusBit::RemoteLow;

// Sets or clears a THERM bit: set at or above the limit, cleared below limit - hysteresis.
uint8_t ThermState(uint8_t bits, uint8_t bit, int code, int limit, int hysteresis) {
    if (code >= limit) return bits | bit;
    if (code < limit - hysteresis) return bits & ~bit;
    return bits;
}

}  // namespace

SimulatedChip::SimulatedChip(ChipState& state, TemperatureSource temperatures, bool diodeOpen,
                             const ChamberState& chamber, ConverterErrors errors)
    : state_(state), temperatures_(std::move(temperatures)), diodeOpen_(diodeOpen), chamber_(chamber),
      errors_(errors) {}

void SimulatedChip::EnsurePowered(SimClock::time_point now) {
    if (!state_.IsPowered() || !Plausible(now)) PowerOn(now);
}

bool SimulatedChip::Plausible(SimClock::time_point now) const {
    const int64_t t = Ticks(now + kClockTolerance);
    const int64_t latest = Ticks(now + kClockTolerance + kSlowestPeriod);
    return state_.powerOn <= state_.lastStart && state_.lastStart <= t &&
           (!state_.scheduled || (state_.lastStart <= state_.nextStart && state_.nextStart <= latest));
}

void SimulatedChip::PowerOn(SimClock::time_point now) {
    state_ = ChipState{};
    state_.registers = PowerOnRegisters();
    state_.powerOn = state_.lastStart = Ticks(now);
    // The registers hold a first reading from the start; the schedule runs on from there.
    Convert(now);
    SetNextStart(now + Period());
    state_.powered = ChipState::kPowered;
}

bool SimulatedChip::InStandby() const { return state_.registers[Reg::Configuration.read] & ConfigBit::Standby; }
bool SimulatedChip::ExtendedRange() const { return state_.registers[Reg::Configuration.read] & ConfigBit::ExtendedRange; }

SimClock::duration SimulatedChip::Period() const {
    return PeriodAt(state_.registers[Reg::ConversionRate.read] & Chip::ConversionRateCodeMask);
}

std::optional<SimClock::time_point> SimulatedChip::NextStart() const {
    if (!state_.scheduled) return std::nullopt;
    return TimeAt(state_.nextStart);
}

void SimulatedChip::SetNextStart(std::optional<SimClock::time_point> start) {
    state_.scheduled = start.has_value();
    if (start) state_.nextStart = Ticks(*start);
}

bool SimulatedChip::Busy(SimClock::time_point now) const { return state_.scheduled && TimeAt(state_.nextStart) <= now; }

uint8_t SimulatedChip::Read(uint8_t address, SimClock::time_point now) {
    EnsurePowered(now);
    CatchUp(now);
    if (address == Reg::Status.read) return ReadStatus(now);
    return state_.registers[address];
}

void SimulatedChip::Write(uint8_t address, uint8_t data, SimClock::time_point now) {
    EnsurePowered(now);
    CatchUp(now);
    if (address == Reg::OneShotWrite) {
        StartOneShot(now);
        return;
    }
    const int target = RegisterWrittenAt(address);
    if (target < 0) return;
    state_.registers[target] = data;
    if (target == Reg::Configuration.read || target == Reg::ConversionRate.read) Reschedule(now);
}

ChannelTemperatures SimulatedChip::TrueAt(SimClock::time_point at) const {
    if (!chamber_.IsActive()) {
        const SimClock::time_point powerOn = TimeAt(state_.powerOn);
        return {temperatures_.Local(at, powerOn), temperatures_.Remote(at, powerOn)};
    }
    const bool followed = state_.chamberChange == chamber_.changedAt;
    const double local = followed ? state_.chamberLocal : chamber_.startAir;
    const double remote = followed ? state_.chamberRemote : chamber_.startAir;
    const double seconds = SecondsSinceChange(chamber_, at);
    return {LaggedAfter(chamber_, local, chamber_.localLag, seconds),
            LaggedAfter(chamber_, remote, chamber_.remoteLag, seconds)};
}

void SimulatedChip::HoldChannelsForChange(SimClock::time_point now) {
    EnsurePowered(now);
    CatchUp(now);
    const ChannelTemperatures standing = TrueAt(now);
    state_.chamberChange = Ticks(now);
    state_.chamberLocal = standing.local;
    state_.chamberRemote = standing.remote;
}

void SimulatedChip::CatchUp(SimClock::time_point now) {
    std::optional<SimClock::time_point> next = NextStart();
    if (!next) return;
    const auto period = Period();
    if (!InStandby() && now - *next > period * kMostConversionsPerAccess) {
        *next += period * ((now - *next) / period - kMostConversionsPerAccess);
    }
    while (next && *next + kConversionTime <= now) {
        Convert(*next + kConversionTime);
        state_.lastStart = Ticks(*next);
        if (InStandby()) next.reset();
        else *next += period;
    }
    SetNextStart(next);
}

void SimulatedChip::Convert(SimClock::time_point at) {
    const bool extended = ExtendedRange();
    auto& r = state_.registers;
    const ChannelTemperatures t = TrueAt(at);
    const double local = t.local + errors_.local.At(t.local) + NoiseAt(Ticks(at), 0, errors_.noise);
    const double measuredRemote = t.remote + errors_.remote.At(t.remote) + NoiseAt(Ticks(at), 1, errors_.noise);
    r[Reg::LocalTemp.read] = LocalCode(local, extended);
    const int offset = Chip::SignedTenBit(TenBitCode(r[Reg::RemoteOffsetHigh.read], r[Reg::RemoteOffsetLow.read]));
    const int remote = diodeOpen_ ? OpenDiodeCode(extended) : RemoteCode(measuredRemote, offset, extended);
    r[Reg::RemoteTempHigh.read] = static_cast<uint8_t>(Chip::HighByteOfTenBit(remote));
    r[Reg::RemoteTempLow.read] = static_cast<uint8_t>(Chip::LowByteOfTenBit(remote));
    state_.latchedAlarms |= LimitAlarms();
    FollowThermLimits();
}

void SimulatedChip::StartOneShot(SimClock::time_point now) {
    if (Busy(now)) return;
    // In standby this is the one conversion; running, the schedule restarts from it.
    SetNextStart(now);
}

void SimulatedChip::Reschedule(SimClock::time_point now) {
    if (Busy(now)) return;  // the running conversion finishes and the schedule follows the new setting
    if (InStandby()) {
        SetNextStart(std::nullopt);
        return;
    }
    SetNextStart(std::max(now, TimeAt(state_.lastStart) + Period()));
}

uint8_t SimulatedChip::LimitAlarms() const {
    const auto& r = state_.registers;
    const int local = r[Reg::LocalTemp.read];
    const int remote = TenBitCode(r[Reg::RemoteTempHigh.read], r[Reg::RemoteTempLow.read]);
    uint8_t bits = 0;
    if (local > r[Reg::LocalHigh.read]) bits |= StatusBit::LocalHigh;
    if (local < r[Reg::LocalLow.read]) bits |= StatusBit::LocalLow;
    if (remote > TenBitCode(r[Reg::RemoteHighHigh.read], r[Reg::RemoteHighLow.read])) bits |= StatusBit::RemoteHigh;
    if (remote < TenBitCode(r[Reg::RemoteLowHigh.read], r[Reg::RemoteLowLow.read])) bits |= StatusBit::RemoteLow;
    return bits;
}

void SimulatedChip::FollowThermLimits() {
    const auto& r = state_.registers;
    const int hysteresis = r[Reg::ThermHysteresis.read];
    uint8_t& bits = state_.thermBits;
    bits = ThermState(bits, StatusBit::LocalTherm, r[Reg::LocalTemp.read], r[Reg::LocalTherm.read], hysteresis);
    bits = ThermState(bits, StatusBit::RemoteTherm, r[Reg::RemoteTempHigh.read], r[Reg::RemoteTherm.read], hysteresis);
}

uint8_t SimulatedChip::ReadStatus(SimClock::time_point now) {
    FollowThermLimits();
    uint8_t status = (state_.latchedAlarms | LimitAlarms()) & kLimitAlarms;
    status |= state_.thermBits;
    if (diodeOpen_) status |= StatusBit::DiodeOpen;
    if (Busy(now)) status |= StatusBit::Busy;
    state_.latchedAlarms = 0;  // the read clears the latch; conditions that still hold are seen again
    return status;
}

}  // namespace UsbSim
