// The metrics serve exposes, by name and labels, against scripted chips: one in the default
// range, one in the extended range; then a failed reading and the reconnect at the next scrape.
#include "CliRunner.h"

#include "cli/serve/ExporterMetrics.h"
#include "cli/serve/ScrapedChips.h"

#include <gtest/gtest.h>
#include <map>
#include <prometheus/text_serializer.h>
#include <sstream>

namespace {

class ServeMetrics : public ::testing::Test {
protected:
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
    std::map<std::string, std::string> Scrape() {
        std::istringstream text(prometheus::TextSerializer().Serialize(chips.Collect()));
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

}  // namespace
