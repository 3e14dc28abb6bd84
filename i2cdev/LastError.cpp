#include "LastError.h"

#include <mutex>

namespace I2cDev {

namespace {
std::mutex g_mutex;
std::string g_text;
}  // namespace

void NoteLastError(const std::string& text) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_text = text;
}

const char* LastError() {
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_text.c_str();
}

}  // namespace I2cDev
