#include "cli/monitor/RangeSettling.h"

#include "chip/ChipFields.h"
#include "registers/FieldCodes.h"

void RangeSettling::Changed(bool extendedRange, double now, double conversionPeriod) {
    extendedRange_ = extendedRange;
    settledAt_ = now + 2 * conversionPeriod;
}

std::optional<double> TryConversionPeriod(const USBStuff::ChipOnBoard& chip, USBStuff::ChipTransfer& failed) {
    static const Chip::Field& rate = *Chip::FindField("conversion-rate");
    const USBStuff::ChipTransfer read = chip.Read(rate.high.read);
    if (!read) {
        failed = read;
        return std::nullopt;
    }
    return 1.0 / GeneralStuff::FieldValue(rate, {read.value, 0}, false);
}
