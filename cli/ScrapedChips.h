#pragma once
// The chips as a scrape finds them. Each scrape reads every chip, unless the last reading is
// younger than the minimum interval: scrapes that come together share one reading, so many
// Prometheus servers cannot flood the bus. A chip whose reading failed is tried again at the
// next scrape, reconnecting the board first; nothing here ever ends the process or writes the chip.
#include "cli/ExporterMetrics.h"

#include <prometheus/collectable.h>

#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

class ScrapedChips : public prometheus::Collectable {
public:
    using Clock = std::chrono::steady_clock;

    ScrapedChips(ExporterMetrics& metrics, const std::vector<int32_t>& addresses, Clock::duration minInterval);

    // Connects each chip that has not answered yet, once; a chip that does not answer is down
    // until a scrape finds it back.
    void Start();
    // The metrics as they are after this scrape's reading (or the shared one).
    std::vector<prometheus::MetricFamily> Collect() const override;

private:
    struct Served {
        int32_t address;
        bool connected;
    };
    void ReadAll(Clock::time_point now) const;
    void ReadOne(Served& chip) const;

    ExporterMetrics& metrics_;
    Clock::duration minInterval_;
    mutable std::mutex mutex_;  // one reading at a time; scrapes wait for it and share it
    mutable std::vector<Served> chips_;
    mutable std::optional<Clock::time_point> lastReading_;
};
