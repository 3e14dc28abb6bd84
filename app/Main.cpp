#include "app/Main.h"

#include "state/GeneralStuff.h"
#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "app/ProgramFiles.h"
#include "board/LibraryDriver.h"
#include "board/USBStuff.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

std::unique_ptr<USBStuff::LibraryDriver> g_library;
QPointer<frmSplash> g_splash;
QPointer<frmMain> g_main;

// The windows program's failure presenter.
void ShowCriticalMessage(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    QMessageBox box(QMessageBox::Critical, GeneralStuff::AppTitle, QString::fromStdString(message), QMessageBox::Ok);
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

}  // namespace

USBStuff::FailureHooks ProgramFailureHooks() {
    return {&ShowCriticalMessage, &CloseAllWindows, [] {
                std::fflush(nullptr);
                std::_Exit(EXIT_FAILURE);
            }};
}

void InstallBoard() {
    USBStuff::SetProgramFolder(ProgramFolder().toStdString());
    USBStuff::SetFailureHooks(ProgramFailureHooks());
    GeneralStuff::InstallShadowHook();
    const std::string path = DriverLibraryPath().toStdString();
    std::string error;
    g_library = USBStuff::LibraryDriver::Open(path, error);
    if (!g_library) USBStuff::ReportFailure(error);
    USBStuff::SetDriver(g_library.get());
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
    g_main->tmrMaster->start();
    g_main->mnuGraph_Click();
    GeneralStuff::InitRegisterModel();
    return g_main;
}

int Main() {
    InstallBoard();
    StartUp();
    return QApplication::exec();
}
