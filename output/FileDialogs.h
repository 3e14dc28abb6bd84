#pragma once
// The file dialogs of the save/recall and logging windows, set up before they are shown:
// caption, filter, mode, and the suffix that a name typed without one gets (Qt adds it before
// it asks about replacing an existing file, so that question names the file really written).
class QFileDialog;

void SetUpSaveConfigurationDialog(QFileDialog& dialog);
void SetUpRecallConfigurationDialog(QFileDialog& dialog);
// An open dialog that also takes a new name: a missing log file is created.
void SetUpLogFileDialog(QFileDialog& dialog);
