#pragma once
// Writing the data log: the file is opened, appended to and closed for every write.
#include <QObject>
#include <QString>

namespace GeneralStuff {

// Appends text (with its line ends) to LogFileName, creating a missing file; never truncates.
// On failure gives false and the reason in *error.
bool AppendToLogFile(const QString& text, QString* error = nullptr);

// Writes the empty line, the title, the empty line and the header at a start of logging.
bool WriteLogStart(QString* error = nullptr);

// One data line (LogLine and CR LF) at a log tick. A line that cannot be written stops the
// logging, says so in the status line and leaves the file as it was; gives false then.
bool AppendLogLine();

// "Logging stopped - could not write to <file>"
QString LogWriteFailedText();

}  // namespace GeneralStuff

// Tells an open logging window that logging stopped without its button.
class LoggingEvents : public QObject {
    Q_OBJECT
public:
    static LoggingEvents& Instance();
signals:
    void loggingStopped();
};
