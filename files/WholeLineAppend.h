#pragma once
// Appending to a file that other programs append to at the same time, as a monitor and a mark
// share a run's events file: a line goes out in one write on a file opened for appending, so it
// lands whole at the end, between the others' lines and never inside one.
#include <string>

#ifdef _WIN32
using AppendTarget = void*;  // a HANDLE opened with FILE_APPEND_DATA, or standard output's
#else
using AppendTarget = int;    // a descriptor opened with O_APPEND, or standard output
#endif

// Writes the bytes at the end. A regular file takes them whole or not at all: a part written is
// cut off the end again; a pipe or a terminal may take them in parts. Empty when every byte
// went out, otherwise "NAME: why".
std::string WriteWhole(AppendTarget target, bool regularFile, const std::string& name, const std::string& bytes);

// The size of a regular file and its last byte, read through a handle of its own, since an
// appending one cannot read; false for an empty file or one that is not a regular file.
bool LastByte(const std::string& name, long long& size, char& last);

// True when the file's last byte is something other than a line end: a line appended to it
// must first end that one.
bool EndsInsideALine(const std::string& name);

// Opens the file for appending (created when missing), writes the line whole and closes it.
// The line starts on a line of its own when the file's last line lacks its end. Empty on
// success, otherwise "NAME: why".
std::string AppendWholeLine(const std::string& name, const std::string& line);
