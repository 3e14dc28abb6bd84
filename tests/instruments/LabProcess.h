#pragma once
// The instruments' stand-ins a test starts on loopback or on a pseudo-terminal, ended with it.
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

// A script of this folder (run by Debian's Python, which has pymodbus) or another program.
class LabProcess {
public:
    explicit LabProcess(QStringList args, QString program = "") {
        if (program.isEmpty()) program = QFile::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
        if (args[0].endsWith(".py")) args[0] = qEnvironmentVariable("KTS_SOURCE_DIR") + "/tests/instruments/" + args[0];
        process_.start(program, args);
    }
    ~LabProcess() { process_.kill(), process_.waitForFinished(); }
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
