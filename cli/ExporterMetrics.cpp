#include "cli/ExporterMetrics.h"

#include "chip/RegisterDescriptions.h"
#include "registers/RegMapStuff.h"

#include <cstdio>

namespace {

using prometheus::BuildCounter;
using prometheus::BuildGauge;

// The Status register's flags by name with their bits, bit 6 down to bit 0: the busy bit is no alarm.
std::vector<std::pair<std::string, int>> AlarmFlags() {
    const auto names = RegMapStuff::SplitBitNames(Chip::BitLabels::Status);
    std::vector<std::pair<std::string, int>> flags;
    for (int bit = 6; bit >= 0; --bit) flags.emplace_back(names[static_cast<size_t>(7 - bit)], 1 << bit);
    return flags;
}

}  // namespace

ExporterMetrics::ExporterMetrics(const ExporterBuild& build, const std::vector<int32_t>& addresses)
    : temperature_(BuildGauge()
                       .Name("kts9320b_temperature_celsius")
                       .Help("Temperature the chip measures, by channel (local: the chip itself; remote: its diode).")
                       .Register(*registry_)),
      limit_(BuildGauge()
                 .Name("kts9320b_limit_celsius")
                 .Help("Temperature limit set in the chip, by channel and limit (high, low, therm).")
                 .Register(*registry_)),
      hysteresis_(BuildGauge()
                      .Name("kts9320b_therm_hysteresis_celsius")
                      .Help("THERM hysteresis: a THERM flag clears this far below its limit.")
                      .Register(*registry_)),
      alarm_(BuildGauge()
                 .Name("kts9320b_alarm")
                 .Help("1 while the chip's Status register shows the alarm flag set, else 0.")
                 .Register(*registry_)),
      status_(BuildGauge().Name("kts9320b_status").Help("The chip's Status register as a byte.").Register(*registry_)),
      up_(BuildGauge()
              .Name("kts9320b_up")
              .Help("1 when the chip's last reading succeeded, 0 when it failed.")
              .Register(*registry_)),
      errors_(BuildCounter()
                  .Name("kts9320b_read_errors_total")
                  .Help("Readings of the chip that failed.")
                  .Register(*registry_)),
      reconnects_(BuildCounter()
                      .Name("kts9320b_reconnects_total")
                      .Help("Times the board answered again after a failed reading.")
                      .Register(*registry_)
                      .Add({})) {
    BuildGauge()
        .Name("kts9320b_build_info")
        .Help("Always 1: the program's version, the driver library and the bus it serves.")
        .Register(*registry_)
        .Add({{"version", build.version}, {"driver", build.driver}, {"bus", build.bus}})
        .Set(1);
    for (const int32_t address : addresses) {
        ChipSeries& chip = chips_[address];
        chip.up = &up_.Add({{"address", AddressLabel(address)}});
        chip.errors = &errors_.Add({{"address", AddressLabel(address)}});
    }
}

std::string ExporterMetrics::AddressLabel(int32_t address) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02x", static_cast<unsigned>(address) & 0xFFu);
    return text;
}

void ExporterMetrics::Set(ChipSeries& chip, prometheus::Family<prometheus::Gauge>& family,
                          const prometheus::Labels& labels, double value) {
    prometheus::Gauge& gauge = family.Add(labels);
    gauge.Set(value);
    for (const auto& [f, g] : chip.values)
        if (g == &gauge) return;
    chip.values.emplace_back(&family, &gauge);
}

void ExporterMetrics::Record(int32_t address, const ChipSnapshot& s) {
    ChipSeries& chip = chips_[address];
    const std::string a = AddressLabel(address);
    Set(chip, temperature_, {{"address", a}, {"channel", "local"}}, s.local);
    Set(chip, temperature_, {{"address", a}, {"channel", "remote"}}, s.remote);
    for (const auto& [channel, limits] : {std::pair{"local", s.localLimits}, std::pair{"remote", s.remoteLimits}}) {
        Set(chip, limit_, {{"address", a}, {"channel", channel}, {"limit", "high"}}, limits.high);
        Set(chip, limit_, {{"address", a}, {"channel", channel}, {"limit", "low"}}, limits.low);
        Set(chip, limit_, {{"address", a}, {"channel", channel}, {"limit", "therm"}}, limits.therm);
    }
    Set(chip, hysteresis_, {{"address", a}}, s.thermHysteresis);
    static const auto flags = AlarmFlags();
    for (const auto& [flag, bit] : flags) Set(chip, alarm_, {{"address", a}, {"flag", flag}}, (s.status & bit) ? 1 : 0);
    Set(chip, status_, {{"address", a}}, s.status);
    chip.up->Set(1);
}

void ExporterMetrics::Withdraw(ChipSeries& chip) {
    for (const auto& [family, gauge] : chip.values) family->Remove(gauge);
    chip.values.clear();
}

void ExporterMetrics::RecordFailure(int32_t address) {
    ChipSeries& chip = chips_[address];
    RecordDown(address);
    chip.errors->Increment();
}

void ExporterMetrics::RecordDown(int32_t address) {
    ChipSeries& chip = chips_[address];
    Withdraw(chip);
    chip.up->Set(0);
}

void ExporterMetrics::CountReconnect() { reconnects_.Increment(); }
