#include "app/CommandLine.h"

#include "app/ProgramFiles.h"
#include "board/BoardOptions.h"
#include "state/GeneralStuff.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

namespace {

QString FilesAndEnvironmentText() {
    QString text = QStringLiteral("\nFiles:\n");
    text += QStringLiteral("  Settings (main window position and size):\n    %1\n").arg(SettingsFilePath());
    return text + DriverFilesHelp() + DriverEnvironmentHelp();
}

void Print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

}  // namespace

std::optional<int> AnswerCommandLine(int argc, char** argv, USBStuff::BoardChoice& choice, QStringList& openFiles,
                                     QString& eventsFile) {
    if (argc < 2) return std::nullopt;
    // A core application only: no window system is needed to answer.
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(CommandName);
    QCoreApplication::setApplicationVersion(GeneralStuff::VersionText());

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "%1: watch and set the KTS9320B temperature monitor on its USB evaluation board.\n"
        "Without options the program opens its windows and connects to the board.")
                                         .arg(GeneralStuff::AppTitle));
    const QCommandLineOption help({"h", "help"}, "Show this help and end.");
    const QCommandLineOption version({"v", "version"}, "Show the program's name and version and end.");
    const QCommandLineOption open(QStringLiteral("open"),
                                  "Open each FILE (a run written by kts9320b-cli monitor, the chart's CSV export or "
                                  "the program's log) in a chart window of its own, without a board or driver.");
    const QCommandLineOption events(QStringLiteral("events"),
                                    "With --open and one FILE: the run's events (marks, steps, board lost and back) "
                                    "from FILE, in place of the events file beside the run.",
                                    QStringLiteral("FILE"));
    parser.addOption(help);
    parser.addOption(events);
    parser.addOption(version);
    parser.addOption(open);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("With --open: the runs to open."),
                                 QStringLiteral("[--open FILE...]"));
    const BoardOptions boardOptions;
    boardOptions.AddTo(parser);

    const QString refusal = QStringLiteral("%1: %2 Try '%1 --help'.\n").arg(CommandName);
    if (!parser.parse(QCoreApplication::arguments())) {
        Print(stderr, refusal.arg(parser.errorText()));
        return 2;
    }
    if (parser.isSet(open) && parser.positionalArguments().isEmpty()) {
        Print(stderr, refusal.arg(QStringLiteral("--open needs at least one FILE.")));
        return 2;
    }
    if (!parser.isSet(open) && !parser.positionalArguments().isEmpty()) {
        Print(stderr, refusal.arg(QStringLiteral("The program takes no arguments: '%1'.")
                                      .arg(parser.positionalArguments().first())));
        return 2;
    }
    if (parser.isSet(events) && !(parser.isSet(open) && parser.positionalArguments().size() == 1)) {
        Print(stderr, refusal.arg(QStringLiteral("--events names the events of one run: give it with --open and one FILE.")));
        return 2;
    }
    if (parser.isSet(version)) {
        Print(stdout, QStringLiteral("%1 %2\n").arg(CommandName, GeneralStuff::VersionText()));
        return 0;
    }
    if (parser.isSet(help)) {
        // The usage line names the command, not the path it was started by.
        QString text = parser.helpText();
        text.replace(0, text.indexOf('\n'), QStringLiteral("Usage: %1 [options] [--open FILE...]").arg(CommandName));
        Print(stdout, text + FilesAndEnvironmentText());
        return 0;
    }
    if (parser.isSet(open)) openFiles = parser.positionalArguments();
    eventsFile = parser.value(events);
    const QString badValue = boardOptions.Read(parser, choice);
    if (!badValue.isEmpty()) {
        Print(stderr, refusal.arg(badValue));
        return 2;
    }
    return std::nullopt;
}
