#include "state/GeneralStuff.h"
#include "app/CommandLine.h"
#include "app/DisplayProbe.h"
#include "app/Main.h"
#include "app/NoDisplay.h"
#include "app/OpenRuns.h"
#include "board/ProgramFolder.h"
#include "chart/ChartFolder.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <cstdio>

int main(int argc, char** argv) {
    USBStuff::BoardChoice board;
    QStringList openFiles;
    QString eventsFile;
    if (const std::optional<int> status = AnswerCommandLine(argc, argv, board, openFiles, eventsFile)) return *status;
    if (const QString answer = NoDisplayAnswer(QProcessEnvironment::systemEnvironment()); !answer.isEmpty()) {
        std::fprintf(stderr, "%s\n", answer.toLocal8Bit().constData());
        return 1;
    }
    QApplication app(argc, argv);
    ReleaseProbedDisplay();
    ChartFolder::SetProgramFolder(ProgramFolder());
    QApplication::setApplicationName(GeneralStuff::AppTitle);
    // Ties the windows to the installed menu entry and its icon.
    QApplication::setDesktopFileName(QStringLiteral(KTS_APP_ID));
    QApplication::setWindowIcon(QIcon(":/images/program.png"));
    // The windows have fixed sizes laid out for a compact 8 point dialog font.
    QFont font = QApplication::font();
    font.setPointSizeF(8.25);
    QApplication::setFont(font);
    // Finished runs need no board: no splash, no driver library.
    if (!openFiles.isEmpty()) return RunOpenedFiles(openFiles, eventsFile);
    return Main(board);
}
