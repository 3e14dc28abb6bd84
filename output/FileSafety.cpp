#include "output/FileSafety.h"

#include <QFileDevice>
#include <QFileInfo>
#include <algorithm>

namespace GeneralStuff {

QString NotARegularFileReason(const QString& fileName) {
    // A link is judged by what it points to.
    const QFileInfo info(fileName);
    if (!info.exists() || info.isFile()) return QString();
    if (info.isDir()) return QStringLiteral("It is a folder, not a file.");
    return QStringLiteral("It is a device, pipe or socket, not a regular file.");
}

QString ShortWriteReason(const QFileDevice& file, qint64 written, qint64 wanted) {
    // A write cut short by a full disk sets no error of its own.
    if (file.error() != QFileDevice::NoError) return file.errorString();
    return QStringLiteral("Only %1 of %2 bytes could be written; the disk may be full.")
        .arg(std::max<qint64>(written, 0))
        .arg(wanted);
}

}  // namespace GeneralStuff
