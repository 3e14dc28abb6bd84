#include "cli/ScrapedChips.h"

#include "board/USBStuff.h"
#include "chip/ChipRegisters.h"

namespace {

// The board brought back after a failure: firmware, connect, the chip's id at its address.
bool ReconnectBoard(int32_t address) {
    if (USBStuff::DownloadFirmware() < 0 || USBStuff::ConnectRequest() != 0) return false;
    const USBStuff::ChipTransfer id = USBStuff::ChipOnBoard(USBStuff::Driver(), address).Read(Chip::Reg::ManufacturerId.read);
    return id && id.value == Chip::ManufacturerId;
}

}  // namespace

ScrapedChips::ScrapedChips(ExporterMetrics& metrics, const std::vector<int32_t>& addresses,
                           Clock::duration minInterval)
    : metrics_(metrics), minInterval_(minInterval) {
    for (const int32_t address : addresses) chips_.push_back({address, false});
}

void ScrapedChips::Start() {
    const std::lock_guard<std::mutex> lock(mutex_);
    for (Served& chip : chips_) chip.connected = ReconnectBoard(chip.address);
}

void ScrapedChips::ReadOne(Served& chip) const {
    if (!chip.connected) {
        chip.connected = ReconnectBoard(chip.address);
        if (!chip.connected) {
            metrics_.RecordFailure(chip.address);
            return;
        }
        metrics_.CountReconnect();
    }
    const auto snapshot = ReadChipSnapshot(USBStuff::ChipOnBoard(USBStuff::Driver(), chip.address));
    if (const auto* s = std::get_if<ChipSnapshot>(&snapshot)) {
        metrics_.Record(chip.address, *s);
    } else {
        chip.connected = false;
        metrics_.RecordFailure(chip.address);
    }
}

void ScrapedChips::ReadAll(Clock::time_point now) const {
    if (lastReading_ && now - *lastReading_ < minInterval_) return;
    for (Served& chip : chips_) ReadOne(chip);
    lastReading_ = now;
}

std::vector<prometheus::MetricFamily> ScrapedChips::Collect() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    // A scrape is the one moment the chips are read; the registry is what it reports.
    ReadAll(Clock::now());
    return metrics_.Registry()->Collect();
}
