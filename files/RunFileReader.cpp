#include "files/RunFileReader.h"

#include "chip/ChipRegisters.h"
#include "files/FileSafety.h"

#include <QFile>

#include <charconv>
#include <cmath>
#include <limits>

namespace {

constexpr double NoValue = std::numeric_limits<double>::quiet_NaN();
const QByteArray LogTitle = "KTS9320B/3 Log File";
// The monitor's columns the chart reads, in the order of RunFileReader::columns_.
const char* const MonitorColumns[] = {"time",        "local_C",      "remote_C",      "status",
                                      "local_high_C", "local_low_C", "local_therm_C", "remote_high_C",
                                      "remote_low_C", "remote_therm_C"};
enum MonitorColumn { TimeColumn, LocalColumn, RemoteColumn, StatusColumn, FirstLimitColumn };

QByteArrayView Trimmed(QByteArrayView text) {
    while (!text.isEmpty() && (text.front() == ' ' || text.front() == '\t')) text = text.sliced(1);
    while (!text.isEmpty() && (text.back() == ' ' || text.back() == '\t')) text.chop(1);
    return text;
}

// The fields between commas (the programs' files quote nothing that the chart reads).
void SplitFields(QByteArrayView line, std::vector<QByteArrayView>& fields) {
    fields.clear();
    qsizetype start = 0;
    for (qsizetype i = 0; i <= line.size(); ++i) {
        if (i == line.size() || line[i] == ',') {
            fields.push_back(line.sliced(start, i - start));
            start = i + 1;
        }
    }
}

bool Number(QByteArrayView field, double& value) {
    field = Trimmed(field);
    if (field.isEmpty()) return false;
    const char* end = field.data() + field.size();
    const auto result = std::from_chars(field.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

// Beyond these no sensor reads: a value such as 1e308 is a damaged line, and it would leave
// no room on the chart's scale for the rest of its trace.
constexpr double LowestTemperature = -300;
constexpr double HighestTemperature = 1000;

bool Temperature(QByteArrayView field, double& value) {
    return Number(field, value) && value >= LowestTemperature && value <= HighestTemperature;
}

// Why a field that is a number is no temperature: " from -300 to 1000 °C", or nothing.
QString OutOfRange(QByteArrayView field) {
    double value = 0;
    return Number(field, value) ? QStringLiteral(" from %1 to %2 °C").arg(LowestTemperature).arg(HighestTemperature)
                                : QString();
}

// An integer status ("17") or the older hex form ("0x11").
bool StatusByte(QByteArrayView field, std::uint8_t& status) {
    field = Trimmed(field);
    int base = 10;
    if (field.size() > 2 && field[0] == '0' && (field[1] == 'x' || field[1] == 'X')) {
        field = field.sliced(2);
        base = 16;
    }
    int value = 0;
    const char* end = field.data() + field.size();
    const auto result = std::from_chars(field.data(), end, value, base);
    if (field.isEmpty() || result.ec != std::errc() || result.ptr != end || value < 0 || value > 255) return false;
    status = static_cast<std::uint8_t>(value);
    return true;
}

int TwoDigits(QByteArrayView text, qsizetype at) {
    const char a = text[at];
    const char b = text[at + 1];
    if (a < '0' || a > '9' || b < '0' || b > '9') return -1;
    return (a - '0') * 10 + (b - '0');
}

// "Local (°C)" and "Local(°C)" are the trace "Local".
// "+02:00", "-05:30" or "Z" in seconds east of UTC; nothing is an offset of 0 too.
bool UtcOffsetSeconds(QByteArrayView text, int& seconds) {
    seconds = 0;
    if (text.isEmpty() || text == "Z") return true;
    if (text.size() != 6 || (text[0] != '+' && text[0] != '-') || text[3] != ':') return false;
    const int hours = TwoDigits(text, 1);
    const int minutes = TwoDigits(text, 4);
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59) return false;
    seconds = (text[0] == '-' ? -60 : 60) * (hours * 60 + minutes);
    return true;
}

QString TraceName(QByteArrayView header, bool windows1252) {
    const QString text = windows1252 ? QString::fromLatin1(header) : QString::fromUtf8(header);
    const qsizetype bracket = text.indexOf(QLatin1Char('('));
    return (bracket < 0 ? text : text.left(bracket)).trimmed();
}

QString Shown(QByteArrayView field) {
    const QString text = QString::fromUtf8(field.first(std::min<qsizetype>(field.size(), 40)));
    return field.size() > 40 ? text + QStringLiteral("…") : text;
}

}  // namespace

void FinishedRun::AddAlarmSpans(int mask, std::vector<std::pair<double, double>>& spans,
                                std::optional<double>& openSince) const {
    for (std::size_t i = 0; i < status.size() && i < times.size(); ++i) {
        const bool alarm = status[i] & mask;
        if (alarm && !openSince) {
            openSince = times[i];
        } else if (!alarm && openSince) {
            spans.emplace_back(*openSince, times[i]);
            openSince.reset();
        }
    }
}

namespace {
constexpr int AlarmFlags = 0xFF & ~Chip::StatusBit::Busy;
}  // namespace

std::vector<std::pair<double, double>> FinishedRun::SpansOf(int mask, int slot) const {
    std::vector<std::pair<double, double>> spans = alarmsLetGo_[slot];
    std::optional<double> openSince = alarmOpenSince_[slot];
    AddAlarmSpans(mask, spans, openSince);
    if (openSince) spans.emplace_back(*openSince, LastTime());
    return spans;
}

std::vector<std::pair<double, double>> FinishedRun::AlarmSpans() const { return SpansOf(AlarmFlags, AnyAlarmSlot); }

std::vector<std::pair<double, double>> FinishedRun::FlagSpans(int bit) const {
    if (bit <= 0 || (bit & AlarmFlags) != bit || (bit & (bit - 1)) != 0) return {};
    int slot = 0;
    while ((1 << slot) != bit) ++slot;
    return SpansOf(bit, slot);
}

void FinishedRun::LetGoOfRows() {
    for (int slot = 0; slot < 8; ++slot) {
        AddAlarmSpans(slot == AnyAlarmSlot ? AlarmFlags : 1 << slot, alarmsLetGo_[slot], alarmOpenSince_[slot]);
    }
    lastTimeLetGo_ = LastTime();
    rowsLetGo_ += times.size();
    // Swapped with empty ones: clear() would keep the memory.
    std::vector<double>().swap(times);
    for (auto& trace : values) std::vector<double>().swap(trace);
    std::vector<std::uint8_t>().swap(status);
}

std::size_t FinishedRun::Bytes() const {
    std::size_t bytes = sizeof *this + times.capacity() * sizeof(double) + status.capacity() + heading.capacity() * sizeof(QChar);
    for (const auto& spans : alarmsLetGo_) bytes += spans.capacity() * sizeof(spans.front());
    for (const auto& trace : values) bytes += sizeof trace + trace.capacity() * sizeof(double);
    for (const QString& name : traceNames) bytes += sizeof name + name.capacity() * sizeof(QChar);
    return bytes;
}

std::size_t RunFileReader::Bytes() const {
    std::size_t bytes = sizeof *this + pending_.capacity() + dateText_.capacity() +
                        fields_.capacity() * sizeof(QByteArrayView) + runs_.capacity() * sizeof(FinishedRun);
    for (const FinishedRun& run : runs_) bytes += run.Bytes() - sizeof run;
    return bytes;
}

bool RunFileReader::Fail(const QString& what) {
    problem_ = {line_, what};
    return false;
}

QString RunFileReader::Message(const QString& fileName) const {
    if (problem_.line == 0) return QStringLiteral("%1: %2").arg(fileName, problem_.what);
    return QStringLiteral("%1, line %2: %3").arg(fileName).arg(problem_.line).arg(problem_.what);
}

bool RunFileReader::Feed(QByteArrayView bytes, bool atEnd) {
    if (!problem_.IsEmpty()) return false;
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = bytes.indexOf('\n', start);
        if (end < 0) break;
        QByteArrayView line = bytes.sliced(start, end - start);
        if (!pending_.isEmpty()) {
            pending_.append(line.data(), line.size());
            line = pending_;
        }
        start = end + 1;
        if (!ReadLine(line)) return false;
        pending_.clear();
    }
    pending_.append(bytes.data() + start, bytes.size() - start);
    if (pending_.size() > MaxLineBytes) {
        ++line_;
        return Fail(QStringLiteral("expected a line of at most %1 bytes").arg(MaxLineBytes));
    }
    if (atEnd && !pending_.isEmpty()) {
        if (!ReadLine(pending_)) return false;
        pending_.clear();
    }
    return true;
}

bool RunFileReader::Finish() {
    if (!problem_.IsEmpty()) return false;
    // Growth left room for half as many rows again; a finished file grows no more.
    for (FinishedRun& run : runs_) {
        run.times.shrink_to_fit();
        run.status.shrink_to_fit();
        for (auto& trace : run.values) trace.shrink_to_fit();
    }
    for (const FinishedRun& run : runs_) {
        if (run.Rows() > 0) return true;
    }
    line_ = 0;
    return Fail(QStringLiteral("the file holds no readings"));
}

bool RunFileReader::ReadLine(QByteArrayView line) {
    ++line_;
    if (line.size() > MaxLineBytes) return Fail(QStringLiteral("expected a line of at most %1 bytes").arg(MaxLineBytes));
    if (line.endsWith('\r')) line.chop(1);
    if (line_ == 1 && line.startsWith("\xEF\xBB\xBF")) line = line.sliced(3);
    switch (format_) {
    case Format::Unknown: return Trimmed(line).isEmpty() || StartFormat(line);
    case Format::Monitor: return line.isEmpty() || ReadMonitorRow(line);
    case Format::ChartExport: return line.isEmpty() || ReadChartRow(line);
    case Format::WindowsLog: return ReadLogRow(line);
    }
    return true;
}

bool RunFileReader::StartFormat(QByteArrayView line) {
    if (line.startsWith("time,")) return ReadMonitorHeader(line);
    if (line.startsWith("Time,")) return ReadChartHeader(line);
    if (Trimmed(line) == LogTitle) {
        format_ = Format::WindowsLog;
        inLogHeading_ = true;
        return true;
    }
    return Fail(QStringLiteral("expected the header of a monitor CSV (time,elapsed_s,…), of the chart's export "
                               "(Time,…) or the log title \"%1\"").arg(QString::fromLatin1(LogTitle)));
}

FinishedRun& RunFileReader::NewRun(QStringList traceNames) {
    FinishedRun& run = runs_.emplace_back();
    run.heading = QStringLiteral("from line %1").arg(line_);
    run.values.resize(traceNames.size());
    run.traceNames = std::move(traceNames);
    dateText_.clear();
    offsetOfRun_.reset();
    return run;
}

bool RunFileReader::ReadMonitorHeader(QByteArrayView line) {
    std::vector<QByteArrayView>& fields = fields_;   // reused: a run has millions of lines
    SplitFields(line, fields);
    columns_.fill(-1);
    for (int c = 0; c < static_cast<int>(std::size(MonitorColumns)); ++c) {
        for (int f = 0; f < static_cast<int>(fields.size()); ++f) {
            if (Trimmed(fields[f]) == MonitorColumns[c]) columns_[c] = f;
        }
        if (c < StatusColumn && columns_[c] < 0) {
            return Fail(QStringLiteral("expected a column \"%1\" in the monitor's header").arg(MonitorColumns[c]));
        }
    }
    fieldCount_ = static_cast<int>(fields.size());
    format_ = Format::Monitor;
    NewRun({QStringLiteral("Local"), QStringLiteral("Remote1")});
    return true;
}

bool RunFileReader::ReadChartHeader(QByteArrayView line) {
    std::vector<QByteArrayView>& fields = fields_;   // reused: a run has millions of lines
    SplitFields(line, fields);
    QStringList names;
    for (std::size_t f = 1; f < fields.size(); ++f) names << TraceName(fields[f], false);
    if (names.isEmpty()) return Fail(QStringLiteral("expected at least one column of values after \"Time\""));
    fieldCount_ = static_cast<int>(fields.size());
    format_ = Format::ChartExport;
    NewRun(names);
    return true;
}

bool RunFileReader::ClockSeconds(QByteArrayView field, double& seconds) {
    // 2024-05-01T14:03:07.123, perhaps with an offset from UTC (+02:00, Z).
    if (field.size() < 19 || field[10] != 'T' || field[13] != ':' || field[16] != ':') return false;
    const int hours = TwoDigits(field, 11);
    const int minutes = TwoDigits(field, 14);
    const int whole = TwoDigits(field, 17);
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || whole < 0 || whole > 60) return false;
    // The fraction as a whole number of its last digit's units (to the nanosecond), so that one
    // division gives the double nearest the time written, as the same text read as a number would.
    std::int64_t fraction = 0;
    std::int64_t units = 1;
    qsizetype at = 19;
    if (at < field.size() && field[at] == '.') {
        for (++at; at < field.size() && field[at] >= '0' && field[at] <= '9'; ++at) {
            if (units == 1'000'000'000) continue;
            fraction = fraction * 10 + (field[at] - '0');
            units *= 10;
        }
    }
    int offset = 0;
    if (!UtcOffsetSeconds(field.sliced(at), offset)) return false;
    // Each row in the first row's offset, so a change of summer time neither stacks the hour
    // after it on the hour before nor opens an hour's gap. A row without an offset keeps its clock.
    if (!offsetOfRun_ && at < field.size()) offsetOfRun_ = offset;
    const int shift = at < field.size() ? *offsetOfRun_ - offset : 0;
    FinishedRun& run = runs_.back();
    const QByteArrayView date = field.first(10);
    if (date != dateText_) {
        const QDate day = QDate::fromString(QString::fromLatin1(date), Qt::ISODate);
        if (!day.isValid()) return false;
        if (!run.date.isValid()) run.date = day;
        dateText_ = date.toByteArray();
        dateDay_ = run.date.daysTo(day);
    }
    const std::int64_t wholeSeconds = dateDay_ * 86400 + hours * 3600 + minutes * 60 + whole + shift;
    constexpr std::int64_t Exact = std::int64_t{1} << 53;   // the whole numbers a double holds exactly
    seconds = std::abs(wholeSeconds) < Exact / units
                  ? static_cast<double>(wholeSeconds * units + fraction) / static_cast<double>(units)
                  : static_cast<double>(wholeSeconds) + static_cast<double>(fraction) / static_cast<double>(units);
    return true;
}

namespace {
// Times only rise on the chart's axis: a reading stamped before the one above it (a clock set
// back) takes that one's time.
void AddTime(FinishedRun& run, double seconds) {
    run.times.push_back(run.Rows() == 0 ? seconds : std::max(seconds, run.LastTime()));
}
}  // namespace

bool RunFileReader::SplitRow(QByteArrayView line) {
    SplitFields(line, fields_);
    if (static_cast<int>(fields_.size()) == fieldCount_) return true;
    return Fail(QStringLiteral("expected %1 fields as in the header, found %2").arg(fieldCount_).arg(fields_.size()));
}

bool RunFileReader::ReadMonitorRow(QByteArrayView line) {
    if (!SplitRow(line)) return false;
    const std::vector<QByteArrayView>& fields = fields_;
    FinishedRun& run = runs_.back();
    double seconds = 0;
    if (!ClockSeconds(Trimmed(fields[columns_[TimeColumn]]), seconds)) {
        return Fail(QStringLiteral("expected a time such as 2024-05-01T14:03:07.123+02:00 in column \"time\", found \"%1\"")
                        .arg(Shown(fields[columns_[TimeColumn]])));
    }
    double values[2];
    for (int c = LocalColumn; c <= RemoteColumn; ++c) {
        if (!Temperature(fields[columns_[c]], values[c - LocalColumn])) {
            return Fail(QStringLiteral("expected a temperature%1 in column \"%2\", found \"%3\"")
                            .arg(OutOfRange(fields[columns_[c]]), MonitorColumns[c], Shown(fields[columns_[c]])));
        }
    }
    std::uint8_t status = 0;
    if (columns_[StatusColumn] >= 0 && !StatusByte(fields[columns_[StatusColumn]], status)) {
        return Fail(QStringLiteral("expected a status from 0 to 255 (or 0x00 to 0xFF) in column \"status\", found \"%1\"")
                        .arg(Shown(fields[columns_[StatusColumn]])));
    }
    std::array<double, 6> limits{};
    const bool hasLimits = columns_[FirstLimitColumn] >= 0;
    for (int i = 0; hasLimits && i < 6; ++i) {
        const int column = columns_[FirstLimitColumn + i];
        if (column < 0 || !Temperature(fields[column], limits[i])) {
            const QByteArrayView field = column < 0 ? QByteArrayView() : fields[column];
            return Fail(QStringLiteral("expected a limit%1 in column \"%2\", found \"%3\"")
                            .arg(OutOfRange(field), MonitorColumns[FirstLimitColumn + i], Shown(field)));
        }
    }
    AddTime(run, seconds);
    run.values[0].push_back(values[0]);
    run.values[1].push_back(values[1]);
    if (columns_[StatusColumn] >= 0) run.status.push_back(status);
    if (hasLimits) run.limits = limits;
    return true;
}

bool RunFileReader::ReadChartRow(QByteArrayView line) {
    if (!SplitRow(line)) return false;
    const std::vector<QByteArrayView>& fields = fields_;
    FinishedRun& run = runs_.back();
    double seconds = 0;
    if (!ClockSeconds(fields[0], seconds)) {
        return Fail(QStringLiteral("expected a time such as 2024-05-01T14:03:07.123 in column \"Time\", found \"%1\"")
                        .arg(Shown(fields[0])));
    }
    for (std::size_t f = 1; f < fields.size(); ++f) {
        double value = NoValue;
        if (!Trimmed(fields[f]).isEmpty() && !Temperature(fields[f], value)) {
            return Fail(QStringLiteral("expected a number%1 or nothing in column \"%2\", found \"%3\"")
                            .arg(OutOfRange(fields[f]), run.traceNames[f - 1], Shown(fields[f])));
        }
        run.values[f - 1].push_back(value);
    }
    AddTime(run, seconds);
    return true;
}

bool RunFileReader::ReadLogHeader(QByteArrayView line) {
    std::vector<QByteArrayView>& fields = fields_;   // reused: a run has millions of lines
    SplitFields(line, fields);
    if (fields.size() < 3 || Trimmed(fields[0]) != "Time" || !Trimmed(fields.back()).isEmpty()) {
        return Fail(QStringLiteral("expected the log's column header, such as \"Time ,Local(°C) ,Remote(°C) ,\""));
    }
    QStringList names;
    for (std::size_t f = 1; f + 1 < fields.size(); ++f) {
        const QString name = TraceName(fields[f], true);
        if (name != QLatin1String("Local") && name != QLatin1String("Remote")) {
            return Fail(QStringLiteral("expected \"Local(°C) \" or \"Remote(°C) \" in the log's header, found \"%1\"")
                            .arg(QString::fromLatin1(fields[f])));
        }
        names << (name == QLatin1String("Remote") ? QStringLiteral("Remote1") : name);
    }
    fieldCount_ = static_cast<int>(fields.size());
    inLogHeading_ = false;
    FinishedRun& run = NewRun(names);
    run.elapsedAxis = true;
    return true;
}

bool RunFileReader::ReadLogRow(QByteArrayView line) {
    if (Trimmed(line).isEmpty()) return true;
    if (Trimmed(line) == LogTitle) {
        if (inLogHeading_) return Fail(QStringLiteral("expected the log's column header after its title"));
        inLogHeading_ = true;
        return true;
    }
    if (inLogHeading_) return ReadLogHeader(line);
    std::vector<QByteArrayView>& fields = fields_;   // reused: a run has millions of lines
    SplitFields(line, fields);
    // Each field ends with a comma, the last one too.
    if (static_cast<int>(fields.size()) != fieldCount_ || !Trimmed(fields.back()).isEmpty()) {
        return Fail(QStringLiteral("expected the time and %1 temperature(s), each followed by a comma")
                        .arg(fieldCount_ - 2));
    }
    FinishedRun& run = runs_.back();
    double seconds = 0;
    if (!Number(fields[0], seconds)) {
        return Fail(QStringLiteral("expected the time in seconds, found \"%1\"").arg(Shown(fields[0])));
    }
    for (int f = 1; f + 1 < fieldCount_; ++f) {
        double value = 0;
        if (!Temperature(fields[f], value)) {
            return Fail(QStringLiteral("expected a temperature%1 for %2, found \"%3\"")
                            .arg(OutOfRange(fields[f]), run.traceNames[f - 1], Shown(fields[f])));
        }
        run.values[f - 1].push_back(value);
    }
    AddTime(run, seconds);
    return true;
}

namespace {
// Enough of the bytes before the offset that a file written anew from its start differs there.
constexpr qint64 LastBytesKept = 64;

QString FileProblem(const QFile& file) { return QStringLiteral("%1: %2").arg(file.fileName(), file.errorString()); }

QString Refusal(const QString& path) {
    const QString why = GeneralStuff::NotARegularFileReason(path);
    return why.isEmpty() ? QString() : QStringLiteral("%1: %2").arg(path, why);
}

// The change to the file since it was read up to the position.
FileChange ChangeOf(QFile& file, const ReadPosition& position, const FileIdentity& identity) {
    if (position.identity.known && identity != position.identity) return FileChange::Replaced;
    if (file.size() < position.offset) return FileChange::CutShort;
    const qint64 from = position.offset - position.lastBytes.size();
    if (!file.seek(from) || file.read(position.lastBytes.size()) != position.lastBytes) return FileChange::Rewritten;
    return FileChange::None;
}
}  // namespace

QString RunFileReader::ReadFile(const QString& path, ReadPosition& position, bool growing, const std::atomic<bool>* stop,
                                qint64 budget) {
    if (const QString refusal = Refusal(path); !refusal.isEmpty()) return refusal;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return FileProblem(file);
    position.identity = IdentityOf(file);
    return ReadOpenFile(file, position, growing, stop, budget);
}

QString RunFileReader::Follow(const QString& path, ReadPosition& position, FileChange& change,
                              const std::atomic<bool>* stop, qint64 budget) {
    change = FileChange::None;
    if (const QString refusal = Refusal(path); !refusal.isEmpty()) return refusal;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return FileProblem(file);
    const FileIdentity identity = IdentityOf(file);
    change = ChangeOf(file, position, identity);
    if (change != FileChange::None) {
        *this = RunFileReader();
        position = {};
    }
    position.identity = identity;
    return ReadOpenFile(file, position, true, stop, budget);
}

QString RunFileReader::ReadOpenFile(QFile& file, ReadPosition& position, bool growing, const std::atomic<bool>* stop,
                                    qint64 budget) {
    const QString& path = file.fileName();
    if (!file.seek(position.offset)) return FileProblem(file);
    constexpr qint64 Piece = 1 << 20;
    QByteArray bytes;
    for (qint64 left = budget < 0 ? std::numeric_limits<qint64>::max() : budget; left > 0; left -= bytes.size()) {
        if (stop && *stop) return QStringLiteral("%1: the reading was stopped").arg(path);
        bytes = file.read(std::min(Piece, left));
        if (bytes.isEmpty()) break;
        position.offset += bytes.size();
        position.lastBytes = (position.lastBytes + bytes.right(LastBytesKept)).right(LastBytesKept);
        if (!Feed(bytes, false)) return Message(path);
    }
    if (file.error() != QFileDevice::NoError) return FileProblem(file);
    if (!growing && (!Feed({}, true) || !Finish())) return Message(path);
    return {};
}
