#include "files/SavFile.h"

#include "board/USBStuff.h"
#include "files/FileSafety.h"
#include "files/Windows1252.h"
#include "registers/NumberText.h"
#include "registers/RegMapStuff.h"

#include <QDir>
#include <QLocale>
#include <QRegularExpression>

namespace GeneralStuff {

QString FormatHexByte(int32_t value) {
    const QString digits = QString::fromStdString(HexText(value));
    return (value > 15 ? QStringLiteral("0x") : QStringLiteral("0x0")) + digits;
}

QString SavComment(const QString& comment) {
    // The comment box holds one line; a pasted line break would split the file's header.
    QString line = comment;
    line.replace(QRegularExpression(QStringLiteral("\r\n|\r|\n")), QStringLiteral(" "));
    int first = 0;
    int last = line.size();
    while (first < last && line[first] == QLatin1Char(' ')) ++first;
    while (last > first && line[last - 1] == QLatin1Char(' ')) --last;
    return line.mid(first, last - first);
}

QStringList SavHeaderLines(const QString& comment, const QString& dateText, const QString& timeText) {
    return {QStringLiteral("Corvantis Inc."),
            QStringLiteral("KTS9320B Evaluation Software"),
            QString(),
            QStringLiteral("Saved: ") + dateText + QStringLiteral(" at ") + timeText,
            QString(),
            QStringLiteral("Comment : ") + SavComment(comment),
            QString()};
}

QStringList SavHeaderLines(const QString& comment, const QDateTime& now) {
    return SavHeaderLines(comment, QLocale::system().toString(now.date(), QLocale::ShortFormat),
                          now.time().toString(QStringLiteral("HH:mm:ss")));
}

QString SavRegisterLine(const SavRegister& reg) {
    return FormatHexByte(reg.writeAddr) + QLatin1Char('\t') + FormatHexByte(reg.value) +
           QStringLiteral("\t // ") + reg.description;
}

QString SavText(const QStringList& headerLines, const std::vector<SavRegister>& registers) {
    QStringList lines = headerLines;
    lines << QStringLiteral("Address\tData\tRegister") << QStringLiteral("{");
    for (const SavRegister& reg : registers) lines << SavRegisterLine(reg);
    lines << QStringLiteral("}");
    const QString end = QLatin1String(SavLineEnd);
    return lines.join(end) + end;
}

std::vector<SavRegister> ReadSavRegisters(bool onlyChanged) {
    std::vector<SavRegister> registers;
    for (const RegMapStuff::RegEntry& entry : RegMapStuff::RegTable) {
        if (entry.ReadOnly) continue;
        const int16_t value = USBStuff::ReadRegister(USBStuff::DeviceAddress, entry.ReadAddr);
        if (onlyChanged && value == entry.DefaultVal) continue;
        registers.push_back({entry.WriteAddr, value, QString::fromStdString(entry.Description)});
    }
    return registers;
}

bool WriteSavFile(const QString& fileName, const QString& text, QString* error) {
    const QString why = ReplaceFileContents(fileName, ToWindows1252(text));
    if (!why.isEmpty() && error) *error = why;
    return why.isEmpty();
}

QString SaveSavText(const QString& fileName, const QString& text) {
    QString reason;
    if (WriteSavFile(fileName, text, &reason)) return QString();
    return QStringLiteral("The configuration was not saved: could not write %1:\n%2")
        .arg(QDir::toNativeSeparators(fileName), reason);
}

}  // namespace GeneralStuff
