#include "board/USBStuff.h"

#include "board/ChipOnBoard.h"
#include "chip/ChipRegisters.h"
#include "protocol/BoardProtocol.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <utility>

namespace USBStuff {

using namespace BoardProtocol;

int32_t DeviceAddress = 0;
std::array<uint8_t, 65> ReadBuffer{};
std::string FirmwarePath;
std::array<uint8_t, 513> FirmwarePathBuffer{};

namespace {

BoardDriver* g_driver = nullptr;
std::string g_programFolder;
std::function<void(int32_t)> g_afterWrite;
FailureHooks g_failureHooks;
bool g_failureReported = false;

constexpr char NativeSeparator = static_cast<char>(std::filesystem::path::preferred_separator);

}  // namespace

void SetDriver(BoardDriver* driver) { g_driver = driver; }
BoardDriver* Driver() { return g_driver; }

void SetProgramFolder(const std::string& folder) { g_programFolder = folder; }
const std::string& ProgramFolder() { return g_programFolder; }

void CopyToAnsiBuffer(const std::string& path) {
    // A longer path is cut at the buffer's end rather than written past it.
    const size_t length = std::min(path.size(), FirmwarePathBuffer.size() - 1);
    for (size_t i = 0; i < length; ++i) FirmwarePathBuffer[i] = static_cast<uint8_t>(path[i]);
    FirmwarePathBuffer[length] = 0;
}

int16_t DownloadFirmware() {
    // The name is appended with its separator whatever the folder ends with.
    FirmwarePath = g_programFolder + NativeSeparator + FirmwareFileName;
    CopyToAnsiBuffer(FirmwarePath);
    if (!g_driver) return -1;
    return g_driver->LoadFirmWare(reinterpret_cast<const char*>(FirmwarePathBuffer.data()));
}

int16_t ConnectRequest() {
    if (!g_driver) return 1;
    uint8_t scratch = 0;
    return g_driver->VendorIORequest(kConnect, kConnectValue, kConnectIndex, kDirectionOut, 0, &scratch);
}

ChipOnBoard OpenedChip() { return ChipOnBoard(g_driver, DeviceAddress); }

// The windows program's register path: a failed transfer ends the program.
int16_t ReadRegister(int32_t chipAddress, int32_t registerAddress) {
    if (g_failureReported || !g_driver) ReportBoardError(BoardError::CommunicationsInterrupted);
    const ChipTransfer read = ChipOnBoard(g_driver, chipAddress).Read(registerAddress);
    if (!read) ReportBoardFailure(read);
    ReadBuffer[0] = static_cast<uint8_t>(read.value);
    return ReadBuffer[0];
}

int16_t WriteRegister(int32_t chipAddress, int32_t registerAddress, int32_t& data) {
    if (g_failureReported || !g_driver) ReportBoardError(BoardError::CommunicationsInterrupted);
    if (data > 255) data = 255;
    const ChipTransfer written = ChipOnBoard(g_driver, chipAddress).Write(registerAddress, data);
    if (!written) ReportBoardFailure(written);
    AfterWrite(registerAddress);
    return 0;
}

void AfterWrite(int32_t registerAddress) {
    if (g_afterWrite) g_afterWrite(registerAddress);
}

int32_t ReadStatusRegister() {
    if (!g_failureReported && g_driver)
        g_driver->VendorIORequest(kStatusRead, DeviceAddress, Chip::Reg::Status.read, kDirectionIn, kReadLength,
                                  ReadBuffer.data());
    return ReadBuffer[0];
}

void SetAfterWriteHook(std::function<void(int32_t)> hook) { g_afterWrite = std::move(hook); }

void ReportBoardError(int16_t code) { ReportFailure(BoardErrorMessage(code), g_driver ? g_driver->LastError() : ""); }

void ReportBoardFailure(const ChipTransfer& failed) { ReportFailure(BoardErrorMessage(failed.error), failed.reason); }

void ReportFailure(const std::string& message, const std::string& reason) {
    // A second failure while the first is being reported goes straight to the end.
    if (!g_failureReported) {
        g_failureReported = true;
        if (g_failureHooks.present) {
            g_failureHooks.present(message, reason);
        } else {
            std::fprintf(stderr, "%s\n", message.c_str());
        }
        if (g_failureHooks.closeAllWindows) g_failureHooks.closeAllWindows();
    }
    if (g_failureHooks.endProcess) g_failureHooks.endProcess();
    std::fflush(nullptr);
    std::_Exit(1);
}

void SetFailureHooks(FailureHooks hooks) { g_failureHooks = std::move(hooks); }
bool FailureReported() { return g_failureReported; }
void ResetFailureState() { g_failureReported = false; }

}  // namespace USBStuff
