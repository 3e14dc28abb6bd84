// The board access layer: what it sends to the driver, what it returns, and its one
// failure path.
#include "support/BoardFailureTrap.h"

#include "board/LibraryDriver.h"
#include "board/USBStuff.h"
#include "registers/RegMapStuff.h"

#include <gtest/gtest.h>
#include <QtGlobal>
#include <dlfcn.h>
#include <cstdlib>
#include <string>

using namespace USBStuff;

namespace {

class BoardAccess : public ::testing::Test {
protected:
    BoardFixtureState state;
    ScriptedDriver& driver = state.driver;
};

TEST_F(BoardAccess, WriteEncodesRegisterInLowByteAndDataInSecond) {
    int32_t data = 0x12;
    EXPECT_EQ(WriteRegister(0x4C, 0x0B, data), 0);
    ASSERT_EQ(driver.log.size(), 1u);
    EXPECT_EQ(driver.log[0], (DriverRequest{222, 0x4C, 0x120B, 0, 0}));
}

TEST_F(BoardAccess, WriteClampsDataAbove255InTheCallersVariable) {
    int32_t data = 300;
    WriteRegister(0x4C, 0x0B, data);
    EXPECT_EQ(data, 255);
    EXPECT_EQ(driver.log.back().index, 0xFF0B);
    int32_t exact = 255;
    WriteRegister(0x4C, 0x0B, exact);
    EXPECT_EQ(exact, 255);
}

TEST_F(BoardAccess, ReadSendsRequest222AndReturnsByteZero) {
    driver.Chip()[0x05] = 0xC8;
    EXPECT_EQ(ReadRegister(0x4C, 0x05), 0xC8);  // never sign-extended
    EXPECT_EQ(driver.log.back(), (DriverRequest{222, 0x4C, 0x05, 1, 1}));
}

TEST_F(BoardAccess, OnlyAWriteToAddress9RefreshesTheShadow) {
    driver.Chip()[0x03] = 0x44;
    int32_t data = 0x44;
    WriteRegister(0x4C, 0x03, data);
    EXPECT_EQ(driver.log.size(), 1u);
    EXPECT_FALSE(RegMapStuff::ExtendedRange);

    driver.ClearLog();
    WriteRegister(0x4C, 0x09, data);
    ASSERT_EQ(driver.log.size(), 2u);
    EXPECT_EQ(driver.log[1], (DriverRequest{222, 0x4C, 0x03, 1, 1}));
    EXPECT_TRUE(RegMapStuff::ExtendedRange);
    EXPECT_TRUE(RegMapStuff::Standby);
}

TEST_F(BoardAccess, StatusReadIgnoresItsResult) {
    DeviceAddress = 0x4D;
    driver.statusByte = 0x14;
    driver.statusResult = 7;
    EXPECT_EQ(ReadStatusRegister(), 0x14);
    EXPECT_EQ(driver.log.back(), (DriverRequest{220, 0x4D, 2, 1, 1}));
    EXPECT_TRUE(state.messages.empty());
}

TEST_F(BoardAccess, FailedTransfersReportCommunicationsInterruptedAndEndTheOperation) {
    driver.failAfter = 0;
    bool continued = false;
    EXPECT_THROW(
        {
            ReadRegister(0x4C, 0);
            continued = true;
        },
        BoardFailure);
    EXPECT_FALSE(continued);
    ASSERT_EQ(state.messages.size(), 1u);
    EXPECT_EQ(state.messages[0], "Communications Interrupted - Check USB connections");
    EXPECT_EQ(state.windowsClosed, 1);

    // Once reported, nothing sends another request: a second failure goes straight to the end.
    const size_t sent = driver.log.size();
    int32_t data = 1;
    EXPECT_THROW(WriteRegister(0x4C, 0x0B, data), BoardFailure);
    EXPECT_EQ(driver.log.size(), sent);
    EXPECT_EQ(state.messages.size(), 1u);
}

TEST_F(BoardAccess, FailedWriteDoesNotRefreshTheShadow) {
    driver.failAfter = 0;
    int32_t data = 0x44;
    EXPECT_THROW(WriteRegister(0x4C, 9, data), BoardFailure);
    EXPECT_EQ(driver.log.size(), 1u);
}

TEST_F(BoardAccess, TheFiveMessages) {
    EXPECT_EQ(BoardErrorMessage(0), "Firmware failed to download - Check USB connections");
    EXPECT_EQ(BoardErrorMessage(1), "SMBus enable error  - Check USB connections");
    EXPECT_EQ(BoardErrorMessage(2), "Initial Connection Failed - Check USB connections");
    EXPECT_EQ(BoardErrorMessage(3), "Communications Interrupted - Check USB connections");
    EXPECT_EQ(BoardErrorMessage(4), "Device not found - Check USNB connections");
}

TEST_F(BoardAccess, FirmwarePathIsTheProgramFolderAndTheFileName) {
    SetProgramFolder("/opt/kts");
    driver.firmwareResult = 5;
    EXPECT_EQ(DownloadFirmware(), 5);
    ASSERT_EQ(driver.firmwarePaths.size(), 1u);
    EXPECT_EQ(driver.firmwarePaths[0], "/opt/kts/KTS9330FW.Hex");
    EXPECT_EQ(FirmwarePath, "/opt/kts/KTS9330FW.Hex");

    // At the root the separator is doubled and the path used as it stands.
    SetProgramFolder("/");
    driver.firmwareResult = -1;
    EXPECT_EQ(DownloadFirmware(), -1);
    EXPECT_EQ(driver.firmwarePaths[1], "//KTS9330FW.Hex");
}

TEST_F(BoardAccess, AnsiBufferIsTerminatedAndNeverOverrun) {
    CopyToAnsiBuffer("abc");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(FirmwarePathBuffer.data())), "abc");
    CopyToAnsiBuffer(std::string(2000, 'x'));
    EXPECT_EQ(FirmwarePathBuffer[512], 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(FirmwarePathBuffer.data())).size(), 512u);
}

TEST_F(BoardAccess, ConnectRequestIs221With48And51) {
    driver.connectRefusals = 1;
    EXPECT_NE(ConnectRequest(), 0);
    EXPECT_EQ(ConnectRequest(), 0);
    EXPECT_EQ(driver.log.back(), (DriverRequest{221, 48, 51, 0, 0}));
}

TEST(LibraryDriver, MissingOrIncompleteLibrariesAreRefusedWithTheirNameAndReason) {
    std::string error;
    EXPECT_EQ(LibraryDriver::Open("/nonexistent/libUSBFunctions.so", error), nullptr);
    EXPECT_NE(error.find("/nonexistent/libUSBFunctions.so"), std::string::npos);

    // A real library that lacks the two functions: the Qt core library this test runs with.
    Dl_info info{};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(&qVersion), &info), 0);
    error.clear();
    EXPECT_EQ(LibraryDriver::Open(info.dli_fname, error), nullptr);
    EXPECT_NE(error.find("LoadFirmWare"), std::string::npos) << error;
}

TEST(LibraryDriver, ARelativeNameIsNeverLookedUpOnASearchPath) {
    std::string error;
    EXPECT_EQ(LibraryDriver::Open(DriverLibraryFileName(), error), nullptr);
    EXPECT_NE(error.find("absolute"), std::string::npos) << error;
}

TEST(LibraryDriver, TheSimulatedBoardLoadsAndAnswers) {
    const char* runtime = std::getenv("KTS_RUNTIME_DIR");
    ASSERT_NE(runtime, nullptr);
    std::string error;
    auto driver = LibraryDriver::Open(std::string(runtime) + "/" + DriverLibraryFileName(), error);
    ASSERT_NE(driver, nullptr) << error;
    const std::string firmware = std::string(runtime) + "/KTS9330FW.Hex";
    EXPECT_GE(driver->LoadFirmWare(firmware.c_str()), 0);
    uint8_t scratch = 0;
    EXPECT_EQ(driver->VendorIORequest(221, 48, 51, 0, 0, &scratch), 0);
    uint8_t buffer[65] = {};
    EXPECT_EQ(driver->VendorIORequest(222, 0x4C, 0xFE, 1, 1, buffer), 0);
    EXPECT_EQ(buffer[0], 0x41);
}

}  // namespace
