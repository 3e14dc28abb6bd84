#pragma once
// Which file an open file is, whatever its name: a file put in place of another by a rename, or
// deleted and written anew, is another file under the same name.
#include <QtGlobal>

class QFile;

struct FileIdentity {
    quint64 device = 0;   // the device or volume
    quint64 file = 0;     // the file on it (inode, or file index)
    bool known = false;
    bool operator==(const FileIdentity& other) const {
        return known == other.known && device == other.device && file == other.file;
    }
    bool operator!=(const FileIdentity& other) const { return !(*this == other); }
};

// The identity of the open file; not known where the system does not tell.
FileIdentity IdentityOf(const QFile& file);
