#include "files/Windows1252.h"

#include <QList>

namespace GeneralStuff {

namespace {

// The characters that Windows-1252 places at 0x80..0x9F; 0 marks the five unused bytes.
constexpr char16_t HighControlRange[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char ByteFor(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (int i = 0; i < 32; ++i) {
        if (HighControlRange[i] != 0 && HighControlRange[i] == c) return static_cast<char>(0x80 + i);
    }
    return '?';
}

}  // namespace

QByteArray ToWindows1252(const QString& text) {
    QByteArray bytes;
    const QList<uint> codePoints = text.toUcs4();
    bytes.reserve(codePoints.size());
    for (const uint c : codePoints) bytes.append(ByteFor(static_cast<char32_t>(c)));
    return bytes;
}

}  // namespace GeneralStuff
