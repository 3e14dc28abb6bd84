#include "cli/serve/ExporterMetrics.h"

#include "cli/text/RegisterMeaning.h"
#include "registers/NumberText.h"

#include <utility>

namespace {

using prometheus::BuildCounter;
using prometheus::BuildGauge;

// Every alarm flag of the Status register by name, with its bit, bit 7 first; AlarmNames
// leaves out what is no alarm (the busy bit).
std::vector<std::pair<std::string, int>> StatusAlarms() {
    std::vector<std::pair<std::string, int>> flags;
    for (int bit = 0x80; bit != 0; bit >>= 1)
        for (const std::string& name : AlarmNames(bit)) flags.emplace_back(name, bit);
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
              .Help("1 when the chip's last reading succeeded, 0 when it failed; without an address, 0 "
                    "while the chip is searched for.")
              .Register(*registry_)),
      errors_(BuildCounter()
                  .Name("kts9320b_read_errors_total")
                  .Help("Readings of the chip that failed.")
                  .Register(*registry_)),
      searchFailures_(BuildCounter()
                          .Name("kts9320b_search_failures_total")
                          .Help("Attempts to find the chip that failed, by the step that failed "
                                "(firmware, connect, transfer, no chip).")
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
    if (addresses.empty()) searching_ = &up_.Add({});  // 0 until the chip is found
    for (const int32_t address : addresses) AddChip(address);
}

void ExporterMetrics::AddChip(int32_t address) {
    if (searching_) up_.Remove(std::exchange(searching_, nullptr));
    ChipSeries& chip = chips_[address];
    chip.up = &up_.Add({{"address", AddressLabel(address)}});
    chip.errors = &errors_.Add({{"address", AddressLabel(address)}});
}

void ExporterMetrics::CountSearchFailure(const std::string& step) { searchFailures_.Add({{"reason", step}}).Increment(); }

std::string ExporterMetrics::AddressLabel(int32_t address) {
    return "0x" + GeneralStuff::HexByteText(address, GeneralStuff::HexCase::Lower);
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
    Set(chip, temperature_, {{"address", a}, {"channel", "local"}}, s.reading.local);
    Set(chip, temperature_, {{"address", a}, {"channel", "remote"}}, s.reading.remote);
    // A limit's field is named channel-limit ("remote-therm").
    for (size_t i = 0; i < s.limits.size(); ++i) {
        const std::string field = USBStuff::LimitFieldNames[i];
        const auto dash = field.find('-');
        Set(chip, limit_, {{"address", a}, {"channel", field.substr(0, dash)}, {"limit", field.substr(dash + 1)}},
            s.limits[i]);
    }
    Set(chip, hysteresis_, {{"address", a}}, s.thermHysteresis);
    static const auto flags = StatusAlarms();
    for (const auto& [flag, bit] : flags) Set(chip, alarm_, {{"address", a}, {"flag", flag}}, (s.reading.status & bit) ? 1 : 0);
    Set(chip, status_, {{"address", a}}, s.reading.status);
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
