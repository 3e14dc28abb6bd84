#include "files/FileSafety.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

namespace GeneralStuff {

QString NotARegularFileReason(const QString& fileName) {
    // A link is judged by what it points to.
    const QFileInfo info(fileName);
    if (!info.exists() || info.isFile()) return QString();
    if (info.isDir()) return QStringLiteral("It is a folder, not a file.");
    return QStringLiteral("It is a device, pipe or socket, not a regular file.");
}

namespace {

// QSaveFile's open fails before it writes anything; an open error is the temporary file's.
QString CannotStartReason(const QSaveFile& file, const QString& fileName) {
    if (file.error() != QFileDevice::OpenError) return file.errorString();
    const QFileInfo info(fileName);
    QString why = QStringLiteral("No temporary file can be made in the folder %1 (%2).")
                      .arg(QDir::toNativeSeparators(info.absolutePath()), file.errorString());
    if (info.exists()) why += QStringLiteral(" The file is never written in place, so the old file is untouched.");
    return why;
}

}  // namespace

QString ReplaceFileContents(const QString& fileName, const QByteArray& bytes) {
    const QString notRegular = NotARegularFileReason(fileName);
    if (!notRegular.isEmpty()) return notRegular;
    QSaveFile file(fileName);
    file.setDirectWriteFallback(false);
    // Unbuffered, so that a full disk shows in the write itself: a buffered write fails only
    // in commit()'s flush, which still puts the short file in place of the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return CannotStartReason(file, fileName);
    const qint64 count = file.write(bytes);
    if (count != bytes.size() || file.size() != bytes.size()) {
        const QString why = ShortWriteReason(file, count, bytes.size());
        file.cancelWriting();
        return why;
    }
    return file.commit() ? QString() : file.errorString();
}

QString ShortWriteReason(const QFileDevice& file, qint64 written, qint64 wanted) {
    // A write cut short by a full disk sets no error of its own.
    if (file.error() != QFileDevice::NoError) return file.errorString();
    return QStringLiteral("Only %1 of %2 bytes could be written; the disk may be full.")
        .arg(std::max<qint64>(written, 0))
        .arg(wanted);
}

}  // namespace GeneralStuff
