#pragma once
// The program's prompts: the warning box and the file dialogs. Every window asks through the
// one service installed here, so a test installs its own answers in place of the dialogs.
// Qt's own dialogs serve until another service is installed.
#include <QString>

class QWidget;

class Prompts {
public:
    virtual ~Prompts() = default;

    // A warning box with the program's title and an OK button, over parent.
    virtual void Warning(QWidget* parent, const QString& text) = 0;
    // The name chosen in a save dialog, empty when cancelled; the filter chosen into *chosenFilter.
    virtual QString SaveFileName(QWidget* parent, const QString& caption, const QString& folder,
                                 const QString& filter, QString* chosenFilter = nullptr) = 0;
    // The name of an existing file chosen in an open dialog, empty when cancelled.
    virtual QString OpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                                 const QString& filter) = 0;
    // An open dialog that also takes the name of a file yet to be created.
    virtual QString OpenOrNewFileName(QWidget* parent, const QString& caption, const QString& folder,
                                      const QString& filter) = 0;

    // The service in use.
    static Prompts& Current();
    // Installs a service (not owned); nullptr brings back Qt's dialogs.
    static void Install(Prompts* prompts);
};

// A warning box through the service in use.
inline void ShowWarning(QWidget* parent, const QString& text) { Prompts::Current().Warning(parent, text); }
