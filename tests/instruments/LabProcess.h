#pragma once
// The instruments' stand-ins a test starts on loopback or on a pseudo-terminal, ended with it.
#include "instruments/InstrumentSettings.h"

#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <string>

inline QString LabScript(const char* name) {
    return qEnvironmentVariable("KTS_SOURCE_DIR") + "/tests/instruments/" + name;
}

// Debian's Python, which has pymodbus, ahead of any other on the path.
inline QString Python() { return QFile::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3"; }

class LabProcess {
public:
    LabProcess(const QString& program, const QStringList& arguments) {
        process_.start(program, arguments);
        process_.waitForStarted();
    }
    ~LabProcess() {
        process_.kill();
        process_.waitForFinished();
    }
    // The next line it prints, or "" after 10 s.
    std::string NextLine(QProcess::ProcessChannel channel = QProcess::StandardOutput) {
        process_.setReadChannel(channel);
        while (!process_.canReadLine() && process_.waitForReadyRead(10000)) {}
        return process_.readLine().trimmed().toStdString();
    }
    std::string Printed() {
        process_.waitForReadyRead(100);
        return process_.readAllStandardOutput().toStdString();
    }

private:
    QProcess process_;
};

inline uint16_t FreePort() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    return server.serverPort();
}

inline bool Listening(uint16_t port) {
    for (int tries = 0; tries < 100; ++tries, QThread::msleep(100)) {
        QTcpSocket socket;
        socket.connectToHost("127.0.0.1", port);
        if (socket.waitForConnected(100)) return true;
    }
    return false;
}

inline Instruments::InstrumentSettings Settings(Instruments::Driver driver, const std::string& address,
                                                const std::string& read, int32_t timeoutMs = 2000) {
    Instruments::InstrumentSettings settings;
    settings.driver = driver;
    settings.address = address;
    settings.set = ":SOUR:CLOOP1:SPO {setpoint}";
    settings.read = read;
    settings.timeoutMs = timeoutMs;
    return settings;
}
