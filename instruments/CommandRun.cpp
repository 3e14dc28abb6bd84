#include "instruments/CommandRun.h"

#include "instruments/CommandWords.h"
#include "instruments/InstrumentTexts.h"

#include <QDeadlineTimer>
#include <QProcess>

namespace Instruments {

namespace {

// The program's own words on why it failed: the first line of its error output, if any.
std::string ErrorWords(QProcess& process) {
    const QByteArray words = process.readAllStandardError().trimmed();
    if (words.isEmpty()) return {};
    return ": " + words.split('\n').first().trimmed().toStdString();
}

}  // namespace

std::string RunCommand(const std::string& command, int32_t timeoutMs, std::string& output) {
    const QString quoted = "\"" + QString::fromStdString(command) + "\"";
    const std::optional<std::vector<std::string>> split = CommandWords(command);
    if (!split) return quoted.toStdString() + " has a quote left open";
    if (split->empty()) return "the command is empty";
    QStringList words;
    for (const std::string& word : *split) words.append(QString::fromStdString(word));
    const QString program = words.takeFirst();
    const QDeadlineTimer deadline(timeoutMs);
    QProcess process;
    process.start(program, words);
    if (!process.waitForStarted(static_cast<int>(deadline.remainingTime())))
        return "cannot start " + quoted.toStdString() + ": " + process.errorString().toStdString();
    if (!process.waitForFinished(static_cast<int>(deadline.remainingTime()))) {
        process.kill();
        process.waitForFinished();
        return quoted.toStdString() + ": " + NoAnswerWithin(timeoutMs);
    }
    if (process.exitStatus() == QProcess::CrashExit) return quoted.toStdString() + " crashed" + ErrorWords(process);
    if (process.exitCode() != 0)
        return quoted.toStdString() + " failed with status " + std::to_string(process.exitCode()) +
               ErrorWords(process);
    output = process.readAllStandardOutput().toStdString();
    return {};
}

}  // namespace Instruments
