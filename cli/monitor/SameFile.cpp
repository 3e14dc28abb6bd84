#include "cli/monitor/SameFile.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Where /dev/stdout does not exist (Windows), standard output is no file of a name.
fs::path OutputPath(const std::string& name) { return name == "-" ? fs::path("/dev/stdout") : fs::path(name); }

}  // namespace

bool SameFile(const std::string& first, const std::string& second) {
    if (first == second) return true;
    const fs::path a = OutputPath(first), b = OutputPath(second);
    std::error_code error;
    const bool aExists = fs::exists(a, error), bExists = fs::exists(b, error);
    if (aExists && bExists) return fs::equivalent(a, b, error);
    if (aExists != bExists) return false;
    // Resolved from the working folder, as the files would be opened.
    const fs::path resolvedA = fs::weakly_canonical(fs::absolute(a, error), error);
    if (error) return false;
    const fs::path resolvedB = fs::weakly_canonical(fs::absolute(b, error), error);
    return !error && resolvedA.lexically_normal() == resolvedB.lexically_normal();
}
