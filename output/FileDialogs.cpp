#include "output/FileDialogs.h"

#include <QFileDialog>

namespace {

const QString SavFilter = QStringLiteral("Text Files (*.sav)");

}  // namespace

void SetUpSaveConfigurationDialog(QFileDialog& dialog) {
    dialog.setWindowTitle(QStringLiteral("Save Configuration"));
    dialog.setNameFilter(SavFilter);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("sav"));
}

void SetUpRecallConfigurationDialog(QFileDialog& dialog) {
    dialog.setWindowTitle(QStringLiteral("Recall Configuration"));
    dialog.setNameFilter(SavFilter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
}

void SetUpLogFileDialog(QFileDialog& dialog) {
    dialog.setWindowTitle(QStringLiteral("Log File"));
    dialog.setNameFilter(QStringLiteral("Log Files (*.csv)"));
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
}
