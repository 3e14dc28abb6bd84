#include "files/LogLines.h"

#include "state/GeneralStuff.h"
#include "registers/NumberText.h"

namespace GeneralStuff {

QString LogHeader() {
    QString header = QStringLiteral("Time ,");
    if (LogChannel[0]) header += QStringLiteral("Local(\u00B0C) ,");
    if (LogChannel[1]) header += QStringLiteral("Remote(\u00B0C) ,");
    return header;
}

QString LogTimeText(int32_t lineCount, int32_t intervalMs) {
    // The product of two 32-bit values always fits in 64 bits. A whole number of
    // milliseconds has at most 3 decimals in seconds, so the text is exact: the whole
    // seconds, then the thousandths without trailing zeros, and no "0" before the point.
    const int64_t ms = static_cast<int64_t>(lineCount) * intervalMs;
    const uint64_t magnitude = ms < 0 ? 0 - static_cast<uint64_t>(ms) : static_cast<uint64_t>(ms);
    const uint64_t seconds = magnitude / 1000;
    const uint64_t thousandths = magnitude % 1000;
    QString text = ms < 0 ? QStringLiteral("-") : QString();
    if (seconds != 0 || thousandths == 0) text += QString::number(seconds);
    if (thousandths != 0) {
        QString decimals = QStringLiteral("%1").arg(thousandths, 3, 10, QLatin1Char('0'));
        while (decimals.endsWith(QLatin1Char('0'))) decimals.chop(1);
        text += QLatin1Char('.') + decimals;
    }
    return text;
}

QString LogLine() {
    QString line = LogTimeText(LogLineCount, LogInterval) + QLatin1Char(',');
    for (int channel = 0; channel < 2; ++channel) {
        if (LogChannel[channel])
            line += QString::fromStdString(NumberText(Temperature[channel])) + QLatin1Char(',');
    }
    return line;
}

QString LogStartBlock() {
    const QString end = QLatin1String(LogLineEnd);
    return end + QStringLiteral("KTS9320B/3 Log File") + end + end + LogHeader() + end;
}

}  // namespace GeneralStuff
