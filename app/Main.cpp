#include "app/Main.h"

#include "state/GeneralStuff.h"
#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "board/ProgramFolder.h"
#include "board/USBStuff.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace {

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

void InstallBoard(const USBStuff::BoardChoice& choice) {
    USBStuff::SetProgramFolder(ProgramFolder().toStdString());
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
    g_main->tmrMaster->start();
    g_main->mnuGraph_Click();
    GeneralStuff::InitRegisterModel();
    return g_main;
}

int Main(const USBStuff::BoardChoice& choice) {
    InstallBoard(choice);
    StartUp();
    return QApplication::exec();
}
