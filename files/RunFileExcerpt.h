#pragma once
// One run of a file as the file holds it: the lines that head the run (a log's title, the column
// header, a byte-order mark) and its rows whose times lie in a span, byte for byte, so that every
// column the run came with stays and the result reads as the original does. The times are those
// RunFileReader gives, the chart's own.
#include <QByteArray>
#include <QString>

// Appends run `run` (0 for the first) of the file to `excerpt`, its rows from `from` to `to`
// (seconds on the run's time axis, both included). A file still `growing` keeps a last line
// without its end out, as a half-written row. Returns why it could not, or nothing.
QString RunFileExcerpt(const QString& path, int run, double from, double to, bool growing, QByteArray& excerpt);
