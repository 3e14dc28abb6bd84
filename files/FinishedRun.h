#pragma once
// A finished (or still growing) run as the files hold it: the times of its readings, each
// trace's values, the chip's status where the file has it and the limits of its last reading.
#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

struct FinishedRun {
    // Where the run starts in its file, for the choice between several: "from line 40".
    QString heading;
    // The times count seconds from the run's start (the windows program's log, whose times are
    // nominal) rather than from the midnight that began `date`.
    bool elapsedAxis = false;
    QDate date;
    QStringList traceNames;
    std::vector<double> times;
    std::vector<std::vector<double>> values;   // one a trace; NaN where a field was empty
    std::vector<std::uint8_t> status;          // one a reading, or none without a status column
    // High, low and THERM of the local, then of the remote channel, as the last reading had them.
    std::optional<std::array<double, 6>> limits;

    std::size_t Rows() const { return times.size(); }
    // The spans in which any alarm flag of the status was set, from the first reading that
    // showed it to the first that did not (or the last reading).
    std::vector<std::pair<double, double>> AlarmSpans() const;
};
