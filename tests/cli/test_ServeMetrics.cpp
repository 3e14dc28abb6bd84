// The metrics serve exposes, by name and labels, against scripted chips: one in the default
// range, one in the extended range; then a failed reading and the reconnect at the next scrape;
// a board that is not there yet, searched for at the scrapes. The whole exposition is compared
// with tests/cli/fixtures/serve-exposition.prom; KTS_UPDATE_FIXTURES=1 rewrites that file from
// this run. It holds serve's own registry only: the HTTP endpoint adds prometheus-cpp's
// exposer_* series (scrape durations), which vary and are no part of it.
#include "CliRunner.h"

#include "cli/serve/ExporterMetrics.h"
#include "cli/serve/ScrapedChips.h"

#include <gtest/gtest.h>
#include <fstream>
#include <thread>
#include <map>
#include <prometheus/text_serializer.h>
#include <sstream>

namespace {

class ServeMetrics : public ::testing::Test {
public:
    ServeMetrics() {
        auto& a = cli.driver.Chip(0x4C);
        a[0x00] = 45, a[0x01] = 60, a[0x10] = 0x40, a[0x02] = 0x50;  // LocHi and RemHi
        a[0x05] = 40, a[0x07] = 55, a[0x13] = 0xC0, a[0x21] = 7;
        auto& b = cli.driver.Chip(0x4D);
        FillChipDefaults(b);
        b[0x03] = 0x04, b[0x00] = 54, b[0x01] = 64 + 100, b[0x06] = 0, b[0x02] = 0x04;  // extended; OPEN
        chips.Start();
    }
    // Every sample of one scrape, "name{labels}" to its value.
    std::map<std::string, std::string> Scrape() { return Samples(chips); }
    static std::map<std::string, std::string> Samples(const ScrapedChips& scraped) {
        std::istringstream text(prometheus::TextSerializer().Serialize(scraped.Collect()));
        std::map<std::string, std::string> samples;
        for (std::string line; std::getline(text, line);)
            if (!line.empty() && line[0] != '#') samples[line.substr(0, line.rfind(' '))] = line.substr(line.rfind(' ') + 1);
        return samples;
    }

    CliRunner cli;
    ExporterMetrics metrics{{"1.0.0", "sim", "1"}, {0x4C, 0x4D}};
    ScrapedChips chips{metrics, {0x4C, 0x4D}, std::chrono::milliseconds(0)};
};

TEST_F(ServeMetrics, NamesAndValuesAsTheChipsHoldThem) {
    const auto samples = Scrape();
    const std::pair<const char*, const char*> expected[] = {
        {R"(kts9320b_temperature_celsius{address="0x4c",channel="local"})", "45"},
        {R"(kts9320b_temperature_celsius{address="0x4c",channel="remote"})", "60.25"},
        {R"(kts9320b_temperature_celsius{address="0x4d",channel="local"})", "-10"},
        {R"(kts9320b_temperature_celsius{address="0x4d",channel="remote"})", "100"},
        {R"(kts9320b_limit_celsius{address="0x4c",channel="local",limit="high"})", "40"},
        {R"(kts9320b_limit_celsius{address="0x4c",channel="remote",limit="high"})", "55.75"},
        {R"(kts9320b_limit_celsius{address="0x4c",channel="remote",limit="therm"})", "85"},
        {R"(kts9320b_limit_celsius{address="0x4d",channel="local",limit="low"})", "-64"},
        {R"(kts9320b_therm_hysteresis_celsius{address="0x4c"})", "7"},
        {R"(kts9320b_alarm{address="0x4c",flag="LocHi"})", "1"},
        {R"(kts9320b_alarm{address="0x4c",flag="RemHi"})", "1"},
        {R"(kts9320b_alarm{address="0x4c",flag="RemLo"})", "0"},
        {R"(kts9320b_alarm{address="0x4d",flag="OPEN"})", "1"},
        {R"(kts9320b_status{address="0x4c"})", "80"},
        {R"(kts9320b_up{address="0x4d"})", "1"},
        {R"(kts9320b_read_errors_total{address="0x4c"})", "0"},
        {R"(kts9320b_reconnects_total)", "0"},
        {R"(kts9320b_build_info{bus="1",driver="sim",version="1.0.0"})", "1"},
    };
    for (const auto& [series, value] : expected) {
        const auto found = samples.find(series);
        ASSERT_NE(found, samples.end()) << series;
        EXPECT_EQ(found->second, value) << series;
    }
    EXPECT_EQ(samples.count(R"(kts9320b_alarm{address="0x4c",flag="Bsy"})"), 0u);  // busy is no alarm
    EXPECT_TRUE(cli.driver.Writes().empty());  // it only ever reads
}

TEST_F(ServeMetrics, AFailedReadingIsDownWithoutValuesAndTheNextScrapeReconnects) {
    Scrape();
    cli.driver.failAfter = static_cast<int>(cli.driver.log.size());
    auto samples = Scrape();
    EXPECT_EQ(samples[R"(kts9320b_up{address="0x4c"})"], "0");
    EXPECT_EQ(samples[R"(kts9320b_read_errors_total{address="0x4c"})"], "1");
    EXPECT_EQ(samples.count(R"(kts9320b_temperature_celsius{address="0x4c",channel="local"})"), 0u);
    cli.driver.failAfter = -1;
    samples = Scrape();
    EXPECT_EQ(samples[R"(kts9320b_up{address="0x4c"})"], "1");
    EXPECT_EQ(samples[R"(kts9320b_reconnects_total)"], "2");  // each chip's session reconnects
    EXPECT_EQ(samples[R"(kts9320b_temperature_celsius{address="0x4c",channel="local"})"], "45");
}

TEST_F(ServeMetrics, ScrapesWithinTheMinimumIntervalShareOneReading) {
    ScrapedChips shared{metrics, {0x4C}, std::chrono::hours(1)};
    shared.Collect();
    const size_t reads = cli.driver.Reads().size();
    shared.Collect();
    EXPECT_EQ(cli.driver.Reads().size(), reads);
}

// The exposition with each family's series in label order: the library keeps them in a hash map.
std::string Ordered(const std::string& exposition) {
    std::istringstream text(exposition);
    std::vector<std::pair<int, std::string>> lines;  // each comment line begins a group; '#' sorts first
    int group = 0;
    for (std::string line; std::getline(text, line);) lines.emplace_back(line[0] == '#' ? ++group : group, line);
    std::sort(lines.begin(), lines.end());
    std::string result;
    for (const auto& line : lines) result += line.second + "\n";
    return result;
}

TEST_F(ServeMetrics, TheWholeExpositionOfTwoChipsIsTheFixtures) {
    const std::string exposition = Ordered(prometheus::TextSerializer().Serialize(chips.Collect()));
    const std::string fixture = std::string(std::getenv("KTS_SOURCE_DIR")) + "/tests/cli/fixtures/serve-exposition.prom";
    if (const char* update = std::getenv("KTS_UPDATE_FIXTURES"); update && std::string(update) == "1")
        std::ofstream(fixture, std::ios::binary) << exposition;
    std::ifstream file(fixture, std::ios::binary);
    EXPECT_EQ(exposition, std::string(std::istreambuf_iterator<char>(file), {}))
        << "rewrite the fixture with KTS_UPDATE_FIXTURES=1 where the change is meant";
}

TEST(ServeWithoutABoard, EachScrapeIsDownWithTheStepCountedUntilTheSearchFindsTheChip) {
    const std::pair<const char*, std::function<void(ScriptedDriver&, bool)>> cases[] = {
        {"firmware", [](ScriptedDriver& d, bool on) { d.firmwareResult = on ? -1 : 0; }},
        {"connect", [](ScriptedDriver& d, bool on) { d.connectRefusals = on ? 1000000 : 0; }},
        {"no chip", [](ScriptedDriver& d, bool on) { d.Chip(0x4C)[0xFE] = on ? 0 : 0x41; }},
    };
    for (const auto& [step, fail] : cases) {
        CliRunner cli;
        fail(cli.driver, true);
        ExporterMetrics metrics{{"1.0.0", "sim", ""}, {}};
        ScrapedChips chips{metrics, {}, std::chrono::milliseconds(0)};
        chips.Start();
        EXPECT_EQ(ServeMetrics::Samples(chips)["kts9320b_up"], "0") << step;
        // Still one: the next attempt waits its pause.
        EXPECT_EQ(ServeMetrics::Samples(chips)["kts9320b_search_failures_total{reason=\"" + std::string(step) + "\"}"], "1") << step;
        fail(cli.driver, false);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        auto samples = ServeMetrics::Samples(chips);
        EXPECT_EQ(samples[R"(kts9320b_up{address="0x4c"})"], "1") << step;
        EXPECT_EQ(samples.count("kts9320b_up"), 0u) << step << ": the searching series is gone";
    }
}

}  // namespace
