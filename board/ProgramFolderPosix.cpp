#include "board/ProgramFolder.h"

#include <QFile>

std::string NarrowPath(const QString& path) { return QFile::encodeName(path).toStdString(); }
