// The folders are the layers. A file may include its own folder and the layers below it;
// windows/ and output/ stand side by side and never include each other; the driver libraries
// include nothing of the program, and the program includes nothing of them. Each folder's
// CMake library links only the layers below it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Rank of each layer, lowest first; equal ranks are neighbours. Rank 0 stands apart: the
// driver libraries, which may include protocol and nothing else of the program.
const std::map<std::string, int> kLayers = {
    {"protocol", 1}, {"registers", 2}, {"board", 3}, {"state", 4}, {"files", 5},
    {"widgets", 6},  {"windows", 7},   {"output", 7}, {"app", 8},
    {"usbfunctions", 0}, {"i2cdev", 0},
};

bool IncludeAllowed(const std::string& from, const std::string& to) {
    if (from == to) return true;
    const auto f = kLayers.find(from), t = kLayers.find(to);
    if (f == kLayers.end() || t == kLayers.end()) return false;
    if (f->second == 0) return to == "protocol";
    if (t->second == 0) return false;
    return t->second < f->second;
}

fs::path SourceRoot() {
    const char* dir = std::getenv("KTS_SOURCE_DIR");  // set by CTest
    return dir ? fs::path(dir) : fs::current_path();
}

// The folder a quoted include names: its first path element, or the including file's own
// folder for a bare file name.
std::string IncludedFolder(const std::string& include, const std::string& ownFolder) {
    const auto slash = include.find('/');
    return slash == std::string::npos ? ownFolder : include.substr(0, slash);
}

std::vector<std::string> IncludeViolations(const fs::path& root) {
    static const std::regex includeLine(R"(^\s*#\s*include\s*"([^"]+)\")");
    std::vector<std::string> found;
    for (const auto& [folder, rank] : kLayers) {
        (void)rank;
        if (!fs::is_directory(root / folder)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
            const auto ext = entry.path().extension();
            if (ext != ".h" && ext != ".cpp") continue;
            std::ifstream in(entry.path());
            std::string line;
            for (int number = 1; std::getline(in, line); ++number) {
                std::smatch m;
                if (!std::regex_search(line, m, includeLine)) continue;
                const std::string target = IncludedFolder(m[1], folder);
                if (!IncludeAllowed(folder, target))
                    found.push_back(fs::relative(entry.path(), root).string() + ":" +
                                    std::to_string(number) + ": includes \"" + m[1].str() + "\"");
            }
        }
    }
    return found;
}

std::vector<std::string> LinkViolations(const fs::path& root) {
    static const std::regex libraryName(R"(\bkts_(\w+))");
    std::vector<std::string> found;
    for (const auto& [folder, rank] : kLayers) {
        if (rank == 0) continue;
        std::ifstream in(root / folder / "CMakeLists.txt");
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            if (line.find("target_link_libraries") == std::string::npos) continue;
            for (std::sregex_iterator it(line.begin(), line.end(), libraryName), end; it != end; ++it) {
                const std::string target = (*it)[1];
                if (target == folder || kLayers.count(target) == 0) continue;
                if (!IncludeAllowed(folder, target))
                    found.push_back(folder + "/CMakeLists.txt:" + std::to_string(number) +
                                    ": links kts_" + target);
            }
        }
    }
    return found;
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& l : lines) text += l + "\n";
    return text;
}

}  // namespace

TEST(Layering, TheRuleBetweenFolders) {
    struct Case { const char* from; const char* to; bool allowed; };
    const Case cases[] = {
        {"app", "windows", true},      {"app", "output", true},      {"output", "widgets", true},
        {"windows", "state", true},    {"state", "board", true},     {"board", "registers", true},
        {"widgets", "registers", true}, {"output", "output", true},
        {"registers", "board", false}, {"board", "state", false},    {"state", "widgets", false},
        {"widgets", "windows", false}, {"windows", "output", false}, {"output", "windows", false},
        {"windows", "app", false},     {"state", "app", false},
        {"app", "usbfunctions", false}, {"usbfunctions", "registers", false},
        {"i2cdev", "board", false},    {"tests", "app", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IncludeAllowed(c.from, c.to), c.allowed) << c.from << " -> " << c.to;
}

TEST(Layering, NoIncludeRunsUpOrSideways) {
    const auto root = SourceRoot();
    ASSERT_TRUE(fs::is_directory(root / "registers")) << root;
    const auto violations = IncludeViolations(root);
    EXPECT_TRUE(violations.empty()) << Lines(violations);
}

TEST(Layering, EachLibraryLinksOnlyTheLayersBelow) {
    const auto root = SourceRoot();
    ASSERT_TRUE(fs::exists(root / "app" / "CMakeLists.txt")) << root;
    const auto violations = LinkViolations(root);
    EXPECT_TRUE(violations.empty()) << Lines(violations);
}
