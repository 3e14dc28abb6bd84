#pragma once
// The log and configuration files are single-byte Windows-1252 text (the degree sign is 0xB0).
#include <QByteArray>
#include <QString>

namespace GeneralStuff {

// Each character as its Windows-1252 byte; a character the code page cannot hold becomes '?'.
QByteArray ToWindows1252(const QString& text);

}  // namespace GeneralStuff
