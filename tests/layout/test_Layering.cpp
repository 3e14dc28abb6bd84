// The folders are the layers. A file may include its own folder and the layers below it;
// windows/ and output/ stand side by side and never include each other, as cli/ and widgets/
// do; the driver libraries include protocol/ and chip/ and nothing else of the program, and
// the program includes nothing of them. Each folder's CMake library links only the layers below
// it, and no layer below widgets/ links Qt Gui or Widgets. The strip chart stands on widgets/ and
// files/ alone: what it shows, the limits and the program's folder come from its caller. No two
// units (a .h with its .cpp) depend on each other, directly or around a ring.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <queue>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Rank of each layer, lowest first; equal ranks are neighbours. Rank 0 stands apart: the
// driver libraries, which may include protocol and chip and nothing else of the program. The
// command-line program stands beside widgets: files and below, never a widget.
const std::map<std::string, int> kLayers = {
    {"protocol", 1}, {"chip", 2},   {"registers", 3}, {"board", 4},  {"state", 5}, {"files", 6},
    {"instruments", 7}, {"widgets", 8}, {"cli", 8}, {"chart", 9}, {"windows", 10}, {"output", 10},
    {"app", 11},
    {"usbfunctions", 0}, {"i2cdev", 0},
};

bool IncludeAllowed(const std::string& from, const std::string& to) {
    if (from == to) return true;
    const auto f = kLayers.find(from), t = kLayers.find(to);
    if (f == kLayers.end() || t == kLayers.end()) return false;
    if (f->second == 0) return to == "protocol" || to == "chip";
    if (from == "chart") return to == "widgets" || to == "files";
    if (to == "cli") return false;  // a program of its own: nothing else stands on it
    if (t->second == 0) return false;
    return t->second < f->second;
}

fs::path SourceRoot() {
    const char* dir = std::getenv("KTS_SOURCE_DIR");  // set by CTest
    return dir ? fs::path(dir) : fs::current_path();
}

// The project header an include reaches, or an empty path for a header from outside the
// project. A name is looked for beside the including file first, then from the repository root
// (every target's include root), then, for a bare name, in every layer's folder: a target whose
// include path names another layer's folder reaches that layer with a bare name.
fs::path IncludedHeader(const fs::path& root, const fs::path& file, const std::string& include) {
    if (fs::exists(file.parent_path() / include)) return (file.parent_path() / include).lexically_normal();
    const auto slash = include.find('/');
    if (slash != std::string::npos && kLayers.count(include.substr(0, slash)) && fs::exists(root / include))
        return root / include;
    if (slash == std::string::npos)
        for (const auto& layer : kLayers)
            if (fs::exists(root / layer.first / include)) return root / layer.first / include;
    return {};
}

// Calls found(folder, file, line number, include line, header) for each project include in the
// layers' sources, rooms included.
template <typename Found>
void ForEachInclude(const fs::path& root, Found found) {
    static const std::regex includeLine(R"(^\s*#\s*include\s*["<]([^">]+)[">])");
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
                const fs::path header = IncludedHeader(root, entry.path(), m[1]);
                if (!header.empty()) found(folder, entry.path(), number, m[0].str(), header);
            }
        }
    }
}

std::vector<std::string> IncludeViolations(const fs::path& root) {
    std::vector<std::string> found;
    ForEachInclude(root, [&](const std::string& folder, const fs::path& file, int number, const std::string& include,
                             const fs::path& header) {
        const std::string target = header.lexically_relative(root).begin()->string();
        if (!IncludeAllowed(folder, target))
            found.push_back(fs::relative(file, root).string() + ":" + std::to_string(number) + ": includes " + include);
    });
    return found;
}

// A unit is a .h with its .cpp in one folder, named by its path without the suffix.
std::string UnitOf(const fs::path& root, const fs::path& file) {
    return (file.lexically_relative(root).parent_path() / file.stem()).generic_string();
}

// Each ring of units that include one another, as "a -> b -> a": the shortest through each
// unit that is the least (by name) on a ring, so that no ring is named twice.
std::vector<std::string> UnitRings(const fs::path& root) {
    std::map<std::string, std::set<std::string>> includes;
    ForEachInclude(root, [&](const std::string&, const fs::path& file, int, const std::string&, const fs::path& header) {
        const std::string from = UnitOf(root, file), to = UnitOf(root, header);
        if (from != to) includes[from].insert(to);
    });
    std::vector<std::string> rings;
    for (const auto& entry : includes) {
        const std::string& start = entry.first;
        std::map<std::string, std::string> cameFrom;   // breadth first over units after start
        std::queue<std::string> queue;
        queue.push(start);
        while (!queue.empty() && !cameFrom.count(start)) {
            const std::string unit = queue.front();
            queue.pop();
            const auto out = includes.find(unit);
            if (out == includes.end()) continue;
            for (const std::string& to : out->second) {
                if (to < start || cameFrom.count(to)) continue;
                cameFrom[to] = unit;
                queue.push(to);
            }
        }
        if (!cameFrom.count(start)) continue;
        std::string ring = start;
        for (std::string unit = cameFrom[start]; unit != start; unit = cameFrom[unit]) ring = unit + " -> " + ring;
        rings.push_back(start + " -> " + ring);
    }
    return rings;
}

std::string FileText(const fs::path& path) {
    std::ifstream in(path);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Each layer's CMakeLists.txt and those of its rooms (cli/serve/CMakeLists.txt).
std::vector<fs::path> LayerCMakeFiles(const fs::path& root, const std::string& folder) {
    std::vector<fs::path> files;
    if (!fs::is_directory(root / folder)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(root / folder))
        if (entry.path().filename() == "CMakeLists.txt") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// The layer whose library a kts_ name is: the layer of that name, the layer its first part
// names (kts_cli_text), or the layer whose CMake files add it (kts_serve in cli/serve).
std::string LibraryLayer(const std::map<std::string, std::string>& added, const std::string& name) {
    if (kLayers.count(name)) return name;
    const std::string first = name.substr(0, name.find('_'));
    if (kLayers.count(first)) return first;
    const auto owner = added.find(name);
    return owner == added.end() ? "" : owner->second;
}

// The libraries each layer's CMake files add, by name (without kts_).
std::map<std::string, std::string> AddedLibraries(const fs::path& root) {
    static const std::regex addLibrary(R"(add_library\s*\(\s*kts_(\w+))");
    std::map<std::string, std::string> added;
    for (const auto& [folder, rank] : kLayers) {
        (void)rank;
        for (const auto& file : LayerCMakeFiles(root, folder)) {
            const std::string text = FileText(file);
            for (std::sregex_iterator it(text.begin(), text.end(), addLibrary), end; it != end; ++it)
                added[(*it)[1]] = folder;
        }
    }
    return added;
}

void FileLinkViolations(const fs::path& root, const fs::path& file, const std::string& folder,
                        const std::map<std::string, std::string>& added, std::vector<std::string>& found) {
    static const std::regex libraryName(R"(\bkts_(\w+))");
    static const std::regex displayLibrary(R"(\bQt6?::(Gui|Widgets)\b)");
    static const std::regex layerPath(R"(\$\{PROJECT_SOURCE_DIR\}/(\w+)/)");
    // Each call whole, however many lines it spans.
    static const std::regex linkCall(R"(target_link_libraries\s*\([^)]*\))");
    const std::string text = FileText(file);
    const std::string where = fs::relative(file, root).generic_string() + ":";
    const int rank = kLayers.at(folder);
    for (std::sregex_iterator c(text.begin(), text.end(), linkCall), none; c != none; ++c) {
        const std::string call = c->str();
        const auto line = 1 + std::count(text.begin(), text.begin() + c->position(), '\n');
        for (std::sregex_iterator it(call.begin(), call.end(), libraryName), end; it != end; ++it) {
            const std::string target = LibraryLayer(added, (*it)[1]);
            if (target.empty() || target == folder) continue;
            if (!IncludeAllowed(folder, target))
                found.push_back(where + std::to_string(line) + ": links " + (*it)[0].str());
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

std::vector<std::string> LinkViolations(const fs::path& root) {
    const auto added = AddedLibraries(root);
    std::vector<std::string> found;
    for (const auto& [folder, rank] : kLayers) {
        (void)rank;
        for (const auto& file : LayerCMakeFiles(root, folder)) FileLinkViolations(root, file, folder, added, found);
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
        {"chart", "windows", false},   {"cli", "chart", false},     {"chart", "files", true},
        {"chart", "board", false},     {"chart", "state", false},    {"chart", "app", false},
        {"chart", "cli", false},       {"chart", "registers", false},
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
        {"chart including the run-time state", {{"chart/a.cpp", "#include \"state/s.h\""}, {"state/s.h", ""}}, true},
        {"a room of cli linking a widget", {{"cli/serve/CMakeLists.txt", "target_link_libraries(kts_serve kts_widgets)"}}, true},
        {"a window linking a room of cli", {{"windows/CMakeLists.txt", "target_link_libraries(kts_windows kts_cli_text)"}}, true},
        {"a window linking the library a room of cli adds",
         {{"cli/serve/CMakeLists.txt", "add_library(kts_serve STATIC s.cpp)"},
          {"output/CMakeLists.txt", "target_link_libraries(kts_output kts_serve)"}}, true},
        {"two units including each other",
         {{"chart/A.h", "#include \"chart/B.h\""}, {"chart/B.h", ""}, {"chart/B.cpp", "#include \"chart/A.h\""}}, true},
        {"three units in a ring across rooms",
         {{"cli/text/A.h", "#include \"cli/B.h\""}, {"cli/B.h", ""}, {"cli/B.cpp", "#include \"cli/monitor/C.h\""},
          {"cli/monitor/C.h", "#include \"cli/text/A.h\""}}, true},
        {"three units in a chain",
         {{"app/A.h", "#include \"app/B.h\""}, {"app/B.h", ""}, {"app/B.cpp", "#include \"app/B.h\"\n#include \"app/C.h\""},
          {"app/C.h", ""}}, false},
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
        for (const auto& v : UnitRings(root)) found.push_back(v);
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

TEST(Layering, NoUnitsDependOnEachOther) {
    const auto root = SourceRoot();
    ASSERT_TRUE(fs::is_directory(root / "app")) << root;
    const auto rings = UnitRings(root);
    EXPECT_TRUE(rings.empty()) << Lines(rings);
}
