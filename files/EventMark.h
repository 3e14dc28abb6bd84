#pragma once
// A user's mark appended to a run's events file: {"event":"mark","time":"…","text":"…"}, the
// time the local clock's with its offset from UTC, as the monitor writes its events.
#include <QString>

#include <string>

// Empty on success, else why the mark was not added.
std::string AppendEventMark(const QString& path, const std::string& text);
