#include "instruments/DeviceLineLink.h"
#include "instruments/InstrumentTexts.h"

#include <QTcpSocket>

namespace Instruments {

namespace {

class TcpLineLink : public DeviceLineLink {
public:
    TcpLineLink(const std::string& host, uint16_t port, int32_t timeoutMs)
        : DeviceLineLink(timeoutMs), host_(QString::fromStdString(host)), port_(port) {}

protected:
    QIODevice& Device() override { return socket_; }
    bool IsOpen() const override { return socket_.state() == QAbstractSocket::ConnectedState; }
    std::string Open(const QDeadlineTimer& deadline) override {
        socket_.connectToHost(host_, port_);
        if (socket_.waitForConnected(static_cast<int>(deadline.remainingTime()))) return {};
        const std::string failure = deadline.hasExpired() || socket_.error() == QAbstractSocket::SocketTimeoutError
                                        ? NoAnswerWithin(TimeoutMs())
                                        : "cannot connect: " + socket_.errorString().toStdString();
        socket_.abort();
        return failure;
    }
    void Close() override { socket_.abort(); }

private:
    QTcpSocket socket_;
    QString host_;
    uint16_t port_;
};

}  // namespace

std::unique_ptr<LineLink> MakeTcpLineLink(const std::string& host, uint16_t port, int32_t timeoutMs, std::string&) {
    return std::make_unique<TcpLineLink>(host, port, timeoutMs);
}

}  // namespace Instruments
