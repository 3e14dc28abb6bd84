#include "files/LogFile.h"

#include "state/GeneralStuff.h"
#include "files/FileSafety.h"
#include "files/LogLines.h"
#include "files/Windows1252.h"

#include <QDir>
#include <QFile>

namespace GeneralStuff {

bool AppendToLogFile(const QString& text, QString* error) {
    const QString notRegular = NotARegularFileReason(LogFileName);
    if (!notRegular.isEmpty()) {
        if (error) *error = notRegular;
        return false;
    }
    QFile file(LogFileName);
    const QByteArray bytes = ToWindows1252(text);
    // Unbuffered: the text goes out in one write whose count tells whether it all arrived.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        if (error) *error = file.errorString();
        return false;
    }
    const qint64 before = file.size();
    const qint64 count = file.write(bytes);
    if (count == bytes.size()) return true;
    if (error) *error = ShortWriteReason(file, count, bytes.size());
    // A half-written line would run into the next one; the file goes back to what it was.
    file.resize(before);
    return false;
}

bool WriteLogStart(QString* error) {
    FileNumber = FreeFileNumber();
    return AppendToLogFile(LogStartBlock(), error);
}

QString LogWriteFailedText() {
    return QStringLiteral("Logging stopped - could not write to %1").arg(QDir::toNativeSeparators(LogFileName));
}

bool AppendLogLine() {
    if (AppendToLogFile(LogLine() + QLatin1String(LogLineEnd))) return true;
    LoggingActive = false;
    SetStatusText(LogWriteFailedText());
    emit LoggingEvents::Instance().loggingStopped();
    return false;
}

}  // namespace GeneralStuff

LoggingEvents& LoggingEvents::Instance() {
    static LoggingEvents events;
    return events;
}
