#include "board/BoardOptions.h"

#include "board/ProgramFolder.h"
#include "board/SystemLibrary.h"
#include "registers/IntegerArgument.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace {

struct Variable {
    const char* name;
    const char* meaning;
};

// usbfunctions/README.md and i2cdev/README.md describe them; the libraries read them when loaded.
constexpr Variable SimulatedBoardEnvironment[] = {
    {"KTS_SIM_ADDRESS", "SMBus address of the chip, 1 to 127 (default 0x4C)"},
    {"KTS_SIM_SECOND_ADDRESS", "address of a second, identical chip (default none)"},
    {"KTS_SIM_REFUSE_CONNECTS", "connect requests refused before one is accepted (default 0)"},
    {"KTS_SIM_FIRMWARE_FAIL", "1: every firmware download fails"},
    {"KTS_SIM_FAIL_AFTER", "requests answered after a download before every request fails"},
    {"KTS_SIM_FAIL_FOR", "with KTS_SIM_FAIL_AFTER: milliseconds until the board answers again"},
    {"KTS_SIM_DIODE_OPEN", "1: the remote diode is disconnected"},
    {"KTS_SIM_LOCAL_TEMP", "fixed local temperature in degrees C (default drifting)"},
    {"KTS_SIM_REMOTE_TEMP", "fixed remote temperature in degrees C (default drifting)"},
    {"KTS_SIM_PROFILE", "temperature profile file: lines SECONDS LOCAL_C REMOTE_C, linear between them"},
    {"KTS_SIM_PROFILE_SPEED", "how many times faster the profile runs (default 1)"},
    {"KTS_SIM_STATE", "file the chip keeps its registers in (default $XDG_RUNTIME_DIR/kts9320b-sim.state)"},
    {"KTS_SIM_POWER_CYCLE", "1: every download starts the chip from its power-on values"},
    {"KTS_SIM_TRACE", "file to which every driver call is appended as one line"},
};
constexpr Variable I2cDevEnvironment[] = {
    {"KTS_I2C_BUS", "the adapter: number, node or name (default: the first one the chip answers on)"},
    {"KTS_I2C_FORCE", "1: talk to addresses a kernel driver holds (risky: see the README)"},
    {"KTS_I2C_TRACE", "file to which every transfer is appended as one line"},
};

QString NamedLibraryLine(const char* name) {
    const std::string path = USBStuff::NamedDriverLibrary(name, NarrowPath(ProgramFolder()));
    return QStringLiteral("    %1  %2\n")
        .arg(QLatin1String(name), -7)
        .arg(path.empty() ? QStringLiteral("(not found beside the program)")
                          : QDir::toNativeSeparators(QFile::decodeName(path.c_str())));
}

template <size_t N>
QString EnvironmentLines(const QString& heading, const Variable (&variables)[N]) {
    QString text = heading;
    for (const Variable& variable : variables)
        text += QStringLiteral("  %1\n      %2\n").arg(QLatin1String(variable.name), QLatin1String(variable.meaning));
    return text;
}

const bool HasI2cDev = USBStuff::SystemHasI2cDev();

}  // namespace

BoardOptions::BoardOptions()
    : driver_(QStringLiteral("driver"),
              HasI2cDev ? QStringLiteral("The driver library to load: sim (the simulated board), i2c-dev (a chip on a "
                                         "Linux I2C adapter) or a library file. Default: the one in the program's folder.")
                        : QStringLiteral("The driver library to load: sim (the simulated board) or a library file "
                                         "(a board's own). Default: the one in the program's folder."),
              HasI2cDev ? QStringLiteral("sim|i2c-dev|FILE") : QStringLiteral("sim|FILE")),
      bus_(QStringLiteral("bus"),
           QStringLiteral("The I2C adapter the i2c-dev library uses: its number, node or name, e.g. 1, "
                          "/dev/i2c-1 or \"SMBus stub driver\" (sets KTS_I2C_BUS)."),
           QStringLiteral("ADAPTER")),
      address_(QStringLiteral("address"),
               QStringLiteral("The chip's address, e.g. 0x4c: its id is checked there alone instead of "
                              "searching 0x18 to 0x4E."),
               QStringLiteral("0xNN")) {}

void BoardOptions::AddTo(QCommandLineParser& parser) const {
    parser.addOption(driver_);
    parser.addOption(bus_);
    parser.addOption(address_);
}

QString BoardOptions::Read(const QCommandLineParser& parser, USBStuff::BoardChoice& choice) const {
    if (parser.isSet(driver_)) {
        const QString driver = parser.value(driver_);
        if (!HasI2cDev && driver == QLatin1String(USBStuff::I2cDevDriverName))
            return QStringLiteral("The i2c-dev driver library is Linux's: give sim or a board's driver library.");
        if (driver == QLatin1String(USBStuff::SimulatedDriverName) ||
            driver == QLatin1String(USBStuff::I2cDevDriverName)) {
            choice.libraryPath = USBStuff::NamedDriverLibrary(driver.toStdString(), NarrowPath(ProgramFolder()));
            if (choice.libraryPath.empty())
                return QStringLiteral("The %1 driver library is not installed beside the program (%2).")
                    .arg(driver, ProgramFolder());
        } else {
            const QFileInfo file(driver);
            if (!file.isFile()) return QStringLiteral("The driver library '%1' does not exist.").arg(driver);
            choice.libraryPath = NarrowPath(file.absoluteFilePath());
        }
    }
    if (parser.isSet(bus_)) {
        choice.bus = parser.value(bus_).toStdString();
        if (choice.bus.empty()) return QStringLiteral("--bus needs an adapter, e.g. /dev/i2c-1.");
    }
    if (parser.isSet(address_)) {
        std::vector<int32_t> addresses;
        const QString problem = ReadAddresses(parser, addresses);
        if (!problem.isEmpty()) return problem;
        choice.address = addresses.back();
    }
    return QString();
}

QString BoardOptions::ReadAddresses(const QCommandLineParser& parser, std::vector<int32_t>& addresses) const {
    for (const QString& text : parser.values(address_)) {
        const std::optional<int32_t> address = GeneralStuff::ParseIntegerArgument(text.toStdString());
        if (!address || *address < USBStuff::FirstBusAddress || *address > USBStuff::LastBusAddress)
            return QStringLiteral("'%1' is not a chip address: give one from 0x03 to 0x77, e.g. 0x4c.").arg(text);
        addresses.push_back(*address);
    }
    return QString();
}

QString DriverFilesHelp() {
    return QStringLiteral("  Driver library (the simulated board, or a real board's library):\n    %1\n")
               .arg(DriverLibraryPath()) +
           QStringLiteral("  Driver libraries that --driver names:\n") +
           NamedLibraryLine(USBStuff::SimulatedDriverName) +
           (HasI2cDev ? NamedLibraryLine(USBStuff::I2cDevDriverName) : QString()) +
           QStringLiteral("  Firmware image, downloaded at every start:\n    %1\n").arg(FirmwareImagePath());
}

QString DriverEnvironmentHelp() {
    return EnvironmentLines(QStringLiteral("\nEnvironment of the simulated board (--driver sim):\n"),
                            SimulatedBoardEnvironment) +
           (HasI2cDev ? EnvironmentLines(QStringLiteral("\nEnvironment of the i2c-dev library (--driver i2c-dev):\n"),
                                         I2cDevEnvironment)
                      : QString());
}
