#include "files/SavRecall.h"

#include "board/USBStuff.h"
#include "files/FileSafety.h"

#include <QDir>
#include <QFile>

namespace GeneralStuff {

namespace {
// A saved configuration is under 2 KB; anything far larger is not one.
constexpr qint64 MaxRecallBytes = 16 * 1024 * 1024;
}  // namespace

QString OpenForRecall(QFile& file) {
    QString refusal = NotARegularFileReason(file.fileName());
    // Checked before reading: the parser reads one character at a time.
    if (refusal.isEmpty() && file.size() > MaxRecallBytes) {
        refusal = QStringLiteral("It holds %1 bytes: too large for a saved configuration (files over %2 MB are not read).")
                      .arg(file.size())
                      .arg(MaxRecallBytes / (1024 * 1024));
    }
    if (refusal.isEmpty() && file.open(QIODevice::ReadOnly)) return QString();
    return QStringLiteral("Could not open %1:\n%2\n\nNo registers were written.")
        .arg(QDir::toNativeSeparators(file.fileName()), refusal.isEmpty() ? file.errorString() : refusal);
}

SavRecallResult RecallIntoChip(QFile& file) {
    SavRecallParser parser(file);
    return RecallSavRegisters(parser, [](int32_t address, int32_t value) {
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
    switch (result.outcome) {
    case SavRecallResult::Outcome::Complete:
        return QString();
    case SavRecallResult::Outcome::NoBlock:
        return QStringLiteral("%1 was not recalled: it holds no register block (no \"{\").\n\n%2")
            .arg(name, RegistersWrittenText(result.registersWritten));
    case SavRecallResult::Outcome::Incomplete:
        break;
    }
    return QStringLiteral("%1 was not fully recalled: the register block is incomplete "
                          "(a line without both an address and a value, or no closing \"}\").\n\n%2")
        .arg(name, RegistersWrittenText(result.registersWritten));
}

}  // namespace GeneralStuff
