#include "app/OpenRuns.h"

#include "board/ProgramFolder.h"
#include "output/frmRun.h"
#include "widgets/DialogFolder.h"
#include "widgets/Prompts.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <cstdio>

namespace {

const QString RunFilter = QStringLiteral("Runs (*.csv *.txt *.log);;All Files (*)");

frmRun* ReadRun(const QString& path, QString* problem) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    frmRun* form = frmRun::Open(QDir::toNativeSeparators(path), problem);
    QApplication::restoreOverrideCursor();
    return form;
}

// A window of its own on the desktop; its "Open Run…" opens the next one beside it.
void ShowStandAlone(frmRun* form) {
    form->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(form, &frmRun::openRunRequested, form, [form] { AskForRun(form, &ShowStandAlone); });
    form->show();
}

}  // namespace

void AskForRun(QWidget* parent, const std::function<void(frmRun*)>& show) {
    // Where the dialog starts; kept for the run.
    static DialogFolder folder(ProgramFolder());
    const QString path =
        folder.Remember(Prompts::Current().OpenFileName(parent, QStringLiteral("Open Run"), folder.Start(), RunFilter));
    if (path.isEmpty()) return;
    QString problem;
    if (frmRun* form = ReadRun(path, &problem)) {
        show(form);
    } else {
        ShowWarning(parent, QStringLiteral("The run was not opened.\n\n%1").arg(problem));
    }
}

int RunOpenedFiles(const QStringList& files) {
    QStringList problems;
    int opened = 0;
    for (const QString& path : files) {
        QString problem;
        if (frmRun* form = ReadRun(path, &problem)) {
            ShowStandAlone(form);
            // Each a little below and right of the one before, so none hides another.
            form->move(form->pos() + QPoint(32, 32) * opened);
            ++opened;
        } else {
            std::fprintf(stderr, "%s\n", problem.toLocal8Bit().constData());
            problems << problem;
        }
    }
    if (!problems.isEmpty()) {
        ShowWarning(nullptr, QStringLiteral("Not opened:\n\n%1").arg(problems.join(QStringLiteral("\n\n"))));
    }
    return opened == 0 ? 1 : QApplication::exec();
}
