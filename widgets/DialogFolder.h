#pragma once
// Where a window's file dialogs start. Before the first file chosen in that window during this
// run: the program's folder when the user can write there (a build folder), otherwise the user's
// documents folder (the home folder when there is none), since an installed program's folder
// belongs to root. After that: the folder of the file last chosen in the window.
#include <QString>

class DialogFolder {
public:
    explicit DialogFolder(QString programFolder);

    QString Start() const;
    // Takes note of the file chosen in a dialog and hands it back; an empty name (a cancelled
    // dialog) changes nothing.
    QString Remember(const QString& chosenFile);

private:
    QString programFolder_;
    QString lastUsed_;
};
