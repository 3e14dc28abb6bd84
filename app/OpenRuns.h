#pragma once
// Finished runs in chart windows: asked for from a chart's "Open Run…", or named on the command
// line with --open, where they open without splash, board or driver library.
#include <QStringList>
#include <functional>

class QWidget;
class frmRun;

// Asks for a run file and hands its window to `show`; a file that cannot be read is refused
// with a message naming it, the line and what was expected there. The dialog starts in
// `startFolder` (a run's own, asked from its window), or else in the last folder used.
void AskForRun(QWidget* parent, const std::function<void(frmRun*)>& show, const QString& startFolder = QString());
// Each file in a window of its own; returns the exit status when no window stayed open (1
// after the messages about the files), or the event loop's once the last window closes.
int RunOpenedFiles(const QStringList& files);
