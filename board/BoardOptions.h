#pragma once
// The options --driver, --bus and --address that both programs take, and the part of their
// help that says where the driver libraries lie and what each reads from the environment.
#include "board/BoardChoice.h"

#include <QCommandLineOption>
#include <QString>
#include <cstdint>
#include <vector>

class QCommandLineParser;

class BoardOptions {
public:
    BoardOptions();
    void AddTo(QCommandLineParser& parser) const;
    // Fills the choice from the parsed options. Gives the reason a value cannot be used (a
    // library that is not there, an address off the bus), or an empty text.
    QString Read(const QCommandLineParser& parser, USBStuff::BoardChoice& choice) const;
    // Every --address given, in order (Read keeps the last), for a command that serves several
    // chips on one bus; the reason one cannot be used, or an empty text.
    QString ReadAddresses(const QCommandLineParser& parser, std::vector<int32_t>& addresses) const;

private:
    QCommandLineOption driver_;
    QCommandLineOption bus_;
    QCommandLineOption address_;
};

// The driver libraries (the default, the ones --driver names) and the firmware image, as help
// lines under a "Files:" heading that the caller writes.
QString DriverFilesHelp();
// The environment of the simulated board and of the i2c-dev library, with headings.
QString DriverEnvironmentHelp();
