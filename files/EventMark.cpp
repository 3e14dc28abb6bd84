#include "files/EventMark.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <cstdlib>

namespace {
// The text as a JSON string, quotes included.
QByteArray JsonString(const std::string& text) {
    const QByteArray array = QJsonDocument(QJsonArray{QString::fromStdString(text)}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}
}  // namespace

std::string AppendEventMark(const QString& path, const std::string& text) {
    const QDateTime now = QDateTime::currentDateTime();
    // "+00:00", never "Z": the monitor's own events write the offset so.
    const int minutes = now.offsetFromUtc() / 60;
    const QString time = now.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")) +
                         QStringLiteral("%1%2:%3")
                             .arg(minutes < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                             .arg(std::abs(minutes) / 60, 2, 10, QLatin1Char('0'))
                             .arg(std::abs(minutes) % 60, 2, 10, QLatin1Char('0'));
    const QByteArray line = "{\"event\":\"mark\",\"time\":\"" + time.toUtf8() + "\",\"text\":" + JsonString(text) + "}\n";
    QFile file(path);
    // One write of the whole line, appended: a monitor appending its own lines never splits it.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append) || file.write(line) != line.size() || !file.flush())
        return file.errorString().toStdString();
    return {};
}
