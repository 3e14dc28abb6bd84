#include "instruments/DeviceLineLink.h"

#include "instruments/InstrumentTexts.h"

namespace Instruments {

namespace {

// A reply this long without a line end is not an instrument's answer.
constexpr qint64 LongestReply = 64 * 1024;

}  // namespace

std::string DeviceLineLink::Send(const std::string& line) {
    const QDeadlineTimer deadline(timeoutMs_);
    return Write(line, deadline);
}

std::string DeviceLineLink::Query(const std::string& line, std::string& reply) {
    const QDeadlineTimer deadline(timeoutMs_);
    std::string failure = Write(line, deadline);
    if (failure.empty()) failure = ReadLine(reply, deadline);
    return failure;
}

std::string DeviceLineLink::Write(const std::string& line, const QDeadlineTimer& deadline) {
    // Takes in what arrived since the last call (and notices a link the other end closed), so
    // nothing left over is read as the answer to this line.
    if (IsOpen()) Device().waitForReadyRead(0);
    if (!IsOpen()) {
        const std::string failure = Open(deadline);
        if (!failure.empty()) return Failed(failure);
    }
    Device().readAll();
    const QByteArray bytes = QByteArray::fromStdString(line) + '\n';
    if (Device().write(bytes) != bytes.size()) return Failed("cannot send: " + Device().errorString().toStdString());
    while (Device().bytesToWrite() > 0) {
        if (!Device().waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
            return Failed(deadline.hasExpired() ? NoAnswerWithin(timeoutMs_)
                                                : "cannot send: " + Device().errorString().toStdString());
    }
    return {};
}

std::string DeviceLineLink::ReadLine(std::string& reply, const QDeadlineTimer& deadline) {
    while (!Device().canReadLine()) {
        if (Device().bytesAvailable() > LongestReply) return Failed("the reply has no line end");
        if (deadline.hasExpired() || !Device().waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            return Failed(deadline.hasExpired() ? NoAnswerWithin(timeoutMs_)
                                                : "the link closed: " + Device().errorString().toStdString());
    }
    reply = Device().readLine().toStdString();
    while (!reply.empty() && (reply.back() == '\n' || reply.back() == '\r')) reply.pop_back();
    return {};
}

// A link that failed is closed, so the next call starts afresh and a late answer is not read.
std::string DeviceLineLink::Failed(const std::string& why) {
    Close();
    return why;
}

}  // namespace Instruments
