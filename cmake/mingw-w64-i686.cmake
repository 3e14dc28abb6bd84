# Cross-building for 32-bit Windows with Debian's mingw-w64 (posix threads): the static Qt and
# the programs alike. KTS_QT_PREFIX, where the static Qt (and QCustomPlot beside it) is
# installed, is searched for the target's packages; host tools (moc, rcc, uic) come from
# QT_HOST_PATH.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(KTS_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_C_COMPILER ${KTS_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KTS_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KTS_MINGW_TRIPLET}-windres)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KTS_QT_PREFIX)
set(CMAKE_FIND_ROOT_PATH /usr/${KTS_MINGW_TRIPLET} ${KTS_QT_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The C and C++ run-time libraries and winpthread linked in: the programs and the driver library
# need nothing besides Windows' own DLLs. Sections each function may be dropped from.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -Wl,--gc-sections")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -Wl,--gc-sections")
