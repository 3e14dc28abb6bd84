#include "files/FileIdentity.h"

#include <QFile>

#include <sys/stat.h>

FileIdentity IdentityOf(const QFile& file) {
    struct stat status {};
    if (file.handle() < 0 || fstat(file.handle(), &status) != 0) return {};
    return {static_cast<quint64>(status.st_dev), static_cast<quint64>(status.st_ino), true};
}
