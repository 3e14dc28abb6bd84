#include "widgets/DialogFolder.h"

#include <QDir>
#include <QFileDialog>
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

void DialogFolder::Remember(const QString& chosenFile) {
    if (!chosenFile.isEmpty()) lastUsed_ = QFileInfo(chosenFile).absolutePath();
}

QString ChooseFileFrom(QFileDialog& dialog, DialogFolder& folder) {
    dialog.setDirectory(folder.Start());
    if (dialog.exec() != QDialog::Accepted) return QString();
    const QString chosen = dialog.selectedFiles().value(0);
    folder.Remember(chosen);
    return chosen;
}
