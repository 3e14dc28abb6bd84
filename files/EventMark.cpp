#include "files/EventMark.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace {
// The text as a JSON string, quotes included.
QByteArray JsonString(const std::string& text) {
    const QByteArray array = QJsonDocument(QJsonArray{QString::fromStdString(text)}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}
}  // namespace

std::string AppendEventMark(const QString& path, const std::string& text) {
    const QDateTime now = QDateTime::currentDateTime();
    const QString time = now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODateWithMs);
    const QByteArray line = "{\"event\":\"mark\",\"time\":\"" + time.toUtf8() + "\",\"text\":" + JsonString(text) + "}\n";
    QFile file(path);
    // One write of the whole line, appended: a monitor appending its own lines never splits it.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append) || file.write(line) != line.size() || !file.flush())
        return file.errorString().toStdString();
    return {};
}
