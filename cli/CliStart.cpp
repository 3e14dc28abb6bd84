#include "cli/CliStart.h"

#include "board/BoardStart.h"
#include "cli/CliRequest.h"
#include "cli/FixedRateSchedule.h"
#include "state/GeneralStuff.h"

#include <cstdio>
#include <cstdlib>

namespace {
const char* g_step = "driver";
}  // namespace

void SetFailureStep(const char* step) { g_step = step; }

std::string FailureText(const std::string& message) { return std::string(CliName) + ": " + g_step + ": " + message; }

USBStuff::FailureHooks CliFailureHooks() {
    return {[](const std::string& message, const std::string& reason) {
                std::fprintf(stderr, "%s\n", FailureText(message).c_str());
                if (!reason.empty()) std::fprintf(stderr, "%s\n", reason.c_str());
            },
            [] {},
            [] {
                std::fflush(nullptr);
                std::_Exit(ExitBoardFailure);
            }};
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
