#include "cli/serve/ScrapedChips.h"

#include "board/USBStuff.h"
#include "board/ChipIdentity.h"
#include "cli/CliRequest.h"
#include "cli/CliStart.h"
#include "cli/serve/ServeLog.h"

using USBStuff::ChipSession;
using USBStuff::ChipTransfer;

ScrapedChips::ScrapedChips(ExporterMetrics& metrics, const std::vector<int32_t>& addresses,
                           Clock::duration minInterval)
    : metrics_(metrics), minInterval_(minInterval) {
    for (const int32_t address : addresses) chips_.emplace_back(address);
    if (addresses.empty()) search_.emplace();
}

double ScrapedChips::Seconds(Clock::time_point t) const { return std::chrono::duration<double>(t - epoch_).count(); }

void ScrapedChips::Lose(ChipSession& chip, const ChipTransfer& failed, double now) const {
    if (chip.Failed(failed, now) == ChipSession::Change::Lost)
        ServeLogLine(ExporterMetrics::AddressLabel(chip.Address()) + " lost: " + chip.Reason());
}

void ScrapedChips::Search(double now) const {
    if (!search_->Due(now)) return;
    if (const auto found = search_->Attempt(now)) {
        search_.reset();
        chips_.emplace_back(*found);
        metrics_.AddChip(*found);
        ServeLogLine(ExporterMetrics::AddressLabel(*found) + " found");
        return;
    }
    metrics_.CountSearchFailure(search_->Step());
    if (search_->Reason() != searchReason_) {
        searchReason_ = search_->Reason();
        ServeLogLine("no chip yet: " + searchReason_);
    }
}

void ScrapedChips::Start() {
    const std::lock_guard<std::mutex> lock(mutex_);
    const double now = Seconds(Clock::now());
    if (search_) {
        Search(now);
        return;
    }
    const bool started = USBStuff::DownloadFirmware() >= 0 && PatientConnect();
    for (ChipSession& chip : chips_) {
        ChipTransfer id;
        const USBStuff::Identity identity = USBStuff::CheckIdentity(chip.Chip(), id);
        if (started && identity == USBStuff::Identity::Ours) continue;
        if (id) {
            id.ok = false;
            id.reason = started ? USBStuff::OtherChipReason : "the board did not start";
        }
        Lose(chip, id, now);
    }
}

void ScrapedChips::ReadOne(ChipSession& chip, double now) const {
    if (!chip.Connected()) {
        if (now < chip.NextAttempt()) {
            metrics_.RecordDown(chip.Address());
            return;
        }
        if (chip.Reconnect(now) != ChipSession::Change::Back) {
            metrics_.RecordFailure(chip.Address());
            return;
        }
        metrics_.CountReconnect();
        ServeLogLine(ExporterMetrics::AddressLabel(chip.Address()) + " back");
    }
    const auto snapshot = ReadChipSnapshot(chip.Chip());
    if (const auto* s = std::get_if<ChipSnapshot>(&snapshot)) {
        metrics_.Record(chip.Address(), *s);
    } else {
        Lose(chip, std::get<ChipTransfer>(snapshot), now);
        metrics_.RecordFailure(chip.Address());
    }
}

void ScrapedChips::ReadAll(Clock::time_point now) const {
    if (lastReading_ && now - *lastReading_ < minInterval_) return;
    if (search_) Search(Seconds(now));
    for (ChipSession& chip : chips_) ReadOne(chip, Seconds(now));
    lastReading_ = now;
}

std::vector<prometheus::MetricFamily> ScrapedChips::Collect() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    ReadAll(Clock::now());
    return metrics_.Registry()->Collect();
}
