#pragma once
// The line exchange over any Qt device that blocks with a timeout (a TCP socket, a serial port):
// the device's own kind only opens it, closes it and tells whether it is still open.
#include "instruments/LineLink.h"

#include <QDeadlineTimer>
#include <QIODevice>

namespace Instruments {

class DeviceLineLink : public LineLink {
public:
    std::string Send(const std::string& line) override;
    std::string Query(const std::string& line, std::string& reply) override;

protected:
    explicit DeviceLineLink(int32_t timeoutMs) : timeoutMs_(timeoutMs) {}
    virtual QIODevice& Device() = 0;
    virtual bool IsOpen() const = 0;
    // Empty on success; the reason on failure.
    virtual std::string Open(const QDeadlineTimer& deadline) = 0;
    virtual void Close() = 0;
    int32_t TimeoutMs() const { return timeoutMs_; }

private:
    std::string Write(const std::string& line, const QDeadlineTimer& deadline);
    std::string ReadLine(std::string& reply, const QDeadlineTimer& deadline);
    std::string Failed(const std::string& why);
    int32_t timeoutMs_;
};

}  // namespace Instruments
