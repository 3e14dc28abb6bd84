#pragma once
// The chips as a scrape finds them. Each scrape reads every chip, unless the last reading is
// younger than the minimum interval: scrapes that come together share one reading, so many
// Prometheus servers cannot flood the bus. A chip whose reading failed is lost until a scrape
// reconnects it, as monitor --keep-going does (pauses that double up to 5 s); nothing here ever
// ends the process or writes the chip. Each loss and each return is one line on standard error.
// Given no address, the scrapes search for the chip (ChipSearch) until it is found.
#include "board/ChipSession.h"
#include "cli/serve/ChipSearch.h"
#include "cli/serve/ExporterMetrics.h"

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

    // The board's start (firmware, connect) and each chip's id, or the first search, without
    // ending the process: a chip that does not answer is lost, and a scrape reconnects it.
    void Start();
    // The metrics as they are after this scrape's reading (or the shared one).
    std::vector<prometheus::MetricFamily> Collect() const override;

private:
    void ReadAll(Clock::time_point now) const;
    void Search(double now) const;
    void ReadOne(USBStuff::ChipSession& chip, double now) const;
    void Lose(USBStuff::ChipSession& chip, const USBStuff::ChipTransfer& failed, double now) const;
    double Seconds(Clock::time_point t) const;

    ExporterMetrics& metrics_;
    Clock::duration minInterval_;
    Clock::time_point epoch_ = Clock::now();
    mutable std::mutex mutex_;  // one reading at a time; scrapes wait for it and share it
    mutable std::vector<USBStuff::ChipSession> chips_;
    mutable std::optional<ChipSearch> search_;  // while the chip given no address is not found
    mutable std::string searchReason_;          // the last one told
    mutable std::optional<Clock::time_point> lastReading_;
};
