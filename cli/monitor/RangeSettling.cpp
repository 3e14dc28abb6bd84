#include "cli/monitor/RangeSettling.h"

#include "chip/ChipFields.h"
#include "registers/FieldCodes.h"

namespace {
constexpr double Never = std::numeric_limits<double>::infinity();
}  // namespace

void RangeSettling::Changed(bool extendedRange, double now, double conversionPeriod) {
    extendedRange_ = extendedRange;
    conversionPeriod_ = conversionPeriod;
    settledAt_ = now + 2 * conversionPeriod;
}

void RangeSettling::Standby(bool standby, double now) {
    if (standby && Settling(now)) settledAt_ = Never;
    else if (!standby && settledAt_ == Never) settledAt_ = now + 2 * conversionPeriod_;
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
