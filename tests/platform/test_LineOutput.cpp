// The monitor's output file is appended to and never truncated, the header goes only into a
// file that holds nothing yet, and every line ends in a bare line feed, on every system.
#include "cli/monitor/LineOutput.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

namespace {

std::string Contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(LineOutput, AppendsWithTheHeaderOnlyIntoAnEmptyFile) {
    struct Case {
        const char* name;
        std::optional<std::string> before;  // none: no file yet
        std::string after;
    };
    const Case cases[] = {
        {"no file", std::nullopt, "time,C\n1,30\n2,31\n"},
        {"an empty file", "", "time,C\n1,30\n2,31\n"},
        {"a file with lines", "time,C\n0,29\n", "time,C\n0,29\n1,30\n2,31\n"},
    };
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "kts-line-output.csv";
    for (const Case& c : cases) {
        std::filesystem::remove(file);
        if (c.before) std::ofstream(file, std::ios::binary) << *c.before;
        {
            LineOutput output(file.string());
            ASSERT_TRUE(output.IsOpen()) << output.Error();
            output.SetHeader("time,C\n");
            EXPECT_TRUE(output.Write("1,30\n") && output.Write("2,31\n")) << output.Error();
        }
        EXPECT_EQ(Contents(file), c.after) << c.name;
    }
    std::filesystem::remove(file);
}

}  // namespace
