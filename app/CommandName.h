#pragma once
// The program's name on the command line and in its package. Apart from the command line, so
// that what only names the program (the settings store's notes) need not stand on it.

inline constexpr const char* CommandName = "kts9320b-eval";
