#include "cli/CliStart.h"

#include "board/BoardStart.h"
#include "cli/FixedRateSchedule.h"
#include "state/GeneralStuff.h"

namespace {

const char* g_step = "driver";
std::string g_shown;  // what the failure path showed, on its way to main

// Thrown by the failure path's last step, caught by AnswerOrBoardFailure alone.
struct BoardFailureEnd {
    std::string text;
};

}  // namespace

void SetFailureStep(const char* step) { g_step = step; }

std::string FailureText(const std::string& message) { return std::string(CliName) + ": " + g_step + ": " + message; }

std::string BoardFailureText(const std::string& message, const std::string& reason) {
    return FailureText(message) + "\n" + (reason.empty() ? "" : reason + "\n");
}

USBStuff::FailureHooks CliFailureHooks() {
    return {[](const std::string& message, const std::string& reason) { g_shown = BoardFailureText(message, reason); },
            [] {},
            [] { throw BoardFailureEnd{g_shown}; }};
}

CliAnswer AnswerOrBoardFailure(const std::function<CliAnswer()>& run) {
    try {
        return run();
    } catch (const BoardFailureEnd& failure) {
        return {ExitBoardFailure, {}, failure.text};
    }
}

bool PatientConnect() {
    // Attempts while their moment lies within the patience.
    FixedRateSchedule attempts(USBStuff::ConnectRetryMs, USBStuff::ConnectPatienceMs + 1);
    for (;;) {
        if (USBStuff::ConnectRequest() == 0) return true;
        attempts.Next();
        if (!attempts.WaitForDue()) return false;
    }
}

void StartBoard(const USBStuff::BoardChoice& choice, bool findChip) {
    SetFailureStep("firmware");
    if (USBStuff::DownloadFirmware() < 0) USBStuff::ReportBoardError(USBStuff::BoardError::FirmwareDownload);
    SetFailureStep("connect");
    if (!PatientConnect()) USBStuff::ReportBoardError(USBStuff::BoardError::InitialConnection);
    SetFailureStep("transfer");
    if (!findChip) return;
    const int32_t address = USBStuff::FindChip(choice.address);
    if (address == 0) {
        SetFailureStep("no chip");
        USBStuff::ReportBoardError(USBStuff::BoardError::InitialConnection);
    }
    USBStuff::DeviceAddress = address;
    GeneralStuff::InitRegisterModel();
}
