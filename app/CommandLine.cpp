#include "app/CommandLine.h"

#include "app/ProgramFiles.h"
#include "state/GeneralStuff.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

namespace {

// The simulated board's settings (usbfunctions/README.md); a real board's library reads none.
constexpr const char* SimulatedBoardEnvironment[][2] = {
    {"KTS_SIM_ADDRESS", "SMBus address of the chip, 1 to 127 (default 0x4C)"},
    {"KTS_SIM_SECOND_ADDRESS", "address of a second, identical chip (default none)"},
    {"KTS_SIM_REFUSE_CONNECTS", "connect requests refused before one is accepted (default 0)"},
    {"KTS_SIM_FIRMWARE_FAIL", "1: every firmware download fails"},
    {"KTS_SIM_FAIL_AFTER", "requests answered after a download before every request fails"},
    {"KTS_SIM_DIODE_OPEN", "1: the remote diode is disconnected"},
    {"KTS_SIM_LOCAL_TEMP", "fixed local temperature in degrees C (default drifting)"},
    {"KTS_SIM_REMOTE_TEMP", "fixed remote temperature in degrees C (default drifting)"},
    {"KTS_SIM_TRACE", "file to which every driver call is appended as one line"},
};

QString FilesAndEnvironmentText() {
    QString text = QStringLiteral("\nFiles:\n");
    text += QStringLiteral("  Settings (main window position and size):\n    %1\n").arg(SettingsFilePath());
    text += QStringLiteral("  Driver library (the simulated board, or a real board's library):\n    %1\n")
                .arg(DriverLibraryPath());
    text += QStringLiteral("  Firmware image, downloaded at every start:\n    %1\n").arg(FirmwareImagePath());
    text += QStringLiteral("\nEnvironment of the simulated board:\n");
    for (const auto& variable : SimulatedBoardEnvironment)
        text += QStringLiteral("  %1\n      %2\n").arg(QLatin1String(variable[0]), QLatin1String(variable[1]));
    return text;
}

void Print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

}  // namespace

std::optional<int> AnswerCommandLine(int argc, char** argv) {
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
    parser.addOption(help);
    parser.addOption(version);

    const QString refusal = QStringLiteral("%1: %2 Try '%1 --help'.\n").arg(CommandName);
    if (!parser.parse(QCoreApplication::arguments())) {
        Print(stderr, refusal.arg(parser.errorText()));
        return 2;
    }
    if (!parser.positionalArguments().isEmpty()) {
        Print(stderr, refusal.arg(QStringLiteral("The program takes no arguments: '%1'.")
                                      .arg(parser.positionalArguments().first())));
        return 2;
    }
    if (parser.isSet(version)) {
        Print(stdout, QStringLiteral("%1 %2\n").arg(CommandName, GeneralStuff::VersionText()));
        return 0;
    }
    if (parser.isSet(help)) {
        // The usage line names the command, not the path it was started by.
        QString text = parser.helpText();
        text.replace(0, text.indexOf('\n'), QStringLiteral("Usage: %1 [options]").arg(CommandName));
        Print(stdout, text + FilesAndEnvironmentText());
        return 0;
    }
    return std::nullopt;
}
