#pragma once
// The program's entry: splash, connection, main window, monitoring.

class frmMain;

// Loads the driver library from the program's folder and installs the failure path.
void InstallBoard();
// Runs the whole start-up and returns the shown main window; every failure ends the
// program through the board failure path.
frmMain* StartUp();
// Start-up, then the event loop; returns the program's exit status.
int Main();
