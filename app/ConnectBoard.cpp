#include "app/ConnectBoard.h"

#include "state/Clock.h"
#include "app/frmSplash.h"
#include "board/BoardChoice.h"
#include "board/BoardStart.h"
#include "board/USBStuff.h"
#include "registers/NumberText.h"

#include <QCoreApplication>
#include <QLabel>
#include <cmath>

namespace GeneralStuff {

void ConnectBoard(frmSplash& splash, const std::function<void(const QString&)>& setStatusText) {
    const float progressUnit = std::floor(std::nearbyint(splash.ProgressWidthTwips()) / 100.0f);
    splash.SetProgressWidthTwips(0);
    splash.lblProgInfo->show();
    splash.lblProgress->show();

    splash.SetProgressText("Downloading Firmware...");
    if (USBStuff::DownloadFirmware() < 0) USBStuff::ReportBoardError(USBStuff::BoardError::FirmwareDownload);
    setStatusText("Firmware download succesful");
    splash.SetProgressWidthTwips(33 * progressUnit);

    splash.SetProgressText("Enumerating...");
    do {
        splash.SetProgressWidthTwips(splash.ProgressWidthTwips() + progressUnit / 2);
        Delay(50);
    } while (50 * progressUnit > splash.ProgressWidthTwips());

    splash.SetProgressText("Connecting...");
    bool connected = false;
    for (int attempt = 1; attempt <= USBStuff::ConnectAttempts && !connected; ++attempt) {
        connected = USBStuff::ConnectRequest() == 0;
        Delay(USBStuff::ConnectRetryMs);
        QCoreApplication::processEvents();
    }
    if (!connected) USBStuff::ReportBoardError(USBStuff::BoardError::InitialConnection);

    splash.SetProgressWidthTwips(76 * progressUnit);
    splash.SetProgressText("Searching for an KTS9320B on USB...");
    Delay(1000);

    USBStuff::DeviceAddress = USBStuff::FindChip(USBStuff::ChosenBoard().address);
    if (USBStuff::DeviceAddress == 0) USBStuff::ReportBoardError(USBStuff::BoardError::InitialConnection);

    splash.SetProgressWidthTwips(100 * progressUnit);
    splash.SetProgressText("Found an KTS9320B at " + QString::fromStdString(HexText(USBStuff::DeviceAddress)) + "h");
    Delay(2000);
}

}  // namespace GeneralStuff
