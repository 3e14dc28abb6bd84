#include "cli/commands/FieldCommands.h"

#include "cli/commands/ChipTransfers.h"
#include "cli/CliStart.h"
#include "cli/commands/FieldSettings.h"
#include "cli/text/JsonText.h"
#include "cli/StopSignal.h"
#include "registers/FieldCodes.h"
#include "registers/FieldValueText.h"
#include "registers/RegMapStuff.h"

namespace {

struct FieldReading {
    const Chip::Field* field;
    double value;
};

CliAnswer Refusal(const std::string& message) { return {ExitUsage, {}, std::string(CliName) + ": " + message + "\n"}; }

// The range rule follows the chip: the shadow is read at the start and after every write of
// the Configuration register.
double ReadField(const Chip::Field& field) {
    const GeneralStuff::FieldBytes bytes{ReadChip(field.high.read), field.TenBit() ? ReadChip(field.low.read) : 0};
    return GeneralStuff::FieldValue(field, bytes, RegMapStuff::ExtendedRange);
}

void WriteField(const Chip::Field& field, double value, bool extendedRange) {
    const int32_t current = field.SharesRegister() ? ReadChip(field.high.read) : 0;
    const GeneralStuff::FieldBytes bytes = GeneralStuff::FieldBytesFor(field, value, extendedRange, current);
    WriteChip(field.high.write, bytes.high);
    if (field.TenBit()) WriteChip(field.low.write, bytes.low);
}

std::string ReadingsText(const std::vector<FieldReading>& readings, bool json) {
    if (json) {
        JsonObject object;
        for (const FieldReading& r : readings) {
            const bool flag = r.field->encoding == Chip::Encoding::Flag;
            object.Raw(r.field->name, flag ? (r.value != 0 ? "true" : "false") : GeneralStuff::FieldValueText(*r.field, r.value));
        }
        return object.Text() + "\n";
    }
    std::string text;
    for (const FieldReading& r : readings)
        text += std::string(r.field->name) + "=" + GeneralStuff::FieldValueText(*r.field, r.value) + "\n";
    return text;
}

CliAnswer SetFields(const CliRequest& request, const std::vector<FieldSetting>& settings) {
    StartBoard(request.board, true);
    const std::string refusal = SettingsRefusal(settings, RegMapStuff::ExtendedRange);
    if (!refusal.empty()) return Refusal(refusal);
    const bool extendedRange = *RangeModeAfter(settings, RegMapStuff::ExtendedRange);
    // A first Ctrl+C or SIGTERM waits for the writes and the read-back, a few milliseconds, so
    // that no remote limit is left with one of its two bytes written.
    InstallStopSignals();
    for (const FieldSetting& s : WriteOrder(settings)) WriteField(*s.field, s.value, extendedRange);

    CliAnswer answer;
    std::vector<FieldReading> readings;
    for (const FieldSetting& s : settings) {
        readings.push_back({s.field, ReadField(*s.field)});
        if (readings.back().value == s.value) continue;
        answer.status = ExitBoardFailure;
        answer.err += std::string(CliName) + ": " + s.field->name + " reads back " +
                      GeneralStuff::FieldValueText(*s.field, readings.back().value) + ", not " +
                      GeneralStuff::FieldValueText(*s.field, s.value) + "\n";
    }
    answer.out = ReadingsText(readings, request.json);
    return answer;
}

}  // namespace

CliAnswer RunGet(const CliRequest& request) {
    std::vector<FieldReading> readings;
    if (request.fields.empty()) {
        for (const Chip::Field& field : Chip::Fields) readings.push_back({&field, ReadField(field)});
    }
    for (const Chip::Field* field : request.fields) readings.push_back({field, ReadField(*field)});
    return {ExitSuccess, ReadingsText(readings, request.json), {}};
}

CliAnswer RunSet(const CliRequest& request) { return SetFields(request, request.settings); }

CliAnswer RunApply(const CliRequest& request) {
    std::string refusal;
    const auto settings = ReadSettingsFile(request.file, refusal);
    if (settings) refusal = SettingsRefusal(*settings, std::nullopt);
    if (!refusal.empty()) return Refusal(refusal);
    return SetFields(request, *settings);
}
