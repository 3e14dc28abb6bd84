#include "files/RunEvents.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTime>

#include <map>

namespace {

const QString StepPrefix = QStringLiteral("step-");

// 2024-05-01T14:03:07.123+02:00 (or Z, or no offset): the clock time as written.
bool ClockTime(const QString& text, QDate& date, double& secondsOfDay) {
    if (text.size() < 19 || text[10] != QLatin1Char('T')) return false;
    date = QDate::fromString(text.left(10), Qt::ISODate);
    qsizetype end = 19;
    if (end < text.size() && text[end] == QLatin1Char('.')) {
        ++end;
        while (end < text.size() && text[end].isDigit()) ++end;
    }
    const QString rest = text.mid(end);
    const bool offset = rest.size() == 6 && (rest[0] == QLatin1Char('+') || rest[0] == QLatin1Char('-')) &&
                        rest[3] == QLatin1Char(':');
    if (!rest.isEmpty() && rest != QLatin1String("Z") && !offset) return false;
    const QTime time = QTime::fromString(text.mid(11, 8), QStringLiteral("HH:mm:ss"));
    if (!date.isValid() || !time.isValid()) return false;
    const QString fraction = text.mid(19, end - 19);   // ".123" or empty
    secondsOfDay = time.msecsSinceStartOfDay() / 1000.0 + (fraction.size() > 1 ? fraction.toDouble() : 0.0);
    return true;
}

// What a step event says of its step: "step 3, 40 °C".
QString StepDetail(const QJsonObject& json) {
    QStringList parts;
    if (json.value(QStringLiteral("step")).isDouble()) parts << QStringLiteral("step %1").arg(json.value(QStringLiteral("step")).toDouble());
    if (json.value(QStringLiteral("setpoint_C")).isDouble())
        parts << QStringLiteral("%1 °C").arg(json.value(QStringLiteral("setpoint_C")).toDouble());
    return parts.join(QStringLiteral(", "));
}

}  // namespace

double RunEvent::OnAxis(const QDate& runDate) const {
    return (runDate.isValid() ? runDate.daysTo(date) : 0) * 86400.0 + secondsOfDay;
}

QString RunEventsReader::ReadFile(const QString& path, qint64& offset) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QStringLiteral("%1: %2").arg(path, file.errorString());
    // A file cut short since (written anew) is read from its start.
    if (file.size() < offset) {
        *this = {};
        offset = 0;
    }
    if (!file.seek(offset)) return QStringLiteral("%1: %2").arg(path, file.errorString());
    const QByteArray bytes = file.readAll();
    offset += bytes.size();
    Feed(bytes, false);
    return {};
}

void RunEventsReader::Feed(QByteArrayView bytes, bool atEnd) {
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\n') continue;
        pending_.append(bytes.sliced(start, i - start));
        ReadLine(pending_);
        pending_.clear();
        start = i + 1;
    }
    pending_.append(bytes.sliced(start));
    if (pending_.size() > MaxLineBytes) {
        // No events line is this long: what follows its end is read again.
        ++line_;
        if (problem_.isEmpty()) problem_ = QStringLiteral("line %1: longer than %2 bytes").arg(line_).arg(MaxLineBytes);
        pending_.clear();
    }
    if (atEnd && !pending_.isEmpty()) {
        ReadLine(pending_);
        pending_.clear();
    }
}

void RunEventsReader::ReadLine(QByteArrayView line) {
    ++line_;
    if (line.endsWith('\r')) line.chop(1);
    if (line.trimmed().isEmpty()) return;
    const auto fail = [this](const QString& what) {
        if (problem_.isEmpty()) problem_ = QStringLiteral("line %1: %2").arg(line_).arg(what);
    };
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(line.toByteArray(), &error);
    if (!document.isObject()) return fail(QStringLiteral("expected one JSON object"));
    const QJsonObject json = document.object();
    RunEvent event;
    event.kind = json.value(QStringLiteral("event")).toString();
    if (event.kind.isEmpty()) return fail(QStringLiteral("expected \"event\""));
    if (!ClockTime(json.value(QStringLiteral("time")).toString(), event.date, event.secondsOfDay))
        return fail(QStringLiteral("expected a time such as 2024-05-01T14:03:07.123+02:00"));
    event.flag = json.value(QStringLiteral("flag")).toString();
    if (event.kind == QLatin1String("mark")) {
        event.detail = json.value(QStringLiteral("text")).toString();
    } else if (event.kind.startsWith(StepPrefix)) {
        event.detail = StepDetail(json);
    } else {
        event.detail = json.value(QStringLiteral("reason")).toString();
    }
    events_.push_back(std::move(event));
}

QString EventsFileBeside(const QString& runPath) {
    const QString csv = QStringLiteral(".csv");
    const QString stem = runPath.endsWith(csv, Qt::CaseInsensitive) ? runPath.chopped(csv.size()) : runPath;
    return stem + QStringLiteral(".events.jsonl");
}

std::vector<EventSpan> BoardLossSpans(const std::vector<RunEvent>& events, const QDate& runDate, double end) {
    std::vector<EventSpan> spans;
    const RunEvent* lost = nullptr;
    for (const RunEvent& event : events) {
        if (event.kind == QLatin1String("board-lost") && !lost) {
            lost = &event;
        } else if (event.kind == QLatin1String("board-back") && lost) {
            spans.push_back({lost->OnAxis(runDate), event.OnAxis(runDate), lost->detail});
            lost = nullptr;
        }
    }
    if (lost) spans.push_back({lost->OnAxis(runDate), std::max(end, lost->OnAxis(runDate)), lost->detail});
    return spans;
}

std::vector<EventMoment> MarkedMoments(const std::vector<RunEvent>& events, const QDate& runDate) {
    std::vector<EventMoment> moments;
    for (const RunEvent& event : events) {
        if (event.kind == QLatin1String("mark")) {
            moments.push_back({event.OnAxis(runDate), event.detail});
        } else if (event.kind.startsWith(StepPrefix)) {
            const QString what = event.kind.mid(StepPrefix.size());   // "started", "stable", ...
            moments.push_back({event.OnAxis(runDate), event.detail.isEmpty() ? what : event.detail + QStringLiteral(" ") + what});
        }
    }
    return moments;
}

std::vector<std::pair<QString, std::vector<std::pair<double, double>>>> AlarmSpansOfEvents(
    const std::vector<RunEvent>& events, const QDate& runDate, double end) {
    std::vector<std::pair<QString, std::vector<std::pair<double, double>>>> flags;
    std::map<QString, double> raisedAt;
    const auto spansOf = [&flags](const QString& flag) -> std::vector<std::pair<double, double>>& {
        for (auto& [name, spans] : flags) {
            if (name == flag) return spans;
        }
        return flags.emplace_back(flag, std::vector<std::pair<double, double>>{}).second;
    };
    for (const RunEvent& event : events) {
        if (event.flag.isEmpty()) continue;
        if (event.kind == QLatin1String("alarm-raised") && !raisedAt.count(event.flag)) {
            raisedAt[event.flag] = event.OnAxis(runDate);
            spansOf(event.flag);
        } else if (event.kind == QLatin1String("alarm-cleared") && raisedAt.count(event.flag)) {
            spansOf(event.flag).emplace_back(raisedAt[event.flag], event.OnAxis(runDate));
            raisedAt.erase(event.flag);
        }
    }
    for (const auto& [flag, from] : raisedAt) spansOf(flag).emplace_back(from, std::max(from, end));
    return flags;
}
