#pragma once
// The metrics endpoint on the network: prometheus-cpp's exposer on civetweb, answering GET on
// /metrics with the chips' metrics and on / with a one-line page that links there; every other
// path is 404 and every other method 405. No request reaches a file. Slow or abusive clients
// (oversized requests, idle connections held open) are cut off by the server's own limits, so
// they never keep the others waiting for long.
#include <prometheus/collectable.h>

#include <memory>
#include <optional>
#include <string>

namespace prometheus {
class Exposer;
}

// A listen address the server can take: "HOST:PORT" with an IPv4 address and a port from 1 to
// 65535. None for anything else: Debian's civetweb is built without IPv6, and a name or a
// civetweb port suffix (s, r, a list) must not slip through.
std::optional<std::string> ListenAddress(const std::string& text);
// True for a listen address (as ListenAddress gives it) whose host is a multicast or broadcast
// address: a server there listens and is never reached.
bool GroupAddress(const std::string& listen);

class MetricsServer {
public:
    // Listens at once. On failure Listening() is false and Error() says why in one line.
    explicit MetricsServer(const std::string& listen);
    ~MetricsServer();

    bool Listening() const { return exposer_ != nullptr; }
    const std::string& Error() const { return error_; }
    // What /metrics serves; kept alive by the caller until Stop().
    void Serve(const std::weak_ptr<prometheus::Collectable>& metrics);
    // Stops listening and waits for the requests under way.
    void Stop();

private:
    std::unique_ptr<prometheus::Exposer> exposer_;
    std::string error_;
};
