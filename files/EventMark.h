#pragma once
// A mark in a run's events file: a line the user adds ("door opened") beside the events a
// monitor writes, in the same form, so that the chart shows it at its time. The command line's
// mark and the chart's "Add Mark…" both write it here.
#include <QString>
#include <string>

// {"time":"2024-05-01T14:03:07.123+02:00","event":"mark","text":"door opened"} and its line end.
std::string EventMarkLine(const std::string& time, const std::string& text);

// Appends a mark with the text at the present local time, in one write, whole, even while a
// monitor appends to the same file. Empty on success, otherwise why it failed.
std::string AppendEventMark(const QString& path, const std::string& text);
