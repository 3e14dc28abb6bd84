#include "cli/commands/SavCommands.h"

#include "cli/CliStart.h"
#include "cli/text/JsonText.h"
#include "files/SavFile.h"
#include "files/SavRecall.h"

#include <QDateTime>
#include <QFile>

namespace {

CliAnswer Refusal(const QString& message) {
    return {ExitUsage, {}, std::string(CliName) + ": " + message.toStdString() + "\n"};
}

}  // namespace

CliAnswer RunSave(const CliRequest& request) {
    const auto registers = GeneralStuff::ReadSavRegisters(request.onlyChanged);
    const QStringList header = GeneralStuff::SavHeaderLines(request.comment, QDateTime::currentDateTime());
    const QString problem = GeneralStuff::SaveSavText(request.file, GeneralStuff::SavText(header, registers));
    if (!problem.isEmpty()) return Refusal(problem);
    const auto count = static_cast<int64_t>(registers.size());
    if (request.json)
        return {ExitSuccess, JsonObject().String("file", request.file.toStdString()).Integer("registers_saved", count).Text() + "\n", {}};
    return {ExitSuccess, "Saved " + std::to_string(count) + (count == 1 ? " register to " : " registers to ") +
                             request.file.toStdString() + ".\n", {}};
}

CliAnswer RunRecall(const CliRequest& request) {
    QFile file(request.file);
    const QString refusal = GeneralStuff::OpenForRecall(file);
    if (!refusal.isEmpty()) return Refusal(refusal);
    StartBoard(request.board, true);
    const SavRecallResult result = GeneralStuff::RecallIntoChip(file);
    const QString problem = GeneralStuff::RecallProblemText(result, request.file);
    if (!problem.isEmpty()) return Refusal(problem);
    if (request.json) {
        return {ExitSuccess, JsonObject().String("file", request.file.toStdString())
                                 .Integer("registers_written", result.registersWritten).Text() + "\n", {}};
    }
    return {ExitSuccess, GeneralStuff::RegistersWrittenText(result.registersWritten).toStdString() + "\n", {}};
}
