#pragma once
// The metrics serve exposes, as prometheus-cpp families in one registry: each chip's
// temperatures, limits, THERM hysteresis, alarm flags and Status byte while its last reading
// succeeded; its health and failed readings always; the reconnects and the build. Before the
// chip has been found (serve given no address), one health series without an address, 0, and
// the failed attempts by the step they failed at.
#include "cli/serve/ChipSnapshot.h"

#include <prometheus/counter.h>
#include <prometheus/family.h>
#include <prometheus/gauge.h>
#include <prometheus/registry.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct ExporterBuild {
    std::string version;
    std::string driver;  // "sim", "i2c-dev" or the library's file name
    std::string bus;     // the adapter asked for; empty for the library's own choice
};

class ExporterMetrics {
public:
    // With no addresses, the chip is being searched for.
    ExporterMetrics(const ExporterBuild& build, const std::vector<int32_t>& addresses);

    const std::shared_ptr<prometheus::Registry>& Registry() const { return registry_; }

    // A reading that succeeded: up is 1 and every value is the chip's.
    void Record(int32_t address, const ChipSnapshot& snapshot);
    // A reading that failed: up is 0, one more error, and the chip's values are withdrawn so
    // that no alert fires on a stale one.
    void RecordFailure(int32_t address);
    // The chip still lost, with no reading tried (its reconnect is not due yet).
    void RecordDown(int32_t address);
    void CountReconnect();
    // An attempt to find the chip failed at a step ("firmware", "connect", ...).
    void CountSearchFailure(const std::string& step);
    // The chip the search found: its series take the place of the searching one.
    void AddChip(int32_t address);

    // "0x4c"
    static std::string AddressLabel(int32_t address);

private:
    struct ChipSeries {
        prometheus::Gauge* up = nullptr;
        prometheus::Counter* errors = nullptr;
        // The value series of the last successful reading, to withdraw after a failure.
        std::vector<std::pair<prometheus::Family<prometheus::Gauge>*, prometheus::Gauge*>> values;
    };
    void Set(ChipSeries& chip, prometheus::Family<prometheus::Gauge>& family, const prometheus::Labels& labels,
             double value);
    void Withdraw(ChipSeries& chip);

    std::shared_ptr<prometheus::Registry> registry_ = std::make_shared<prometheus::Registry>();
    prometheus::Family<prometheus::Gauge>& temperature_;
    prometheus::Family<prometheus::Gauge>& limit_;
    prometheus::Family<prometheus::Gauge>& hysteresis_;
    prometheus::Family<prometheus::Gauge>& alarm_;
    prometheus::Family<prometheus::Gauge>& status_;
    prometheus::Family<prometheus::Gauge>& up_;
    prometheus::Family<prometheus::Counter>& errors_;
    prometheus::Family<prometheus::Counter>& searchFailures_;
    prometheus::Gauge* searching_ = nullptr;
    prometheus::Counter& reconnects_;
    std::map<int32_t, ChipSeries> chips_;
};
