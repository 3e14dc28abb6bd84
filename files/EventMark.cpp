#include "files/EventMark.h"

#include "files/FileSafety.h"
#include "files/JsonString.h"
#include "files/LocalTimeText.h"
#include "files/WholeLineAppend.h"

#include <QFile>

std::string EventMarkLine(const std::string& time, const std::string& text) {
    return "{\"time\":" + JsonString(time) + ",\"event\":\"mark\",\"text\":" + JsonString(text) + "}\n";
}

std::string AppendEventMark(const QString& path, const std::string& text) {
    // The events file is read back by the chart: a folder or a device is no place for it.
    const QString notRegular = GeneralStuff::NotARegularFileReason(path);
    if (!notRegular.isEmpty()) return path.toStdString() + ": " + notRegular.toStdString();
    return AppendWholeLine(QFile::encodeName(path).toStdString(), EventMarkLine(LocalTimeText().Now(), text));
}
