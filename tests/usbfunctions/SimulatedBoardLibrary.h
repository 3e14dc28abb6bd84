#pragma once
// Loads a private copy of the built simulated board, so that every test starts with a board
// that has never run and a chip of its own, under its own settings. Only the library's two C functions are used.
#include "support/FreshChip.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <utility>
#include <string>
#include <thread>

namespace SimTest {

constexpr int kChip = 0x4C;
constexpr int16_t kStatusRead = 220;
constexpr int16_t kConnect = 221;
constexpr int16_t kRegister = 222;

inline std::string RuntimeDir() {
    const char* dir = std::getenv("KTS_RUNTIME_DIR");
    return dir ? dir : "";
}

inline std::string FirmwarePath() { return RuntimeDir() + "/KTS9330FW.Hex"; }

inline void Sleep(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

// Milliseconds until the condition holds, or -1 when it does not within the time given.
inline int MillisecondsUntil(const std::function<bool()>& condition, int timeoutMs) {
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now() - start).count();
        if (condition()) return static_cast<int>(elapsed);
        if (elapsed > timeoutMs) return -1;
        Sleep(1);
    }
}

class SimulatedBoardLibrary {
public:
    using Settings = std::initializer_list<std::pair<std::string, std::string>>;

    explicit SimulatedBoardLibrary(Settings settings = {}) {
        char pattern[] = "/tmp/kts-sim-test-XXXXXX";
        if (!mkdtemp(pattern)) throw std::runtime_error("no temporary folder");
        folder_ = pattern;

        ClearSettings();
        UseFreshChip(folder_.string());  // unless the test's settings say otherwise
        for (const auto& [name, value] : settings) setenv(name.c_str(), value.c_str(), 1);
        const std::filesystem::path copy = folder_ / "libUSBFunctions.so";
        std::filesystem::copy_file(std::filesystem::path(RuntimeDir()) / "libUSBFunctions.so", copy);
        handle_ = dlopen(copy.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle_) throw std::runtime_error(std::string("cannot load the simulated board: ") + dlerror());
        loadFirmWare_ = reinterpret_cast<LoadFirmWareFn>(dlsym(handle_, "LoadFirmWare"));
        vendorIORequest_ = reinterpret_cast<VendorIORequestFn>(dlsym(handle_, "VendorIORequest"));
        lastError_ = reinterpret_cast<LastErrorFn>(dlsym(handle_, "DriverLastError"));
        if (!loadFirmWare_ || !vendorIORequest_ || !lastError_) throw std::runtime_error("driver functions missing");
    }

    ~SimulatedBoardLibrary() {
        if (handle_) dlclose(handle_);
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
        ClearSettings();
    }

    SimulatedBoardLibrary(const SimulatedBoardLibrary&) = delete;
    SimulatedBoardLibrary& operator=(const SimulatedBoardLibrary&) = delete;

    const std::filesystem::path& Folder() const { return folder_; }

    int16_t LoadFirmWare(const std::string& path) { return loadFirmWare_(path.c_str()); }
    int16_t Request(int16_t request, int32_t value, int32_t index, int16_t direction, int16_t length,
                    uint8_t* buffer) {
        return vendorIORequest_(request, value, index, direction, length, buffer);
    }
    std::string LastError() { return lastError_(); }
    int16_t Connect() {
        uint8_t scratch = 0;
        return Request(kConnect, 48, 51, 0, 0, &scratch);
    }
    // Firmware download and connect, as the program starts the board.
    void StartUp() {
        ASSERT_EQ(LoadFirmWare(FirmwarePath()), 0);
        ASSERT_EQ(Connect(), 0);
    }
    // A register read that must succeed; the byte read.
    int Read(int reg, int chip = kChip) {
        uint8_t buffer[65] = {};
        EXPECT_EQ(Request(kRegister, chip, reg, 1, 1, buffer), 0) << "read of " << reg;
        return buffer[0];
    }
    void Write(int reg, int data, int chip = kChip) {
        uint8_t scratch = 0;
        EXPECT_EQ(Request(kRegister, chip, data * 256 + reg, 0, 0, &scratch), 0) << "write of " << reg;
    }
    int Status(int chip = kChip) {
        uint8_t buffer[65] = {};
        EXPECT_EQ(Request(kStatusRead, chip, 2, 1, 1, buffer), 0);
        return buffer[0];
    }
    // The status without the busy bit, which depends on when the read falls.
    int Alarms(int chip = kChip) { return Status(chip) & 0x7F; }
    double Remote(int chip = kChip) { return Read(0x01, chip) + (Read(0x10, chip) >> 6) / 4.0; }

private:
    static void ClearSettings() {
        for (const char* name : {"KTS_SIM_ADDRESS", "KTS_SIM_SECOND_ADDRESS", "KTS_SIM_REFUSE_CONNECTS",
                                 "KTS_SIM_FIRMWARE_FAIL", "KTS_SIM_FAIL_AFTER", "KTS_SIM_FAIL_FOR",
                                 "KTS_SIM_DIODE_OPEN", "KTS_SIM_LOCAL_TEMP", "KTS_SIM_REMOTE_TEMP",
                                 "KTS_SIM_PROFILE", "KTS_SIM_PROFILE_SPEED", "KTS_SIM_STATE",
                                 "KTS_SIM_POWER_CYCLE", "KTS_SIM_TRACE", "KTS_SIM_FAIL_AT", "KTS_SIM_CHAMBER_RATE",
                                 "KTS_SIM_LOCAL_LAG", "KTS_SIM_REMOTE_LAG", "KTS_SIM_LOCAL_ERROR",
                                 "KTS_SIM_REMOTE_ERROR", "KTS_SIM_NOISE"})
            unsetenv(name);
    }

    using LoadFirmWareFn = int16_t (*)(const char*);
    using VendorIORequestFn = int16_t (*)(int16_t, int32_t, int32_t, int16_t, int16_t, uint8_t*);
    using LastErrorFn = const char* (*)();

    std::filesystem::path folder_;
    void* handle_ = nullptr;
    LoadFirmWareFn loadFirmWare_ = nullptr;
    VendorIORequestFn vendorIORequest_ = nullptr;
    LastErrorFn lastError_ = nullptr;
};

}  // namespace SimTest
