#pragma once
// The events of a run as kts9320b-cli writes them beside its readings: one JSON object a line
// (started, ended, alarm-raised and -cleared, board-lost and -back with a reason, command-ended,
// a user's mark, and the sweep's step events). The bytes may come in pieces, as a file still
// being written grows. A line that cannot be read is passed over and the first such is kept as
// the problem: the run is still worth seeing with the events that did read.
#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QString>

#include <utility>
#include <vector>

struct RunEvent {
    QString kind;      // "mark", "board-lost", "step-started", ...
    QDate date;        // of the clock time written, its offset from UTC kept as the readings keep it
    double secondsOfDay = 0;
    QString flag;      // alarm events: the flag's name
    QString detail;    // a mark's text, a lost board's reason, a step's number and setpoint

    // The time on the axis of a run that began on `runDate`: seconds from its midnight.
    double OnAxis(const QDate& runDate) const;
};

// A span on the run's axis with what it is, e.g. the board lost and why.
struct EventSpan {
    double from = 0;
    double to = 0;
    QString text;
    bool operator==(const EventSpan& other) const { return from == other.from && to == other.to && text == other.text; }
};

// An instant on the run's axis with its label: a mark or a step of a sweep.
struct EventMoment {
    double time = 0;
    QString text;
    bool operator==(const EventMoment& other) const { return time == other.time && text == other.text; }
};

class RunEventsReader {
public:
    static constexpr qsizetype MaxLineBytes = 65536;

    // Reads the file from `offset` on to its present end (a last line without its end waits for
    // the next reading) and moves `offset` there. Returns why the file could not be read, or nothing.
    QString ReadFile(const QString& path, qint64& offset);
    // Reads the whole lines of the bytes that follow what came before; at the end, the last one too.
    void Feed(QByteArrayView bytes, bool atEnd);

    const std::vector<RunEvent>& Events() const { return events_; }
    // The first line passed over, "line 4: …"; empty when every line read.
    const QString& Problem() const { return problem_; }

private:
    void ReadLine(QByteArrayView line);

    std::vector<RunEvent> events_;
    QByteArray pending_;
    qsizetype line_ = 0;
    QString problem_;
};

// The events beside a run: its file name with ".events.jsonl" in place of ".csv".
QString EventsFileBeside(const QString& runPath);

// Each board-lost until the board-back after it, labelled with the reason; a board still lost
// at the last event runs to `end`.
std::vector<EventSpan> BoardLossSpans(const std::vector<RunEvent>& events, const QDate& runDate, double end);
// Marks and the sweep's step events, labelled.
std::vector<EventMoment> MarkedMoments(const std::vector<RunEvent>& events, const QDate& runDate);
// Each flag's alarm-raised until its alarm-cleared (or `end`), by flag name.
std::vector<std::pair<QString, std::vector<std::pair<double, double>>>> AlarmSpansOfEvents(
    const std::vector<RunEvent>& events, const QDate& runDate, double end);
