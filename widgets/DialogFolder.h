#pragma once
// Where a window's file dialogs start. Before the first file chosen in that window during this
// run: the program's folder when the user can write there (a build folder), otherwise the user's
// documents folder (the home folder when there is none), since an installed program's folder
// belongs to root. After that: the folder of the file last chosen in the window.
#include <QString>

class QFileDialog;

class DialogFolder {
public:
    explicit DialogFolder(QString programFolder);

    QString Start() const;
    // Called with the chosen file; an empty name (a cancelled dialog) changes nothing.
    void Remember(const QString& chosenFile);

private:
    QString programFolder_;
    QString lastUsed_;
};

// Shows the dialog in the folder's start folder and remembers the file chosen; returns that
// file, or an empty name when the dialog was cancelled.
QString ChooseFileFrom(QFileDialog& dialog, DialogFolder& folder);
