#include "instruments/DeviceLineLink.h"

#include <QSerialPort>

namespace Instruments {

namespace {

// Eight data bits, no parity, one stop bit, no flow control: what lab instruments ship with.
class SerialLineLink : public DeviceLineLink {
public:
    SerialLineLink(const std::string& device, int32_t baud, int32_t timeoutMs) : DeviceLineLink(timeoutMs) {
        port_.setPortName(QString::fromStdString(device));
        port_.setBaudRate(baud);
    }

protected:
    QIODevice& Device() override { return port_; }
    bool IsOpen() const override { return port_.isOpen(); }
    std::string Open(const QDeadlineTimer&) override {
        if (!port_.open(QIODevice::ReadWrite)) return "cannot open: " + port_.errorString().toStdString();
        port_.clear(QSerialPort::Input);
        return {};
    }
    void Close() override { port_.close(); }

private:
    QSerialPort port_;
};

}  // namespace

std::unique_ptr<LineLink> MakeSerialLineLink(const std::string& device, int32_t baud, int32_t timeoutMs,
                                             std::string&) {
    return std::make_unique<SerialLineLink>(device, baud, timeoutMs);
}

}  // namespace Instruments
