#pragma once
// Checks shared by every file the program writes or reads.
#include <QString>

class QFileDevice;

namespace GeneralStuff {

// Empty when fileName is a regular file or does not exist yet; otherwise the reason it
// cannot be used, for a message. Under a chosen name a device, pipe, socket or folder would
// be replaced by a save, swallow or block the log, or feed a recall without end.
QString NotARegularFileReason(const QString& fileName);

// Why a write of wanted bytes put only written bytes (-1 for none) into the file.
QString ShortWriteReason(const QFileDevice& file, qint64 written, qint64 wanted);

}  // namespace GeneralStuff
