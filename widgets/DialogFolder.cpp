#include "widgets/DialogFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString UserDocumentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

}  // namespace

DialogFolder::DialogFolder(QString programFolder) : programFolder_(std::move(programFolder)) {}

QString DialogFolder::Start() const {
    if (!lastUsed_.isEmpty()) return lastUsed_;
    const QFileInfo program(programFolder_);
    return program.isDir() && program.isWritable() ? programFolder_ : UserDocumentsFolder();
}

QString DialogFolder::Remember(const QString& chosenFile) {
    if (!chosenFile.isEmpty()) lastUsed_ = QFileInfo(chosenFile).absolutePath();
    return chosenFile;
}
