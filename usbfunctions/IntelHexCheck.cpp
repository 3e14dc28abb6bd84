#include "IntelHexCheck.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

namespace UsbSim {

namespace {

// Far beyond any image the board's memory could hold.
constexpr std::streamoff kLargestImage = 16 * 1024 * 1024;

enum RecordType : int { Data = 0, EndOfFile = 1, SegmentAddress = 2, StartSegment = 3,
                        LinearAddress = 4, StartLinear = 5 };

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The bytes of one record line after its colon, or nothing for a line that is not hex pairs.
std::optional<std::vector<int>> RecordBytes(const std::string& line) {
    if (line.size() < 1 || line[0] != ':' || (line.size() - 1) % 2 != 0) return std::nullopt;
    std::vector<int> bytes;
    for (size_t i = 1; i < line.size(); i += 2) {
        int high = HexDigit(line[i]), low = HexDigit(line[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes.push_back(high * 16 + low);
    }
    return bytes;
}

bool LengthFitsType(int type, int length) {
    switch (type) {
    case Data: return true;
    case EndOfFile: return length == 0;
    case SegmentAddress: case LinearAddress: return length == 2;
    case StartSegment: case StartLinear: return length == 4;
    default: return false;
    }
}

// Nothing: malformed; otherwise the record's type.
std::optional<int> CheckRecord(const std::string& line) {
    auto bytes = RecordBytes(line);
    if (!bytes || bytes->size() < 5) return std::nullopt;
    const int length = (*bytes)[0];
    const int type = (*bytes)[3];
    if (bytes->size() != size_t(length) + 5 || !LengthFitsType(type, length)) return std::nullopt;
    int sum = 0;
    for (int b : *bytes) sum += b;
    if (sum % 256 != 0) return std::nullopt;
    return type;
}

std::string WithoutLineEnd(std::string line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.pop_back();
    return line;
}

std::optional<std::string> ReadSmallFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) return std::nullopt;
    const std::streamoff size = file.tellg();
    if (size < 0 || size > kLargestImage) return std::nullopt;
    file.seekg(0);
    std::string text(static_cast<size_t>(size), '\0');
    if (!file.read(text.data(), size)) return std::nullopt;
    return text;
}

}  // namespace

bool IsWellFormedIntelHex(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    bool ended = false;
    while (std::getline(lines, line)) {
        line = WithoutLineEnd(line);
        if (line.empty()) continue;
        if (ended) return false;  // records after the end-of-file record
        auto type = CheckRecord(line);
        if (!type) return false;
        ended = (*type == EndOfFile);
    }
    return ended;
}

FirmwareCheck CheckFirmwareFile(const char* path) {
    if (!path) return FirmwareCheck::Unreadable;
    std::optional<std::string> text = ReadSmallFile(path);
    // Windows reads a backslash as a folder separator itself; elsewhere a Windows path is read so.
#ifndef _WIN32
    std::string slashed(path);
    if (!text && slashed.find('\\') != std::string::npos) {
        std::replace(slashed.begin(), slashed.end(), '\\', '/');
        text = ReadSmallFile(slashed);
    }
#endif
    if (!text) return FirmwareCheck::Unreadable;
    return IsWellFormedIntelHex(*text) ? FirmwareCheck::Ok : FirmwareCheck::Malformed;
}

}  // namespace UsbSim
