#pragma once
// Finished runs in chart windows: asked for from a chart's "Open Run…", or named on the command
// line with --open, where they open without splash, board or driver library.
#include <QStringList>
#include <functional>

class QWidget;
class frmRun;

// Asks for a run file, then for its events file (cancelled: the one beside the run), and hands
// its window to `show`; a run that cannot be read is refused with a message naming it, the line
// and what was expected there. The dialog starts in `startFolder` (a run's own, asked from its
// window), or else in the last folder used.
void AskForRun(QWidget* parent, const std::function<void(frmRun*)>& show, const QString& startFolder = QString());
// Each file in a window of its own; returns the exit status when no window stayed open (1
// after the messages about the files), or the event loop's once the last window closes. A run's
// events come from `eventsFile` where one is named, else from the file beside each run.
int RunOpenedFiles(const QStringList& files, const QString& eventsFile = {});
