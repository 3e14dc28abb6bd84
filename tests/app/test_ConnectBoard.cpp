// The connection sequence, request by request, on the scripted driver and clock.
#include "support/BoardFailureTrap.h"
#include "support/ScriptedClock.h"

#include "state/Clock.h"
#include "app/ConnectBoard.h"
#include "app/frmSplash.h"
#include "board/BoardChoice.h"
#include "board/USBStuff.h"
#include "widgets/Twips.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QWindow>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace GeneralStuff;

namespace {

class ConnectBoardTest : public ::testing::Test {
protected:
    ConnectBoardTest() {
        clock.step = 0.01;
        SetClock(&clock);
        USBStuff::DeviceAddress = 0;
        driver.chips.clear();
    }
    ~ConnectBoardTest() override { SetClock(nullptr); }

    void Connect() {
        ConnectBoard(splash, [this](const QString& text) { status = text; });
    }
    int ReadsOfManufacturerId() const {
        int count = 0;
        for (const auto& r : driver.log)
            if (r.request == 222 && r.index == 0xFE) ++count;
        return count;
    }

    BoardFixtureState state;
    ScriptedDriver& driver = state.driver;
    ScriptedClock clock;
    frmSplash splash;
    QString status;
};

TEST_F(ConnectBoardTest, FindsTheChipAt76OnThe53rdRead) {
    FillChipDefaults(driver.chips[76]);
    Connect();
    EXPECT_EQ(USBStuff::DeviceAddress, 76);
    EXPECT_EQ(ReadsOfManufacturerId(), 53);
    EXPECT_EQ(driver.log.back(), (DriverRequest{222, 76, 0xFE, 1, 1}));
    EXPECT_EQ(splash.lblProgInfo->text(), "Found an KTS9320B at 4Ch");
    EXPECT_EQ(status, "Firmware download succesful");
    EXPECT_DOUBLE_EQ(splash.ProgressWidthTwips(), 5600);
    EXPECT_TRUE(splash.lblProgInfo->isVisibleTo(&splash));
    EXPECT_TRUE(splash.lblProgress->isVisibleTo(&splash));
}

TEST_F(ConnectBoardTest, RequestsComeInTheirOrder) {
    FillChipDefaults(driver.chips[24]);
    Connect();
    ASSERT_EQ(driver.firmwarePaths.size(), 1u);
    ASSERT_EQ(driver.log.size(), 2u);
    EXPECT_EQ(driver.log[0], (DriverRequest{221, 48, 51, 0, 0}));
    EXPECT_EQ(driver.log[1], (DriverRequest{222, 24, 0xFE, 1, 1}));
}

TEST_F(ConnectBoardTest, TwoChipsGiveTheLowerAddress) {
    FillChipDefaults(driver.chips[0x4D]);
    FillChipDefaults(driver.chips[0x4C]);
    Connect();
    EXPECT_EQ(USBStuff::DeviceAddress, 0x4C);
}

TEST_F(ConnectBoardTest, ConnectAcceptedOnThe20thAttempt) {
    FillChipDefaults(driver.chips[0x4C]);
    driver.connectRefusals = 19;
    Connect();
    EXPECT_EQ(USBStuff::DeviceAddress, 0x4C);
    int connects = 0;
    for (const auto& r : driver.log) connects += r.request == 221;
    EXPECT_EQ(connects, 20);
}

TEST_F(ConnectBoardTest, TwentyRefusalsGiveInitialConnectionFailed) {
    driver.connectRefusals = 20;
    EXPECT_THROW(Connect(), BoardFailure);
    ASSERT_EQ(state.messages.size(), 1u);
    EXPECT_EQ(state.messages[0], "Initial Connection Failed - Check USB connections");
    EXPECT_EQ(ReadsOfManufacturerId(), 0);
}

TEST_F(ConnectBoardTest, FirmwareResultDecidesTheDownload) {
    driver.firmwareResult = -1;
    EXPECT_THROW(Connect(), BoardFailure);
    EXPECT_EQ(state.messages.at(0), "Firmware failed to download - Check USB connections");
    EXPECT_TRUE(driver.log.empty());
    EXPECT_TRUE(status.isEmpty());
}

TEST_F(ConnectBoardTest, PositiveFirmwareResultCountsAsSuccess) {
    FillChipDefaults(driver.chips[0x4C]);
    driver.firmwareResult = 3;
    Connect();
    EXPECT_EQ(status, "Firmware download succesful");
}

TEST_F(ConnectBoardTest, NoChipGivesInitialConnectionFailedAfterTheWholeSearch) {
    driver.unansweredByte = 0x00;
    EXPECT_THROW(Connect(), BoardFailure);
    EXPECT_EQ(state.messages.at(0), "Initial Connection Failed - Check USB connections");
    EXPECT_EQ(ReadsOfManufacturerId(), 55);
}

TEST_F(ConnectBoardTest, AFailedReadDuringTheSearchGivesCommunicationsInterrupted) {
    FillChipDefaults(driver.chips[0x4C]);
    driver.failAfter = 5;  // the connect and four reads
    EXPECT_THROW(Connect(), BoardFailure);
    EXPECT_EQ(state.messages.at(0), "Communications Interrupted - Check USB connections");
    EXPECT_EQ(USBStuff::DeviceAddress, 0);
}

TEST_F(ConnectBoardTest, AChosenAddressIsTheOnlyOneTriedAndTheBoardIsNamed) {
    // The built simulated board, chosen as --driver sim --address 0x4D chooses it; the
    // scripted driver answers in its place.
    const std::string folder = std::getenv("KTS_RUNTIME_DIR");
    USBStuff::LoadDriverLibrary({USBStuff::NamedDriverLibrary("sim", folder), "", 0x4D}, folder);
    USBStuff::SetDriver(&driver);
    FillChipDefaults(driver.chips[0x4C]);
    FillChipDefaults(driver.chips[0x4D]);
    Connect();
    EXPECT_EQ(USBStuff::DeviceAddress, 0x4D);
    EXPECT_EQ(ReadsOfManufacturerId(), 1);
    EXPECT_EQ(USBStuff::BoardDescription(folder, 0x4D), "Simulated board");
    USBStuff::LoadDriverLibrary({}, folder);  // the choice of a plain start again
}

TEST_F(ConnectBoardTest, TheSplashStaysWhenTheWindowSystemAsksItToClose) {
    FillChipDefaults(driver.chips[0x4C]);
    driver.connectRefusals = 2;
    splash.show();
    QCoreApplication::processEvents();
    // Alt+F4 or the window manager's close, arriving while "Connecting..." runs its event passes.
    driver.onRequest = [this](const DriverRequest& r) {
        if (r.request == 221) QCoreApplication::postEvent(splash.windowHandle(), new QCloseEvent);
    };
    Connect();
    EXPECT_TRUE(splash.isVisible());
    EXPECT_EQ(splash.lblProgInfo->text(), "Found an KTS9320B at 4Ch");
    // Start-up itself still closes it.
    splash.close();
    EXPECT_FALSE(splash.isVisible());
}

TEST(Delay, EndsAfterItsDurationEvenAcrossMidnight) {
    ScriptedClock clock;
    clock.now = 86399.9;
    clock.step = 0.05;
    SetClock(&clock);
    Delay(500);
    SetClock(nullptr);
    // 86399.9 + 0.5 wraps to 0.4; the wait ends at the first reading past it.
    EXPECT_GT(clock.now, 0.4);
    EXPECT_LT(clock.now, 1.0);
}

TEST(Splash, ShowsTheTitleAndVersion) {
    frmSplash splash;
    EXPECT_EQ(splash.lblProductName->text(), "KTS9320B Evaluation Software");
    EXPECT_EQ(splash.lblVersion->text(), "Version 1.0.0");
    EXPECT_EQ(splash.lblPlatform->text(), "Windows XP/2000/ME");
    EXPECT_FALSE(splash.lblProgInfo->isVisibleTo(&splash));
    EXPECT_FALSE(splash.lblProgress->isVisibleTo(&splash));
    EXPECT_EQ(splash.size(), TwipsToPixels(7350, 4395));
    // Every label lies inside the picture.
    for (QLabel* label : {splash.lblProductName, splash.lblVersion, splash.lblPlatform})
        EXPECT_TRUE(splash.rect().contains(label->geometry())) << label->objectName().toStdString();
}

}  // namespace
