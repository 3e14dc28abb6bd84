#pragma once
// The program's prompts: the warning box and the file dialogs. Every window asks through the
// one service installed here, so a test installs its own answers in place of the dialogs.
// Qt's own dialogs serve until another service is installed.
#include <QString>

class QFileDialog;
class QWidget;

class Prompts {
public:
    virtual ~Prompts() = default;

    // A warning box with the program's title and an OK button, over parent.
    virtual void Warning(QWidget* parent, const QString& text) = 0;
    // The file dialogs answer with the name chosen, empty when cancelled. A name typed without a
    // suffix gets the suffix of the file type chosen in the dialog.

    // The name chosen in a save dialog; the filter chosen into *chosenFilter.
    virtual QString SaveFileName(QWidget* parent, const QString& caption, const QString& folder,
                                 const QString& filter, QString* chosenFilter = nullptr) = 0;
    // The name of an existing file chosen in an open dialog.
    virtual QString OpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                                 const QString& filter) = 0;
    // An open dialog that also takes the name of a file yet to be created.
    virtual QString OpenOrNewFileName(QWidget* parent, const QString& caption, const QString& folder,
                                      const QString& filter) = 0;
    // A line of text asked for in a small dialog; empty when cancelled.
    virtual QString Text(QWidget* parent, const QString& caption, const QString& label) = 0;

    // The service in use.
    static Prompts& Current();
    // Installs a service (not owned); nullptr brings back Qt's dialogs.
    static void Install(Prompts* prompts);
};

// The suffix of the one file type a dialog filter names ("sav" for "Text Files (*.sav)"); empty
// for a filter of several types. Qt's dialogs add it before they ask about replacing a file, so
// that question names the file really written; a suffix the user typed is kept.
QString DefaultSuffixOf(const QString& filter);

// Gives a file dialog the suffix of the file type chosen in it (DefaultSuffixOf its entry), now
// and whenever the user picks another type, so a name typed without one is checked for
// replacing under the name really written.
void FollowChosenSuffix(QFileDialog& dialog);

// A warning box through the service in use.
inline void ShowWarning(QWidget* parent, const QString& text) { Prompts::Current().Warning(parent, text); }
