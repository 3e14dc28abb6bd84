// One chip on the board as a value: each read and write returns its outcome, the driver's
// reason included, and a failure ends nothing.
#include "support/ScriptedDriver.h"

#include "board/ChipOnBoard.h"
#include "board/USBStuff.h"

#include <gtest/gtest.h>

using namespace USBStuff;

namespace {

class ReasonedDriver : public ScriptedDriver {
public:
    std::string LastError() override { return "bus timed out"; }
};

}  // namespace

TEST(ChipOnBoard, EachTransferReturnsItsOutcomeAndAFailureEndsNothing) {
    struct Case {
        const char* what;
        bool write;
        int32_t data;
        int failAfter;  // requests answered before every one fails; -1 none
        bool ok;
        int32_t value;
        int32_t sentIndex;
    };
    const Case cases[] = {
        {"read", false, 0, -1, true, 0x55, 0x05},
        {"write", true, 0x12, -1, true, 0x12, 0x1205},
        {"write above a byte", true, 300, -1, true, 255, 0xFF05},
        {"failed read", false, 0, 0, false, 0, 0x05},
        {"failed write", true, 0x12, 0, false, 0, 0x1205},
    };
    for (const Case& c : cases) {
        ReasonedDriver driver;
        driver.failAfter = c.failAfter;
        const ChipOnBoard chip(&driver, 0x4C);
        const ChipTransfer t = c.write ? chip.Write(0x05, c.data) : chip.Read(0x05);
        EXPECT_EQ(t.ok, c.ok) << c.what;
        EXPECT_EQ(t.value, c.value) << c.what;
        EXPECT_EQ(t.reason, c.ok ? "" : "bus timed out") << c.what;
        EXPECT_EQ(t.error, BoardError::CommunicationsInterrupted) << c.what;
        ASSERT_EQ(driver.log.size(), 1u) << c.what;
        EXPECT_EQ(driver.log[0].value, 0x4C) << c.what;
        EXPECT_EQ(driver.log[0].index, c.sentIndex) << c.what;
        EXPECT_FALSE(FailureReported()) << c.what;
    }
    EXPECT_FALSE(ChipOnBoard(nullptr, 0x4C).Read(0x05)) << "no driver";
}
