// The folders are the layers. A file may include its own folder and the layers below it;
// windows/ and output/ stand side by side and never include each other, as cli/ and widgets/
// do; the driver libraries include protocol/ and chip/ and nothing else of the program, and
// the program includes nothing of them. Each folder's CMake library links only the layers below
// it, and no layer below widgets/ links Qt Gui or Widgets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Rank of each layer, lowest first; equal ranks are neighbours. Rank 0 stands apart: the
// driver libraries, which may include protocol and chip and nothing else of the program. The
// command-line program stands beside widgets: files and below, never a widget.
const std::map<std::string, int> kLayers = {
    {"protocol", 1}, {"chip", 2},   {"registers", 3}, {"board", 4},  {"state", 5}, {"files", 6},
    {"widgets", 7},  {"cli", 7},    {"chart", 8},     {"windows", 9}, {"output", 9}, {"app", 10},
    {"usbfunctions", 0}, {"i2cdev", 0},
};

bool IncludeAllowed(const std::string& from, const std::string& to) {
    if (from == to) return true;
    const auto f = kLayers.find(from), t = kLayers.find(to);
    if (f == kLayers.end() || t == kLayers.end()) return false;
    if (f->second == 0) return to == "protocol" || to == "chip";
    if (to == "cli") return false;  // a program of its own: nothing else stands on it
    if (t->second == 0) return false;
    return t->second < f->second;
}

fs::path SourceRoot() {
    const char* dir = std::getenv("KTS_SOURCE_DIR");  // set by CTest
    return dir ? fs::path(dir) : fs::current_path();
}

// The layer an include reaches, or "" for a header from outside the project. A name is
// looked for beside the including file first, then from the repository root (every target's
// include root), then, for a bare name, in every layer's folder: a target whose include path
// names another layer's folder reaches that layer with a bare name.
std::string IncludedFolder(const fs::path& root, const fs::path& file, const std::string& ownFolder,
                           const std::string& include) {
    if (fs::exists(file.parent_path() / include)) return ownFolder;
    const auto slash = include.find('/');
    const std::string first = include.substr(0, slash);
    if (slash != std::string::npos && kLayers.count(first) && fs::exists(root / include)) return first;
    if (slash == std::string::npos)
        for (const auto& layer : kLayers)
            if (fs::exists(root / layer.first / include)) return layer.first;
    return "";
}

std::vector<std::string> IncludeViolations(const fs::path& root) {
    static const std::regex includeLine(R"(^\s*#\s*include\s*["<]([^">]+)[">])");
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
                const std::string target = IncludedFolder(root, entry.path(), folder, m[1]);
                if (!target.empty() && !IncludeAllowed(folder, target))
                    found.push_back(fs::relative(entry.path(), root).string() + ":" +
                                    std::to_string(number) + ": includes " + m[0].str());
            }
        }
    }
    return found;
}

std::vector<std::string> LinkViolations(const fs::path& root) {
    static const std::regex libraryName(R"(\bkts_(\w+))");
    static const std::regex displayLibrary(R"(\bQt6?::(Gui|Widgets)\b)");
    static const std::regex layerPath(R"(\$\{PROJECT_SOURCE_DIR\}/(\w+)/)");
    std::vector<std::string> found;
    for (const auto& [folder, rank] : kLayers) {
        std::ifstream in(root / folder / "CMakeLists.txt");
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::string where = folder + "/CMakeLists.txt:";
        // Each call whole, however many lines it spans.
        static const std::regex linkCall(R"(target_link_libraries\s*\([^)]*\))");
        for (std::sregex_iterator c(text.begin(), text.end(), linkCall), none; c != none; ++c) {
            const std::string call = c->str();
            const auto line = 1 + std::count(text.begin(), text.begin() + c->position(), '\n');
            for (std::sregex_iterator it(call.begin(), call.end(), libraryName), end; it != end; ++it) {
                const std::string target = (*it)[1];
                if (target == folder || !kLayers.count(target)) continue;
                if (!IncludeAllowed(folder, target))
                    found.push_back(where + std::to_string(line) + ": links kts_" + target);
            }
            // Below widgets a program without a display must be able to stand.
            if (rank != 0 && rank < kLayers.at("widgets") && std::regex_search(call, displayLibrary))
                found.push_back(where + std::to_string(line) + ": links Qt Gui or Widgets");
        }
        // A source or include folder of another layer, named by path, is reached unseen.
        for (std::sregex_iterator it(text.begin(), text.end(), layerPath), end; it != end; ++it) {
            const std::string target = (*it)[1];
            if (target != folder && kLayers.count(target) && !IncludeAllowed(folder, target))
                found.push_back(where + " names " + (*it)[0].str());
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
        {"usbfunctions", "protocol", true}, {"i2cdev", "protocol", true}, {"registers", "protocol", true},
        {"i2cdev", "usbfunctions", false},  {"protocol", "registers", false},
        {"chip", "protocol", true},    {"registers", "chip", true},  {"usbfunctions", "chip", true},
        {"protocol", "chip", false},   {"chip", "registers", false},
        {"files", "state", true},      {"output", "files", true},    {"files", "widgets", false},
        {"cli", "files", true},        {"cli", "widgets", false},    {"cli", "output", false},
        {"cli", "app", false},         {"widgets", "cli", false},    {"app", "cli", false},
        {"output", "chart", true},     {"chart", "widgets", true},   {"chart", "output", false},
        {"chart", "windows", false},   {"cli", "chart", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IncludeAllowed(c.from, c.to), c.allowed) << c.from << " -> " << c.to;
}

// Each hole the scan must see, planted alone in a small tree of its own.
TEST(Layering, EachPlantedViolationIsFound) {
    struct Case {
        const char* what;
        std::map<std::string, std::string> files;
        bool violation;
    };
    const std::string widgetLink = "target_link_libraries(kts_state PUBLIC kts_board Qt6::Widgets)";
    const Case cases[] = {
        {"quoted include of a layer above", {{"registers/a.h", "#include \"board/b.h\""}, {"board/b.h", ""}}, true},
        {"angle-bracket include of a project header", {{"state/a.cpp", "#include <widgets/w.h>"}, {"widgets/w.h", ""}}, true},
        {"bare include found through another folder", {{"i2cdev/a.cpp", "#include \"CallTrace.h\""}, {"usbfunctions/CallTrace.h", ""}}, true},
        {"driver library including the program", {{"usbfunctions/a.cpp", "#include \"registers/r.h\""}, {"registers/r.h", ""}}, true},
        {"command-line program including a widget", {{"cli/a.cpp", "#include \"widgets/w.h\""}, {"widgets/w.h", ""}}, true},
        {"link call spread over lines", {{"board/CMakeLists.txt", "target_link_libraries(kts_board PUBLIC\n  kts_state)"}}, true},
        {"layer below widgets linking Widgets", {{"state/CMakeLists.txt", widgetLink}}, true},
        {"files linking Gui", {{"files/CMakeLists.txt", "target_link_libraries(kts_files\n PUBLIC Qt6::Gui)"}}, true},
        {"driver library compiling another's file",
         {{"i2cdev/CMakeLists.txt", "add_library(x ${PROJECT_SOURCE_DIR}/usbfunctions/CallTrace.cpp)"}}, true},
        {"driver library including protocol", {{"i2cdev/a.cpp", "#include \"protocol/p.h\""}, {"protocol/p.h", ""}}, false},
        {"bare include of its own folder", {{"i2cdev/a.cpp", "#include \"b.h\"\n#include <vector>"}, {"i2cdev/b.h", ""}}, false},
        {"command-line program on files", {{"cli/CMakeLists.txt", "target_link_libraries(kts_cli PRIVATE kts_files Qt6::Core)"}}, false},
    };
    for (const auto& c : cases) {
        const fs::path root = fs::temp_directory_path() / ("kts-layering-" + std::to_string(&c - cases));
        fs::remove_all(root);
        for (const auto& [path, text] : c.files) {
            fs::create_directories((root / path).parent_path());
            std::ofstream(root / path) << text << "\n";
        }
        auto found = IncludeViolations(root);
        for (const auto& v : LinkViolations(root)) found.push_back(v);
        EXPECT_EQ(!found.empty(), c.violation) << c.what << "\n" << Lines(found);
        fs::remove_all(root);
    }
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
