#include "output/LogFile.h"

#include "state/GeneralStuff.h"
#include "output/LogLines.h"
#include "output/Windows1252.h"

#include <QDir>
#include <QFile>

namespace GeneralStuff {

bool AppendToLogFile(const QString& text, QString* error) {
    QFile file(LogFileName);
    const QByteArray bytes = ToWindows1252(text);
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Append);
    if (written) {
        written = file.write(bytes) == bytes.size() && file.flush();
        file.close();
        written = written && file.error() == QFileDevice::NoError;
    }
    if (!written && error) *error = file.errorString();
    return written;
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
