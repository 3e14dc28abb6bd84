#pragma once
// How the driver library's functions are called: __stdcall on 32-bit Windows, as a vendor's
// library exports them, and the system's one convention elsewhere.
// The convention is a keyword of 32-bit Windows compilers alone.
#if defined(_WIN32) && !defined(_WIN64)
#define KTS_DRIVER_CALL __stdcall
#else
#define KTS_DRIVER_CALL
#endif
