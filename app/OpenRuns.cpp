#include "app/OpenRuns.h"

#include "board/ProgramFolder.h"
#include "output/frmRun.h"
#include "widgets/DialogFolder.h"
#include "widgets/Prompts.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <cstdio>
#include <memory>

namespace {

const QString RunFilter = QStringLiteral("Runs (*.csv *.txt *.log);;All Files (*)");
const QString EventsFilter = QStringLiteral("Events (*.jsonl);;All Files (*)");

// The window at once; the file is read while it shows "Reading …".
frmRun* StartRun(const QString& path) { return frmRun::StartOpen(QDir::toNativeSeparators(path)); }

// A window of its own on the desktop; its "Open Run…" opens the next one beside it.
void ShowStandAlone(frmRun* form) {
    form->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(form, &frmRun::openRunRequested, form, [form] { AskForRun(form, &ShowStandAlone, form->Folder()); });
    form->show();
}

}  // namespace

void AskForRun(QWidget* parent, const std::function<void(frmRun*)>& show, const QString& startFolder) {
    // Where the dialog starts; kept for the run.
    static DialogFolder folder(ProgramFolder());
    const QString start = startFolder.isEmpty() ? folder.Start() : startFolder;
    const QString path =
        folder.Remember(Prompts::Current().OpenFileName(parent, QStringLiteral("Open Run"), start, RunFilter));
    if (path.isEmpty()) return;
    // A second, optional choice: the events the run's own folder would not name.
    const QString events = Prompts::Current().OpenFileName(
        parent, QStringLiteral("Open the Run's Events (Cancel: the file beside the run)"), QFileInfo(path).absolutePath(),
        EventsFilter);
    frmRun* form = StartRun(path);
    if (!events.isEmpty()) form->SetEventsFile(events);
    // The window that asked may be gone by the time the file is found bad.
    QObject::connect(form, &frmRun::readFailed, form, [asking = QPointer<QWidget>(parent)](const QString& problem) {
        ShowWarning(asking, QStringLiteral("The run was not opened.\n\n%1").arg(problem));
    });
    show(form);
}

int RunOpenedFiles(const QStringList& files, const QString& eventsFile) {
    // The windows open at once and read their files; each one that cannot be read says so and
    // closes. The exit status is 1 when none could.
    auto failed = std::make_shared<int>(0);
    for (int i = 0; i < files.size(); ++i) {
        frmRun* form = StartRun(files[i]);
        if (!eventsFile.isEmpty()) form->SetEventsFile(eventsFile);
        QObject::connect(form, &frmRun::readFailed, form, [failed](const QString& problem) {
            ++*failed;
            std::fprintf(stderr, "%s\n", problem.toLocal8Bit().constData());
            ShowWarning(nullptr, QStringLiteral("Not opened:\n\n%1").arg(problem));
        });
        ShowStandAlone(form);
        // Each a little below and right of the one before, so none hides another.
        form->move(form->pos() + QPoint(32, 32) * i);
    }
    const int status = QApplication::exec();
    return *failed == files.size() ? 1 : status;
}
