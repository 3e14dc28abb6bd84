#include "cli/commands/FieldTransfers.h"

#include "board/USBStuff.h"
#include "registers/FieldCodes.h"
#include "registers/FieldValueText.h"
#include "registers/RegMapStuff.h"

namespace {

// Where a setting's writes stopped: before its first byte, between its two, or after both.
enum class Landed { None, FirstByte, Whole };

Landed WriteField(const Chip::Field& field, double value, bool extendedRange, USBStuff::ChipTransfer& failed) {
    const USBStuff::ChipOnBoard chip = USBStuff::OpenedChip();
    int32_t current = 0;
    if (field.SharesRegister()) {
        failed = chip.Read(field.high.read);
        if (!failed) return Landed::None;
        current = failed.value;
    }
    const GeneralStuff::FieldBytes bytes = GeneralStuff::FieldBytesFor(field, value, extendedRange, current);
    failed = chip.Write(field.high.write, bytes.high);
    if (!failed) return Landed::None;
    if (field.TenBit()) {
        failed = chip.Write(field.low.write, bytes.low);
        if (!failed) return Landed::FirstByte;
    }
    if (field.high.write == Chip::Reg::Configuration.write) {
        failed = chip.Read(Chip::Reg::Configuration.read);
        if (failed) RegMapStuff::SetShadowFromConfiguration(failed.value);
    }
    return Landed::Whole;
}

std::string SettingText(const FieldSetting& s) {
    return std::string(s.field->name) + "=" + GeneralStuff::FieldValueText(*s.field, s.value);
}

std::string SettingsLine(const char* what, const std::vector<FieldSetting>& order, size_t from, size_t to) {
    if (from >= to) return {};
    std::string line = std::string(CliName) + ": " + what + ": ";
    for (size_t i = from; i < to; ++i) line += (i == from ? "" : ", ") + SettingText(order[i]);
    return line + "\n";
}

}  // namespace

std::optional<double> TryReadField(const Chip::Field& field, USBStuff::ChipTransfer& failed) {
    const USBStuff::ChipOnBoard chip = USBStuff::OpenedChip();
    const USBStuff::ChipTransfer high = chip.Read(field.high.read);
    const USBStuff::ChipTransfer low = high && field.TenBit() ? chip.Read(field.low.read) : high;
    if (!high || !low) {
        failed = high ? low : high;
        return std::nullopt;
    }
    const GeneralStuff::FieldBytes bytes{high.value, field.TenBit() ? low.value : 0};
    return GeneralStuff::FieldValue(field, bytes, RegMapStuff::ExtendedRange);
}

FieldWrites WriteFields(const std::vector<FieldSetting>& order, bool extendedRange) {
    FieldWrites writes;
    for (const FieldSetting& s : order) {
        const Landed landed = WriteField(*s.field, s.value, extendedRange, writes.failed);
        if (landed == Landed::Whole) {
            ++writes.written;
            if (writes.failed) continue;
        }
        writes.halfWritten = landed == Landed::FirstByte;
        return writes;
    }
    return writes;
}

std::string UnfinishedWritesText(const std::vector<FieldSetting>& order, const FieldWrites& writes) {
    std::string text = SettingsLine("written", order, 0, writes.written);
    size_t notWritten = writes.written;
    if (writes.halfWritten) {
        const FieldSetting& half = order[notWritten++];
        USBStuff::ChipTransfer failed;
        const std::optional<double> holds = TryReadField(*half.field, failed);
        text += std::string(CliName) + ": half written: " + SettingText(half) + ": its first byte landed, its second did not; " +
                (holds ? "the chip now holds " + GeneralStuff::FieldValueText(*half.field, *holds)
                       : std::string("the chip cannot be read to tell what it now holds")) + "\n";
    }
    return text + SettingsLine("not written", order, notWritten, order.size());
}
