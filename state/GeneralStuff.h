#pragma once
// The run-time state shared by the whole program, and the register model's start-up step.
#include <array>
#include <cstdint>
#include <QString>
#include <functional>

namespace GeneralStuff {

extern int32_t ReadInterval;     // ms
extern int16_t GraphInterval;    // ms
extern int32_t LogInterval;      // ms; also the time step of the log's time column
extern bool MonitoringEnabled;
extern std::array<bool, 3> LogChannel;   // 0 local, 1 remote; 2 is never read
extern bool LoggingActive;
// The log's slots since logging started: the lines written, plus the slots skipped while the
// program stood still, so that the time column (this count times LogInterval) stays true.
extern int32_t LogLineCount;
extern QString LogFileName;
extern int16_t FileNumber;
extern std::array<float, 3> Temperature;  // 0 local, 1 remote, in degrees Celsius
extern bool RegMapOpen;
extern bool LimitsOpen;
extern bool GraphOpen;

inline const char* const AppTitle = "KTS9320B Evaluation Software";
constexpr int VersionMajor = 1;
constexpr int VersionMinor = 0;
constexpr int VersionRevision = 0;
// "1.0.0"
QString VersionText();

// Re-reads the Configuration register into the shadow flags after a write to address 9.
void UpdateShadow(int32_t address);
// Builds the register table, sets the run-time defaults and fills the shadow from the chip.
void InitRegisterModel();
// Reads registers 0x00, 0x10, 0x01 and sets Temperature(0) and Temperature(1).
void ReadTemperatures();
// Installs UpdateShadow as the board layer's after-write hook.
void InstallShadowHook();
// Takes a free file number for the next file operation.
int16_t FreeFileNumber();

// Panel 1 of the main window's status bar, and the master timer, as the frame installed them.
void SetStatusText(const QString& text);
void SetStatusTextHandler(std::function<void(const QString&)> handler);
void SetMasterTimerEnabled(bool enabled);
// Whether the master timer runs; true where no frame tells (the timer runs from start-up on).
bool MasterTimerEnabled();
void SetMasterTimerHandler(std::function<void(bool)> handler, std::function<bool()> isEnabled = nullptr);

// Every value above back to its start-up value (for tests).
void ResetRunTimeState();

}  // namespace GeneralStuff
