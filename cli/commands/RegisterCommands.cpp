#include "cli/commands/RegisterCommands.h"

#include "board/BoardStart.h"
#include "board/USBStuff.h"
#include "cli/commands/ChipTransfers.h"
#include "cli/CliStart.h"
#include "cli/text/HexByte.h"
#include "cli/text/JsonText.h"
#include "cli/text/Reading.h"
#include "cli/text/RegisterArgument.h"
#include "cli/text/RegisterMeaning.h"
#include "registers/NumberText.h"
#include "registers/RegMapStuff.h"


namespace {

struct RegisterValue {
    RegisterTarget target;
    int value = 0;
};

std::vector<RegisterValue> ReadAll(const std::vector<RegisterTarget>& targets) {
    std::vector<RegisterValue> values;
    for (const RegisterTarget& target : targets)
        values.push_back({target, ReadChip(target.address)});
    return values;
}

std::string RegistersText(const std::vector<RegisterValue>& values) {
    std::string text;
    for (const RegisterValue& v : values) text += RegisterLine(v.target, v.value) + "\n";
    return text;
}

std::string RegistersJson(const std::vector<RegisterValue>& values) {
    std::vector<std::string> objects;
    for (const RegisterValue& v : values) objects.push_back(RegisterJson(v.target, v.value));
    return JsonArray(objects);
}

// All 256 addresses as i2cdump shows a chip in byte mode: rows of 16 in hex, then the bytes as
// characters ("." for 00 and FF, "?" for the other unprintable ones).
std::string RawGrid(const std::vector<int>& bytes) {
    std::string text = "     0  1  2  3  4  5  6  7  8  9  a  b  c  d  e  f    0123456789abcdef\n";
    for (int row = 0; row < 256; row += 16) {
        text += GeneralStuff::HexByteText(row, GeneralStuff::HexCase::Lower) + ": ";
        for (int i = row; i < row + 16; ++i) text += GeneralStuff::HexByteText(bytes[i], GeneralStuff::HexCase::Lower) + " ";
        text += "   ";
        for (int i = row; i < row + 16; ++i) {
            const int b = bytes[i];
            text += b == 0x00 || b == 0xFF ? '.' : (b < 32 || b >= 127 ? '?' : static_cast<char>(b));
        }
        text += "\n";
    }
    return text;
}

}  // namespace

CliAnswer RunScan(const CliRequest& request) {
    std::vector<int32_t> found;
    for (const int32_t address : USBStuff::CandidateAddresses(request.board.address)) {
        if (USBStuff::ChipAnswersAt(address)) found.push_back(address);
    }
    if (found.empty()) {
        SetFailureStep("no chip");
        USBStuff::ReportBoardError(USBStuff::BoardError::InitialConnection);
    }
    std::string text;
    std::vector<std::string> numbers;
    for (const int32_t address : found) {
        text += HexByte(address) + "\n";
        numbers.push_back(std::to_string(address));
    }
    if (request.json) return {ExitSuccess, JsonObject().Raw("addresses", JsonArray(numbers)).Text() + "\n", {}};
    return {ExitSuccess, text, {}};
}

CliAnswer RunTemps(const CliRequest& request) {
    const Reading reading = TakeReading();
    const bool alarmed = request.failOnAlarm && !AlarmNames(reading.status).empty();
    return {alarmed ? ExitAlarm : ExitSuccess, request.json ? ReadingJson(reading) : ReadingText(reading), {}};
}

CliAnswer RunRead(const CliRequest& request) {
    const auto values = ReadAll(request.registers);
    if (request.json) return {ExitSuccess, JsonObject().Raw("registers", RegistersJson(values)).Text() + "\n", {}};
    return {ExitSuccess, RegistersText(values), {}};
}

CliAnswer RunWrite(const CliRequest& request) {
    const RegisterTarget& target = request.registers.front();
    const int32_t value = WriteChip(target.address, request.value);
    if (request.json) {
        JsonObject json;
        json.String("name", TargetName(target))
            .Integer("write_address", target.address)
            .Integer("value", value)
            .String("hex", HexByte(value));
        return {ExitSuccess, json.Text() + "\n", {}};
    }
    return {ExitSuccess, "wrote " + HexByte(value) + " (" + std::to_string(value) + ") to " + TargetText(target) + "\n", {}};
}

CliAnswer RunDump(const CliRequest& request) {
    std::vector<RegisterTarget> named;
    for (int i = 0; i < RegMapStuff::RegCount; ++i) named.push_back({RegMapStuff::RegTable[i].ReadAddr, i});
    const auto values = ReadAll(named);
    std::vector<int> bytes;
    if (request.raw) {
        for (int32_t address = 0; address < 256; ++address)
            bytes.push_back(ReadChip(address));
    }
    if (request.json) {
        JsonObject json;
        json.Raw("registers", RegistersJson(values));
        if (request.raw) {
            std::vector<std::string> numbers;
            for (const int b : bytes) numbers.push_back(std::to_string(b));
            json.Raw("raw", JsonArray(numbers));
        }
        return {ExitSuccess, json.Text() + "\n", {}};
    }
    return {ExitSuccess, RegistersText(values) + (request.raw ? "\n" + RawGrid(bytes) : ""), {}};
}
