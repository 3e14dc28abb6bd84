#pragma once
// The saved configuration (.sav) file: a header with a comment, then one line per register
// between "{" and "}". Built as text here; written safely as Windows-1252 with CR LF.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace GeneralStuff {

struct SavRegister {
    int32_t writeAddr = 0;
    int32_t value = 0;
    QString description;
};

inline const char* const SavLineEnd = "\r\n";

// "0x" and two upper-case hex digits for a byte: 0x0A, 0x55.
QString FormatHexByte(int32_t value);
// The comment as one line, without the blanks around it.
QString SavComment(const QString& comment);
// Lines 1 to 7: maker, program, "Saved: <date> at <time>", "Comment : <comment>", empty lines.
QStringList SavHeaderLines(const QString& comment, const QString& dateText, const QString& timeText);
// "0x0B<TAB>0x55<TAB> // Local Temp High Limit"
QString SavRegisterLine(const SavRegister& reg);
// The header, "Address<TAB>Data<TAB>Register", "{", the register lines and "}", each line
// ended by CR LF.
QString SavText(const QStringList& headerLines, const std::vector<SavRegister>& registers);

// Reads the writable registers of the table from the chip, in table order, under their write
// addresses; with onlyChanged just those that differ from their defaults.
std::vector<SavRegister> ReadSavRegisters(bool onlyChanged);

// Replaces the file with the text, or leaves an existing file untouched when that fails.
bool WriteSavFile(const QString& fileName, const QString& text, QString* error = nullptr);

}  // namespace GeneralStuff
