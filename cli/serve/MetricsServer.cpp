#include "cli/serve/MetricsServer.h"

#include <CivetServer.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <civetweb.h>
#include <prometheus/exposer.h>

#include <cstring>
#include <mutex>
#include <stdexcept>
#include <vector>

namespace {

constexpr const char* MetricsPath = "/metrics";
constexpr const char* IndexPage =
    "<html><head><title>KTS9320B exporter</title></head><body><a href=\"/metrics\">Metrics</a></body></html>\n";

// Each connection holds a worker until its request is whole, and this civetweb has no limit
// per client: enough workers that 500 idle or trickling connections still leave some to the
// scrapers (an idle worker costs a blocked thread and its 8 kB buffer), and a request not whole
// within 2 s is cut off, so such connections give their workers back soon. A request larger
// than the limit is refused before it is handled; a client gets no connection kept alive.
constexpr const char* WorkerThreads = "600";
constexpr const char* RequestTimeoutMs = "2000";
constexpr const char* MaxRequestBytes = "8192";
constexpr const char* LingerTimeoutMs = "100";

std::mutex g_logMutex;
std::string g_firstLog;  // civetweb's first word: why it could not listen

int BeginRequest(mg_connection* connection) {
    const mg_request_info* request = mg_get_request_info(connection);
    const char* path = request->local_uri ? request->local_uri : "";
    if (std::strcmp(request->request_method, "GET") != 0) {
        mg_send_http_error(connection, 405, "Only GET is answered here.\n");
        return 405;
    }
    if (std::strcmp(path, MetricsPath) == 0) return 0;  // the exposer answers
    if (std::strcmp(path, "/") == 0) {
        mg_send_http_ok(connection, "text/html; charset=utf-8", static_cast<long long>(std::strlen(IndexPage)));
        mg_write(connection, IndexPage, std::strlen(IndexPage));
        return 200;
    }
    mg_send_http_error(connection, 404, "Not found: the metrics are at /metrics.\n");
    return 404;
}

int LogMessage(const mg_connection*, const char* message) {
    const std::lock_guard<std::mutex> lock(g_logMutex);
    if (g_firstLog.empty() && message) g_firstLog = message;
    return 1;  // nothing on standard error: a client's fault is no news for the service's log
}

std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

}  // namespace

std::optional<std::string> ListenAddress(const std::string& text) {
    const auto colon = text.rfind(':');
    if (colon == std::string::npos || colon + 1 == text.size() || text.size() - colon > 6) return std::nullopt;
    long port = 0;
    for (size_t i = colon + 1; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        port = port * 10 + (text[i] - '0');
    }
    const std::string host = text.substr(0, colon);
    in_addr address{};
    if (port < 1 || port > 65535 || inet_pton(AF_INET, host.c_str(), &address) != 1) return std::nullopt;
    return host + ":" + std::to_string(port);
}

bool GroupAddress(const std::string& listen) {
    in_addr address{};
    if (inet_pton(AF_INET, listen.substr(0, listen.rfind(':')).c_str(), &address) != 1) return false;
    const uint32_t host = ntohl(address.s_addr);
    return IN_MULTICAST(host) || host == INADDR_BROADCAST;
}

MetricsServer::MetricsServer(const std::string& listen) {
    CivetCallbacks callbacks;
    callbacks.begin_request = &BeginRequest;
    callbacks.log_message = &LogMessage;
    const std::vector<std::string> options = {
        "listening_ports", listen,          "num_threads",      WorkerThreads,
        "request_timeout_ms", RequestTimeoutMs, "max_request_size", MaxRequestBytes,
        "linger_timeout_ms", LingerTimeoutMs, "enable_keep_alive", "no",
    };
    try {
        exposer_ = std::make_unique<prometheus::Exposer>(options, &callbacks);
    } catch (const std::exception& failure) {
        const std::lock_guard<std::mutex> lock(g_logMutex);
        error_ = OneLine(g_firstLog.empty() ? failure.what() : g_firstLog);
    }
}

MetricsServer::~MetricsServer() = default;

void MetricsServer::Stop() { exposer_.reset(); }

void MetricsServer::Serve(const std::weak_ptr<prometheus::Collectable>& metrics) {
    if (exposer_) exposer_->RegisterCollectable(metrics, MetricsPath);
}
