#pragma once
// The library's last reason for a failure, which the optional export DriverLastError hands to
// the program: it shows the text under its fixed failure message, so a user who started the
// program from a menu, with no terminal, learns why as well.
#include <string>

namespace I2cDev {

void NoteLastError(const std::string& text);
// The last noted text; empty before any. Valid until the next note.
const char* LastError();

}  // namespace I2cDev
