#pragma once
// A finished (or still growing) run as the files hold it: the times of its readings, each
// trace's values, the chip's status where the file has it and the limits of its last reading.
// Once the rows are handed on (to a chart, which keeps them more compactly), the run can let
// them go and keep only what it still needs: their count, the last time and the alarm spans.
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
    // The rows held, from row FirstRowHeld() on.
    std::vector<double> times;
    std::vector<std::vector<double>> values;   // one a trace; NaN where a field was empty
    std::vector<std::uint8_t> status;          // one a reading, or none without a status column
    // High, low and THERM of the local, then of the remote channel, as the last reading had them.
    std::optional<std::array<double, 6>> limits;

    // Every row read, those let go included.
    std::size_t Rows() const { return rowsLetGo_ + times.size(); }
    std::size_t FirstRowHeld() const { return rowsLetGo_; }
    // The time of the last row read; only when there is one.
    double LastTime() const { return times.empty() ? lastTimeLetGo_ : times.back(); }
    // The spans in which any alarm flag of the status was set, from the first reading that
    // showed it to the first that did not (or the last reading).
    std::vector<std::pair<double, double>> AlarmSpans() const;
    // The same for each alarm flag on its own, by its bit in the status (not the busy bit).
    std::vector<std::pair<double, double>> FlagSpans(int bit) const;

    // Lets go of the rows held; later rows are held from the next row on.
    void LetGoOfRows();
    // The memory the run takes.
    std::size_t Bytes() const;

private:
    // The spans of the flags `mask` over rows, starting with those let go, and where a span
    // still open began.
    void AddAlarmSpans(int mask, std::vector<std::pair<double, double>>& spans, std::optional<double>& openSince) const;
    std::vector<std::pair<double, double>> SpansOf(int mask, int slot) const;

    std::size_t rowsLetGo_ = 0;
    double lastTimeLetGo_ = 0;
    // Slot 7 (the busy bit's) is any alarm flag; slots 0 to 6 one flag each.
    static constexpr int AnyAlarmSlot = 7;
    std::array<std::vector<std::pair<double, double>>, 8> alarmsLetGo_;   // the spans ended among the rows let go
    std::array<std::optional<double>, 8> alarmOpenSince_;                 // a span that the last row let go was in
};
