#pragma once
// Checks a firmware image before it is "downloaded": the board takes only well-formed
// Intel HEX, as its loader would.
#include <string>

namespace UsbSim {

enum class FirmwareCheck { Ok, Unreadable, Malformed };

// Every record well-formed with a correct checksum, and an end-of-file record last.
bool IsWellFormedIntelHex(const std::string& text);

// Reads the file and checks it. Where the path cannot be opened and holds backslashes,
// they are taken as folder separators, as the program builds its firmware path that way.
FirmwareCheck CheckFirmwareFile(const char* path);

}  // namespace UsbSim
