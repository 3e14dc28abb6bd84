#pragma once
// The program's entry: splash, connection, main window, monitoring.
#include "board/BoardChoice.h"
#include "board/USBStuff.h"

class frmMain;

// The program's way out of a board failure: the message box, then every window closed (the
// frame saves its geometry), then the end of the process.
USBStuff::FailureHooks ProgramFailureHooks();
// Installs the failure path and loads the chosen driver library (by default the one in the
// program's folder).
void InstallBoard(const USBStuff::BoardChoice& choice = {});
// Runs the whole start-up and returns the shown main window; every failure ends the
// program through the board failure path.
frmMain* StartUp();
// Start-up, then the event loop, in which SIGTERM, SIGHUP and SIGINT close the program as the
// user's close does; returns the program's exit status.
int RunWindows();
// Installs the board, then runs the windows; returns the program's exit status.
int Main(const USBStuff::BoardChoice& choice);
