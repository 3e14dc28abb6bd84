#include "cli/serve/ChipSnapshot.h"

#include "chip/ChipRegisters.h"
#include "board/ChipReading.h"

std::variant<ChipSnapshot, USBStuff::ChipTransfer> ReadChipSnapshot(const USBStuff::ChipOnBoard& chip) {
    USBStuff::ChipTransfer failed;
    ChipSnapshot snapshot;
    if (!USBStuff::TryShadow(chip, failed)) return failed;
    const auto limits = USBStuff::TryLimits(chip, failed);
    if (!limits) return failed;
    snapshot.limits = *limits;
    const USBStuff::ChipTransfer hysteresis = chip.Read(Chip::Reg::ThermHysteresis.read);
    if (!hysteresis) return hysteresis;
    snapshot.thermHysteresis = static_cast<float>(hysteresis.value);
    const auto reading = USBStuff::TryReading(chip, USBStuff::RemoteBytes::Settled, failed);
    if (!reading) return failed;
    snapshot.reading = *reading;
    return snapshot;
}
