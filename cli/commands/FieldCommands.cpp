#include "cli/commands/FieldCommands.h"

#include "board/USBStuff.h"
#include "cli/CliStart.h"
#include "cli/commands/FieldSettings.h"
#include "cli/commands/FieldTransfers.h"
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
    USBStuff::ChipTransfer failed;
    const std::optional<double> value = TryReadField(field, failed);
    if (!value) USBStuff::ReportBoardFailure(failed);
    return *value;
}

std::string JsonValue(const FieldReading& r) {
    if (r.field->encoding == Chip::Encoding::Flag) return r.value != 0 ? "true" : "false";
    return GeneralStuff::FieldValueText(*r.field, r.value);
}

// The limits re-coded for the new range are told after the settings: in the text, as comment
// lines, so that the answer stays a settings file.
std::string ReadingsText(const std::vector<FieldReading>& readings, const std::vector<FieldReading>& recoded,
                         bool extendedRange, bool json) {
    if (json) {
        JsonObject object;
        for (const FieldReading& r : readings) object.Raw(r.field->name, JsonValue(r));
        if (!recoded.empty()) {
            JsonObject kept;
            for (const FieldReading& r : recoded) kept.Raw(r.field->name, JsonValue(r));
            object.Raw("re-coded", kept.Text());
        }
        return object.Text() + "\n";
    }
    std::string text;
    for (const FieldReading& r : readings)
        text += std::string(r.field->name) + "=" + GeneralStuff::FieldValueText(*r.field, r.value) + "\n";
    const char* range = extendedRange ? "extended" : "default";
    for (const FieldReading& r : recoded)
        text += "# " + std::string(r.field->name) + "=" + GeneralStuff::FieldValueText(*r.field, r.value) +
                " kept: re-coded for the " + range + " range\n";
    return text;
}

// The limits the settings leave alone, at the degrees they hold now, to be written again in
// the range mode the chip goes to; a refusal for one that range cannot hold.
std::vector<FieldSetting> LimitsKept(const std::vector<FieldSetting>& settings, bool extendedRange, std::string& refusal) {
    std::vector<FieldSetting> kept;
    for (const Chip::Field* field : UnnamedRangeFields(settings)) {
        const double value = ReadField(*field);
        if (!GeneralStuff::FieldValueRefusal(*field, value, extendedRange).empty()) {
            refusal = std::string(field->name) + " is " + GeneralStuff::FieldValueText(*field, value) + " " + field->unit +
                      ", which the " + (extendedRange ? "extended" : "default") +
                      " range cannot hold: set it as well, or keep every limit's code with --keep-codes.";
            return {};
        }
        kept.push_back({field, value, {}});
    }
    return kept;
}

// Reads each setting back; a value other than the one written is named on standard error. A
// read that fails leaves the readings short, with the failed transfer.
std::vector<FieldReading> ReadBack(const std::vector<FieldSetting>& settings, CliAnswer& answer,
                                   USBStuff::ChipTransfer& failed) {
    std::vector<FieldReading> readings;
    for (const FieldSetting& s : settings) {
        const std::optional<double> value = TryReadField(*s.field, failed);
        if (!value) return readings;
        readings.push_back({s.field, *value});
        if (readings.back().value == s.value) continue;
        answer.status = ExitBoardFailure;
        answer.err += std::string(CliName) + ": " + s.field->name + " reads back " +
                      GeneralStuff::FieldValueText(*s.field, readings.back().value) + ", not " +
                      GeneralStuff::FieldValueText(*s.field, s.value) + "\n";
    }
    return readings;
}

CliAnswer SetFields(const CliRequest& request, const std::vector<FieldSetting>& settings) {
    StartBoard(request.board, true);
    std::string refusal = SettingsRefusal(settings, RegMapStuff::ExtendedRange);
    if (!refusal.empty()) return Refusal(refusal);
    const bool extendedRange = *RangeModeAfter(settings, RegMapStuff::ExtendedRange);
    std::vector<FieldSetting> kept;
    if (extendedRange != RegMapStuff::ExtendedRange && !request.keepCodes) {
        kept = LimitsKept(settings, extendedRange, refusal);
        if (!refusal.empty()) return Refusal(refusal);
    }
    std::vector<FieldSetting> order = WriteOrder(settings);
    order.insert(order.end(), kept.begin(), kept.end());
    // A first Ctrl+C or SIGTERM waits for the writes and the read-back, a few milliseconds, so
    // that no remote limit is left with one of its two bytes written.
    InstallStopSignals();
    const FieldWrites writes = WriteFields(order, extendedRange);
    if (!writes.failed) {
        return {ExitBoardFailure, {},
                BoardFailureText(USBStuff::BoardErrorMessage(writes.failed.error), writes.failed.reason) +
                    UnfinishedWritesText(order, writes)};
    }
    CliAnswer answer;
    USBStuff::ChipTransfer failed;
    const std::vector<FieldReading> readings = ReadBack(settings, answer, failed);
    std::vector<FieldReading> recoded;
    if (readings.size() == settings.size()) recoded = ReadBack(kept, answer, failed);
    if (readings.size() < settings.size() || recoded.size() < kept.size()) {
        // Every write landed; only the read-back failed, and the user must not take the
        // settings for unwritten.
        return {ExitBoardFailure, {},
                BoardFailureText(USBStuff::BoardErrorMessage(failed.error), failed.reason) +
                    UnfinishedWritesText(order, writes) + std::string(CliName) +
                    ": the chip could not be read back to check them\n"};
    }
    answer.out = ReadingsText(readings, recoded, extendedRange, request.json);
    return answer;
}

// Each setting against the chip, in the fields' own units, so that 8, 8Hz and 8 Hz are one
// rate; a line for each that differs, and status 1 then.
CliAnswer CheckFields(const CliRequest& request, const std::vector<FieldSetting>& settings) {
    StartBoard(request.board, true);
    const std::string refusal = SettingsRefusal(settings, RegMapStuff::ExtendedRange);
    if (!refusal.empty()) return Refusal(refusal);
    CliAnswer answer;
    for (const FieldSetting& s : settings) {
        const double chip = ReadField(*s.field);
        if (chip == s.value) continue;
        answer.status = ExitBoardFailure;
        answer.out += std::string(s.field->name) + ": file " + GeneralStuff::FieldValueText(*s.field, s.value) +
                      ", chip " + GeneralStuff::FieldValueText(*s.field, chip) + "\n";
    }
    return answer;
}

}  // namespace

CliAnswer RunGet(const CliRequest& request) {
    std::vector<FieldReading> readings;
    if (request.fields.empty()) {
        for (const Chip::Field& field : Chip::Fields) readings.push_back({&field, ReadField(field)});
    }
    for (const Chip::Field* field : request.fields) readings.push_back({field, ReadField(*field)});
    return {ExitSuccess, ReadingsText(readings, {}, false, request.json), {}};
}

CliAnswer RunSet(const CliRequest& request) { return SetFields(request, request.settings); }

CliAnswer RunApply(const CliRequest& request) {
    std::string refusal;
    const auto settings = ReadSettingsFile(request.file, refusal);
    if (settings) refusal = SettingsRefusal(*settings, std::nullopt);
    if (!refusal.empty()) return Refusal(refusal);
    return request.check ? CheckFields(request, *settings) : SetFields(request, *settings);
}
