#pragma once
// A line-based link to an instrument (SCPI): each line sent ends in "\n", a reply is one line.
// Calls block for at most the link's timeout; the link opens on first use and opens again on the
// call after it dropped or after an answer came late, so a late reply is never taken for the next.
#include <cstdint>
#include <memory>
#include <string>

namespace Instruments {

class LineLink {
public:
    virtual ~LineLink() = default;
    // Empty on success; the reason on failure.
    virtual std::string Send(const std::string& line) = 0;
    // Sends the line and waits for one reply line (without its line end).
    virtual std::string Query(const std::string& line, std::string& reply) = 0;
};

// "tcp:HOST:PORT" or "serial:DEVICE:BAUD"; none, with the refusal, for any other address.
std::unique_ptr<LineLink> MakeLineLink(const std::string& address, int32_t timeoutMs, std::string& refusal);

}  // namespace Instruments

namespace Instruments {

// Each none, with the refusal, where the build has no network or serial port support.
std::unique_ptr<LineLink> MakeTcpLineLink(const std::string& host, uint16_t port, int32_t timeoutMs,
                                          std::string& refusal);
std::unique_ptr<LineLink> MakeSerialLineLink(const std::string& device, int32_t baud, int32_t timeoutMs,
                                             std::string& refusal);

}  // namespace Instruments
