#include "files/SavRecall.h"

#include "board/USBStuff.h"
#include "files/FileSafety.h"
#include "files/SavFile.h"

#include <QDir>
#include <QFile>

namespace GeneralStuff {

QString OpenForRecall(QFile& file) {
    const QString refusal = NotARegularFileReason(file.fileName());
    if (refusal.isEmpty() && file.open(QIODevice::ReadOnly)) return QString();
    return QStringLiteral("Could not open %1:\n%2\n\nNo registers were written.")
        .arg(QDir::toNativeSeparators(file.fileName()), refusal.isEmpty() ? file.errorString() : refusal);
}

SavRecallResult RecallIntoChip(QFile& file) {
    // One byte past the limit tells a file that is too large; nothing is written before the
    // whole file has passed the limits.
    const QByteArray bytes = file.read(SavRecallLimits{}.maxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        SavRecallResult unread;
        unread.outcome = SavRecallResult::Outcome::Unreadable;
        return unread;
    }
    return RecallSavBytes(bytes, [](int32_t address, int32_t value) {
        USBStuff::WriteRegister(USBStuff::DeviceAddress, address, value);
    });
}

QString RegistersWrittenText(int count) {
    if (count == 0) return QStringLiteral("No registers were written.");
    if (count == 1) return QStringLiteral("1 register was written.");
    return QStringLiteral("%1 registers were written.").arg(count);
}

QString RecallProblemText(const SavRecallResult& result, const QString& fileName) {
    const QString name = QDir::toNativeSeparators(fileName);
    const QString written = RegistersWrittenText(result.registersWritten);
    const SavRecallLimits limits;
    switch (result.outcome) {
    case SavRecallResult::Outcome::Complete:
        return QString();
    case SavRecallResult::Outcome::Unreadable:
        return QStringLiteral("Could not read %1.\n\n%2").arg(name, written);
    case SavRecallResult::Outcome::NoBlock:
        return QStringLiteral("%1 was not recalled: it holds no register block (no \"{\").\n\n%2").arg(name, written);
    case SavRecallResult::Outcome::TooLarge:
        return QStringLiteral("%1 was not recalled: it is larger than %2 KB, too large for a saved configuration.\n\n%3")
            .arg(name)
            .arg(limits.maxBytes / 1024)
            .arg(written);
    case SavRecallResult::Outcome::TooManyRegisters:
        return QStringLiteral("%1 was not recalled: it holds more than %2 register lines, too many for a saved "
                              "configuration.\n\n%3")
            .arg(name)
            .arg(limits.maxRegisterLines)
            .arg(written);
    case SavRecallResult::Outcome::NotSingleByteText:
        return QStringLiteral("%1 was not recalled: it holds a NUL byte, so it is not a single-byte text file "
                              "(it may have been saved as UTF-16, Windows \"Unicode\").\n\n%2")
            .arg(name, written);
    case SavRecallResult::Outcome::NotAPair:
        return QStringLiteral("%1 was not recalled: line %2 does not read as an address and a value, two hex "
                              "bytes such as 0x0B 0x55:\n%3\n\n%4")
            .arg(name)
            .arg(result.line)
            .arg(result.lineText, written);
    case SavRecallResult::Outcome::NotWritable:
        return QStringLiteral("%1 was not recalled: line %2 writes to %3, which is not a writable register:\n%4\n\n%5")
            .arg(name)
            .arg(result.line)
            .arg(FormatHexByte(result.address), result.lineText, written);
    case SavRecallResult::Outcome::Incomplete:
        break;
    }
    return QStringLiteral("%1 was not recalled: the register block has no closing \"}\" (the file may have been "
                          "cut short).\n\n%2")
        .arg(name, written);
}

}  // namespace GeneralStuff
