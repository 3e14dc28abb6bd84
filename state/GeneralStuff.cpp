#include "state/GeneralStuff.h"

#include "state/RunTimeDefaults.h"

#include "board/ChipReading.h"
#include "board/USBStuff.h"
#include "chip/ChipRegisters.h"
#include "registers/RegMapStuff.h"
#include "state/OpenedChipReading.h"

namespace GeneralStuff {

int32_t ReadInterval = Defaults.readInterval;
int16_t GraphInterval = Defaults.graphInterval;
int32_t LogInterval = Defaults.logInterval;
bool MonitoringEnabled = Defaults.monitoringEnabled;
std::array<bool, 3> LogChannel = Defaults.logChannel;
bool LoggingActive = false;
int32_t LogLineCount = 0;
QString LogFileName;
int16_t FileNumber = 0;
std::array<float, 3> Temperature{0.0f, 0.0f, 0.0f};
bool RegMapOpen = false;
bool LimitsOpen = false;
bool GraphOpen = false;

QString VersionText() {
    return QStringLiteral("%1.%2.%3").arg(VersionMajor).arg(VersionMinor).arg(VersionRevision);
}

void UpdateShadow(int32_t address) {
    if (address != Chip::Reg::Configuration.write) return;
    const int16_t configuration = USBStuff::ReadRegister(USBStuff::DeviceAddress, Chip::Reg::Configuration.read);
    RegMapStuff::SetShadowFromConfiguration(configuration);
}

void InstallShadowHook() { USBStuff::SetAfterWriteHook(&UpdateShadow); }

void InitRegisterModel() {
    RegMapStuff::BuildRegTable();
    ApplyRunTimeDefaults();
    UpdateShadow(Chip::Reg::Configuration.write);
}

void ReadTemperatures() {
    const USBStuff::Temperatures t = ReadOpenedChip([](const USBStuff::ChipOnBoard& chip, USBStuff::ChipTransfer& failed) {
        return USBStuff::TryTemperatures(chip, USBStuff::RemoteBytes::LowThenHigh, failed);
    });
    Temperature[0] = t.local;
    Temperature[1] = t.remote;
}

namespace {
std::function<void(const QString&)> g_statusText;
std::function<void(bool)> g_masterTimer;
std::function<bool()> g_masterTimerEnabled;
}  // namespace

void SetStatusText(const QString& text) {
    if (g_statusText) g_statusText(text);
}
void SetStatusTextHandler(std::function<void(const QString&)> handler) { g_statusText = std::move(handler); }
void SetMasterTimerEnabled(bool enabled) {
    if (g_masterTimer) g_masterTimer(enabled);
}
bool MasterTimerEnabled() { return g_masterTimerEnabled ? g_masterTimerEnabled() : true; }
void SetMasterTimerHandler(std::function<void(bool)> handler, std::function<bool()> isEnabled) {
    g_masterTimer = std::move(handler);
    g_masterTimerEnabled = std::move(isEnabled);
}

int16_t FreeFileNumber() {
    // Files are opened and closed within one operation, so the first number is always free.
    return 1;
}

void ApplyRunTimeDefaults() {
    ReadInterval = Defaults.readInterval;
    GraphInterval = Defaults.graphInterval;
    LogInterval = Defaults.logInterval;
    MonitoringEnabled = Defaults.monitoringEnabled;
    LogChannel = Defaults.logChannel;
}

void ResetRunTimeState() {
    ApplyRunTimeDefaults();
    LoggingActive = false;
    LogLineCount = 0;
    LogFileName.clear();
    FileNumber = 0;
    Temperature = {0.0f, 0.0f, 0.0f};
    RegMapOpen = false;
    LimitsOpen = false;
    GraphOpen = false;
}

}  // namespace GeneralStuff
