#include "cli/StopSignal.h"

#include <csignal>
#include <initializer_list>

namespace {

volatile std::sig_atomic_t g_stop = 0;

extern "C" void OnStopSignal(int) { g_stop = 1; }

}  // namespace

void InstallStopSignals() {
    g_stop = 0;
    struct sigaction action {};
    action.sa_handler = &OnStopSignal;
    sigemptyset(&action.sa_mask);
    // SA_RESTART: a board transfer or a write under way finishes instead of failing; SA_RESETHAND:
    // the next signal takes its default course.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    // A dropped ssh session sends SIGHUP; Ctrl+\ sends SIGQUIT: both stop the run as SIGTERM does.
    for (const int number : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaction(number, &action, nullptr);
}

bool StopRequested() { return g_stop != 0; }
