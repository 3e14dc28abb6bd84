#include "chart/ChartDataExport.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

constexpr std::int64_t MsPerDay = 86'400'000;

// A field of the header: quoted where it holds a comma, a quote or a line break.
QByteArray HeaderField(const QString& name) {
    QByteArray field = name.toUtf8();
    if (field.contains(',') || field.contains('"') || field.contains('\n') || field.contains('\r')) {
        field.replace('"', "\"\"");
        field = '"' + field + '"';
    }
    return field;
}

// Times on the chart's axis as "2024-05-01T14:05:09.350", rounded to the millisecond. The date
// is made once a day of the run, the time of day by hand: a day's run has 1.7 million lines.
class TimeWriter {
public:
    explicit TimeWriter(const QDate& runDate) : runDate_(runDate) {}

    void Append(QByteArray& out, double seconds) {
        const std::int64_t ms = std::llround(std::max(seconds, 0.0) * 1000);
        const std::int64_t day = ms / MsPerDay;
        if (day != day_) {
            day_ = day;
            dayText_ = runDate_.addDays(day).toString(Qt::ISODate).toLatin1() + 'T';
        }
        const std::int64_t inDay = ms % MsPerDay;
        const int parts[] = {static_cast<int>(inDay / 3'600'000), static_cast<int>(inDay / 60'000 % 60),
                             static_cast<int>(inDay / 1000 % 60)};
        char clock[12];   // HH:MM:SS.mmm
        for (int i = 0; i < 3; ++i) {
            clock[i * 3] = static_cast<char>('0' + parts[i] / 10);
            clock[i * 3 + 1] = static_cast<char>('0' + parts[i] % 10);
            clock[i * 3 + 2] = i < 2 ? ':' : '.';
        }
        const int millis = static_cast<int>(inDay % 1000);
        clock[9] = static_cast<char>('0' + millis / 100);
        clock[10] = static_cast<char>('0' + millis / 10 % 10);
        clock[11] = static_cast<char>('0' + millis % 10);
        out.append(dayText_).append(clock, sizeof clock);
    }

private:
    QDate runDate_;
    std::int64_t day_ = -1;
    QByteArray dayText_;
};

// The shortest text that reads back to the same value; nothing for NaN. The chart keeps its values
// as floats, so a value that is a float is written as one: 41.3 read from a file, not the
// 41.29999923706055 that its float widens to.
void AppendValue(QByteArray& out, double value) {
    if (std::isnan(value)) return;
    char text[32];
    const auto narrow = static_cast<float>(value);
    const auto result = static_cast<double>(narrow) == value ? std::to_chars(text, text + sizeof text, narrow)
                                                             : std::to_chars(text, text + sizeof text, value);
    out.append(text, static_cast<int>(result.ptr - text));
}

}  // namespace

const QString ChartDataFilter = QStringLiteral("CSV Files (*.csv)");

QByteArray ChartDataCsv(const std::vector<const TracePoints*>& traces, const QStringList& columnNames,
                        const QDate& runDate, double from, double to) {
    QByteArray out = "Time";
    for (const QString& name : columnNames) out.append(',').append(HeaderField(name));
    out.append("\r\n");

    std::vector<int> next;
    std::vector<int> end;
    qsizetype rows = 0;
    for (const TracePoints* points : traces) {
        next.push_back(points->LowerBound(from));
        end.push_back(points->UpperBound(to));
        rows = std::max<qsizetype>(rows, end.back() - next.back());
    }
    out.reserve(out.size() + rows * (24 + 12 * static_cast<qsizetype>(traces.size())));
    TimeWriter times(runDate);
    for (;;) {
        double time = std::numeric_limits<double>::infinity();
        for (std::size_t t = 0; t < traces.size(); ++t) {
            if (next[t] < end[t]) time = std::min(time, traces[t]->At(next[t]).key);
        }
        if (std::isinf(time)) break;
        times.Append(out, time);
        for (std::size_t t = 0; t < traces.size(); ++t) {
            out.append(',');
            if (next[t] < end[t] && traces[t]->At(next[t]).key == time) AppendValue(out, traces[t]->At(next[t]++).value);
        }
        out.append("\r\n");
    }
    return out;
}
