#include "cli/StopSignal.h"

#include <csignal>
#include <initializer_list>
#ifdef _WIN32
#include <windows.h>
#endif

namespace {

volatile std::sig_atomic_t g_stop = 0;

#ifdef _WIN32

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

#else

extern "C" void OnStopSignal(int) { g_stop = 1; }

#endif

}  // namespace

void InstallStopSignals() {
    g_stop = 0;
#ifdef _WIN32
    SetConsoleCtrlHandler(&OnConsoleEvent, TRUE);
#else
    struct sigaction action {};
    action.sa_handler = &OnStopSignal;
    sigemptyset(&action.sa_mask);
    // SA_RESTART: a board transfer or a write under way finishes instead of failing; SA_RESETHAND:
    // the next signal takes its default course.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    // A dropped ssh session sends SIGHUP; Ctrl+\ sends SIGQUIT: both stop the run as SIGTERM does.
    for (const int number : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaction(number, &action, nullptr);
#endif
}

bool StopRequested() { return g_stop != 0; }
