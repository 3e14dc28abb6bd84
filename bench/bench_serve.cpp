// kts9320b-cli serve on the simulated board, scraped from outside as Prometheus scrapes it (a
// new connection for each GET /metrics):
//   10 scrapers at once (ServeTenScrapers):  median_ms (wanted: under 2), p99_ms (under 10)
//   100 000 scrapes (ServeMemory):           rss_growth_MB after a warm-up (wanted: under 1)
//   20 s without a scrape (ServeIdle):       core_percent (wanted: under 0.1)
#include <benchmark/benchmark.h>

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <spawn.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// A port on loopback that nothing listens at now.
int FreePort() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    close(s);
    return ntohs(address.sin_port);
}

// One GET /metrics; true when the exposition came back whole.
bool Scrape(int port) {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool whole = false;
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        const char request[] = "GET /metrics HTTP/1.1\r\nHost: bench\r\nConnection: close\r\n\r\n";
        send(s, request, sizeof request - 1, 0);
        std::string answer;
        char buffer[16384];
        for (ssize_t n; (n = recv(s, buffer, sizeof buffer, 0)) > 0;) answer.append(buffer, static_cast<size_t>(n));
        whole = answer.find("kts9320b_build_info") != std::string::npos;
    }
    close(s);
    return whole;
}

// The exporter as a process of its own, ended with SIGTERM.
class Exporter {
public:
    Exporter() : port_(FreePort()) {
        std::vector<std::string> arguments = {KTS_CLI_PROGRAM, "--address", "0x4c", "serve", "--listen",
                                              "127.0.0.1:" + std::to_string(port_)};
        std::vector<char*> argv;
        for (std::string& a : arguments) argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = 0;
        posix_spawn_file_actions_destroy(&actions);
        for (int i = 0; i < 100 && pid_ && !Scrape(port_); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ~Exporter() {
        if (!pid_) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    int Port() const { return port_; }
    bool Running() const { return pid_ && Scrape(port_); }
    double RssMB() const { return StatusKB("VmRSS:") / 1024.0; }
    // User and system time the process used so far.
    double CpuSeconds() const {
        std::ifstream in("/proc/" + std::to_string(pid_) + "/stat");
        std::string field;
        double ticks = 0;
        for (int i = 1; i <= 15 && in >> field; ++i)
            if (i == 14 || i == 15) ticks += std::stod(field);
        return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
    }

private:
    double StatusKB(const std::string& key) const {
        std::ifstream in("/proc/" + std::to_string(pid_) + "/status");
        for (std::string line; std::getline(in, line);)
            if (line.rfind(key, 0) == 0) return std::stod(line.substr(key.size()));
        return 0;
    }
    int port_;
    pid_t pid_ = 0;
};

// Each of the scrapers scrapes this many times; the latencies of every scrape, in ms.
std::vector<double> ScrapeTogether(int port, int scrapers, int each, std::atomic<int>& failed) {
    std::vector<std::vector<double>> latencies(static_cast<size_t>(scrapers));
    std::vector<std::thread> threads;
    for (auto& mine : latencies)
        threads.emplace_back([&mine, port, each, &failed] {
            for (int i = 0; i < each; ++i) {
                const auto start = Clock::now();
                if (!Scrape(port)) ++failed;
                mine.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            }
        });
    for (auto& t : threads) t.join();
    std::vector<double> all;
    for (const auto& mine : latencies) all.insert(all.end(), mine.begin(), mine.end());
    std::sort(all.begin(), all.end());
    return all;
}

void BM_ServeTenScrapers(benchmark::State& state) {
    Exporter exporter;
    if (!exporter.Running()) return state.SkipWithError("the exporter did not start");
    for (auto _ : state) {
        std::atomic<int> failed{0};
        const auto start = Clock::now();
        const auto all = ScrapeTogether(exporter.Port(), 10, 1000, failed);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        if (failed) state.SkipWithError("a scrape failed");
        state.counters["median_ms"] = all[all.size() / 2];
        state.counters["p99_ms"] = all[all.size() * 99 / 100];
    }
}
BENCHMARK(BM_ServeTenScrapers)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

void BM_ServeMemory(benchmark::State& state) {
    Exporter exporter;
    if (!exporter.Running()) return state.SkipWithError("the exporter did not start");
    for (auto _ : state) {
        std::atomic<int> failed{0};
        // The warm-up: every worker thread has served and every buffer has its size.
        ScrapeTogether(exporter.Port(), 10, 2000, failed);
        const double before = exporter.RssMB();
        const auto start = Clock::now();
        ScrapeTogether(exporter.Port(), 10, static_cast<int>(state.range(0)) / 10, failed);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        if (failed) state.SkipWithError("a scrape failed");
        state.counters["rss_MB"] = exporter.RssMB();
        state.counters["rss_growth_MB"] = exporter.RssMB() - before;
    }
}
BENCHMARK(BM_ServeMemory)->Arg(100000)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

void BM_ServeIdle(benchmark::State& state) {
    Exporter exporter;
    if (!exporter.Running()) return state.SkipWithError("the exporter did not start");
    for (auto _ : state) {
        std::this_thread::sleep_for(std::chrono::seconds(1));  // the start's work done
        const double before = exporter.CpuSeconds();
        const auto start = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(state.range(0)));
        const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(elapsed);
        state.counters["core_percent"] = 100.0 * (exporter.CpuSeconds() - before) / elapsed;
    }
}
BENCHMARK(BM_ServeIdle)->Arg(20)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
