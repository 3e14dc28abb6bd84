#pragma once
// Checks shared by every file the program writes or reads.
#include <QByteArray>
#include <QString>

class QFileDevice;

namespace GeneralStuff {

// Empty when fileName is a regular file or does not exist yet; otherwise the reason it
// cannot be used, for a message. Under a chosen name a device, pipe, socket or folder would
// be replaced by a save, swallow or block the log, or feed a recall without end.
QString NotARegularFileReason(const QString& fileName);

// Puts bytes in place of the file's contents, whole or not at all: they go to a temporary file
// beside it, which replaces the file only once every byte has arrived, so a full disk or any
// other failure leaves the old file byte for byte. Where no temporary file can be made beside
// it (a folder without write permission) nothing is written: a write in place would leave the
// file cut short on a full disk. Returns why it failed, or an empty text.
QString ReplaceFileContents(const QString& fileName, const QByteArray& bytes);

// Why a write of wanted bytes put only written bytes (-1 for none) into the file.
QString ShortWriteReason(const QFileDevice& file, qint64 written, qint64 wanted);

}  // namespace GeneralStuff
