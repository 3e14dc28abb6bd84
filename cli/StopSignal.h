#pragma once
// Ctrl+C (SIGINT), SIGTERM, and where they exist SIGHUP and SIGQUIT as a request to stop: the
// run ends after the line in hand, with status 0. The handler only sets a flag; a second signal
// ends the program at once.

// Installs the handlers for a run that has had no stop request yet.
void InstallStopSignals();
bool StopRequested();
