#pragma once
// Board access: firmware download, register reads and writes, and the one failure path.
#include "board/BoardDriver.h"
#include "board/BoardError.h"
#include "board/ChipOnBoard.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace USBStuff {

extern int32_t DeviceAddress;                    // the chip's SMBus address; 0 until found
extern std::array<uint8_t, 65> ReadBuffer;       // byte 0 holds the value after a read
extern std::string FirmwarePath;
extern std::array<uint8_t, 513> FirmwarePathBuffer;
// The firmware image's file name in the program's folder.
inline constexpr const char* FirmwareFileName = "KTS9330FW.Hex";

// The driver every request goes to (not owned). The program sets the loaded library.
void SetDriver(BoardDriver* driver);
BoardDriver* Driver();

// The program's own folder, without a trailing separator (the executable's folder).
void SetProgramFolder(const std::string& folder);
const std::string& ProgramFolder();

// Writes the path as single bytes into FirmwarePathBuffer, then a 0 byte; never past its end.
void CopyToAnsiBuffer(const std::string& path);
int16_t DownloadFirmware();
// The connect request; the library's result (0 once the board is ready).
int16_t ConnectRequest();
// The chip found on the opened board: DeviceAddress on the driver in use.
ChipOnBoard OpenedChip();
// The windows program's register path over ChipOnBoard: a failure is reported and ends the process.
int16_t ReadRegister(int32_t chipAddress, int32_t registerAddress);
// Clamps data above 255 to 255 in the caller's variable.
int16_t WriteRegister(int32_t chipAddress, int32_t registerAddress, int32_t& data);
// What follows every successful write (the shadow update), for callers that write through ChipOnBoard.
void AfterWrite(int32_t registerAddress);
// The status read of the Status register; the result is not looked at. Returns ReadBuffer byte 0.
int32_t ReadStatusRegister();

// Called after every successful write with the address written (the shadow update).
void SetAfterWriteHook(std::function<void(int32_t address)> hook);

// The failure path: message, close every window, end the process. Never returns.
// The board shows nothing itself: the program installs the presenter of the message.
// A board failure carries the driver's reason for it, where the driver gives one.
[[noreturn]] void ReportBoardError(int16_t code);
// The same for a failed transfer, with the reason it carries.
[[noreturn]] void ReportBoardFailure(const ChipTransfer& failed);
[[noreturn]] void ReportFailure(const std::string& message, const std::string& reason = std::string());

// Shows a failure's message, and under it the reason when there is one: a message box in the
// windows program, standard error in a program without a display.
using FailurePresenter = std::function<void(const std::string& message, const std::string& reason)>;

struct FailureHooks {
    FailurePresenter present;  // without one the message goes to standard error
    std::function<void()> closeAllWindows;
    std::function<void()> endProcess;  // must not return; tests make it throw
};
void SetFailureHooks(FailureHooks hooks);
// True once a failure has been reported: nothing may send another request.
bool FailureReported();
// For tests: forget an earlier reported failure.
void ResetFailureState();

}  // namespace USBStuff
