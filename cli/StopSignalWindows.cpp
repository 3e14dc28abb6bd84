#include "cli/StopSignal.h"

#include <csignal>
#include <windows.h>

namespace {

volatile std::sig_atomic_t g_stop = 0;

// Runs on a thread of its own that the system starts for the console event.
BOOL WINAPI OnConsoleEvent(DWORD event) {
    if (g_stop) return FALSE;  // a second Ctrl+C: the default, which ends the program at once
    g_stop = 1;
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) return TRUE;
    // A closed console, a log-off or a shutdown ends the process as soon as this returns; waiting
    // here lets the run finish its line and exit first, within the few seconds the system grants.
    Sleep(4000);
    return TRUE;
}

}  // namespace

void InstallStopSignals() {
    g_stop = 0;
    SetConsoleCtrlHandler(&OnConsoleEvent, TRUE);
}

bool StopRequested() { return g_stop != 0; }
