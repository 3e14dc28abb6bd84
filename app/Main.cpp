#include "app/Main.h"

#include "state/GeneralStuff.h"
#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "app/TerminationSignals.h"
#include "board/ProgramFolder.h"
#include "board/USBStuff.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace {

QPointer<frmSplash> g_splash;
QPointer<frmMain> g_main;
bool g_eventLoopRuns = false;  // start-up is over: the next loop is the program's own

// The windows program's failure presenter: the fixed message, and under it the driver's reason.
void ShowCriticalMessage(const std::string& message, const std::string& reason) {
    std::fprintf(stderr, "%s\n", message.c_str());
    QMessageBox box(QMessageBox::Critical, GeneralStuff::AppTitle, QString::fromStdString(message), QMessageBox::Ok);
    box.setInformativeText(QString::fromStdString(reason));
    box.exec();
}

void CloseAllWindows() {
    if (g_main) {
        g_main->tmrMaster->stop();
        g_main->CloseEverything();
    }
    if (g_splash) g_splash->close();
    QApplication::closeAllWindows();
}

// A termination signal closes the program as the user's close does. The frame is closed only
// from the main event loop: while a dialog's own loop runs (a file dialog, a message box) the
// dialog is closed first, and while start-up runs the close waits for it.
void CloseOnSignal() {
    if (!g_eventLoopRuns || QThread::currentThread()->loopLevel() != 1) {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isModal() && window->isVisible()) window->close();
        QTimer::singleShot(10, &CloseOnSignal);
        return;
    }
    if (g_main) {
        g_main->close();
    } else {
        QCoreApplication::quit();
    }
}

}  // namespace

USBStuff::FailureHooks ProgramFailureHooks() {
    return {&ShowCriticalMessage, &CloseAllWindows, [] {
                std::fflush(nullptr);
                std::_Exit(EXIT_FAILURE);
            }};
}

void InstallBoard(const USBStuff::BoardChoice& choice) {
    USBStuff::SetProgramFolder(NarrowPath(ProgramFolder()));
    USBStuff::SetFailureHooks(ProgramFailureHooks());
    GeneralStuff::InstallShadowHook();
    USBStuff::LoadDriverLibrary(choice, USBStuff::ProgramFolder());
}

frmMain* StartUp() {
    g_splash = new frmSplash;
    g_splash->setAttribute(Qt::WA_DeleteOnClose);
    g_splash->show();
    // Let the window system map the splash once so that the repaints below reach the screen.
    QCoreApplication::processEvents();
    g_splash->repaint();

    g_main = new frmMain;
    g_main->setAttribute(Qt::WA_DeleteOnClose);
    g_main->MDIForm_Load(*g_splash);

    if (g_splash) g_splash->close();
    g_main->show();
    GeneralStuff::SetMasterTimerEnabled(true);
    g_main->mnuGraph_Click();
    GeneralStuff::InitRegisterModel();
    return g_main;
}

int RunWindows() {
    const TerminationSignals closer([](int) { CloseOnSignal(); });
    StartUp();
    g_eventLoopRuns = true;
    return QApplication::exec();
}

int Main(const USBStuff::BoardChoice& choice) {
    InstallBoard(choice);
    return RunWindows();
}
