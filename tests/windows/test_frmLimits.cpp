#include "windows/frmLimits.h"

#include "state/GeneralStuff.h"
#include "registers/RegMapStuff.h"
#include "support/BoardFailureTrap.h"
#include "widgets/IndicatorLamp.h"
#include "widgets/LinearGauge.h"
#include "widgets/Twips.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

using Pointer = LinearGauge::Pointer;
using Writes = std::vector<std::pair<int, int>>;

const std::vector<int> AllLimitReads = {0x06, 0x05, 0x20, 0x08, 0x14, 0x07, 0x13, 0x19};
// Lamp indices top to bottom, and the status bit each one shows.
const int RowLamps[] = {0, 1, 8, 2, 3, 9, 6};
const int RowMasks[] = {0x40, 0x20, 0x01, 0x10, 0x08, 0x02, 0x04};

class LimitsWindow : public ::testing::Test {
protected:
    std::map<int, int>& Chip() { return board.driver.Chip(); }

    std::unique_ptr<frmLimits> Open() {
        auto form = std::make_unique<frmLimits>();
        board.driver.ClearLog();
        return form;
    }

    // Lamps that are on, as indices.
    static std::vector<int> LitLamps(frmLimits& form) {
        std::vector<int> lit;
        for (int lamp : RowLamps)
            if (form.tglAlert[lamp]->IsOn()) lit.push_back(lamp);
        return lit;
    }

    BoardFixtureState board;
};

}  // namespace

TEST_F(LimitsWindow, LoadReadsAllLimitsSetsTheScaleAndTheOpenFlag) {
    Chip()[0x06] = 5;
    Chip()[0x08] = 25;
    Chip()[0x14] = 0x7F;   // the stray low bits carry nothing
    board.driver.ClearLog();
    frmLimits form;

    EXPECT_EQ(board.driver.Reads(), AllLimitReads);
    EXPECT_TRUE(board.driver.Writes().empty());
    EXPECT_TRUE(GeneralStuff::LimitsOpen);
    EXPECT_EQ(form.windowTitle(), "Limits and Interrupts");
    EXPECT_EQ(form.size(), TwipsToPixels(6270, 5805));
    for (LinearGauge* gauge : form.ggeTemp) {
        EXPECT_EQ(gauge->LowerEnd(), 0.0);
        EXPECT_EQ(gauge->UpperEnd(), 127.0);
    }
    EXPECT_EQ(form.ggeTemp[0]->PointerValue(Pointer::Low), 5.0);
    EXPECT_EQ(form.ggeTemp[0]->PointerValue(Pointer::High), 85.0);
    EXPECT_EQ(form.ggeTemp[0]->PointerValue(Pointer::Therm), 85.0);
    EXPECT_EQ(form.ggeTemp[1]->PointerValue(Pointer::Low), 25.25);

    form.close();
    EXPECT_FALSE(GeneralStuff::LimitsOpen);
    EXPECT_EQ(board.driver.Reads().size(), AllLimitReads.size());   // closing reads nothing
}

TEST_F(LimitsWindow, ExtendedRangeLowersTheScaleAndShiftsTheLimits) {
    RegMapStuff::ExtendedRange = true;
    Chip()[0x19] = 149;
    Chip()[0x08] = 53;
    Chip()[0x14] = 0xC0;
    auto form = Open();
    EXPECT_EQ(form->ggeTemp[0]->LowerEnd(), -64.0);
    EXPECT_EQ(form->ggeTemp[1]->LowerEnd(), -64.0);
    EXPECT_EQ(form->ggeTemp[1]->PointerValue(Pointer::Therm), 85.0);
    EXPECT_EQ(form->ggeTemp[1]->PointerValue(Pointer::Low), -10.25);
}

TEST_F(LimitsWindow, ControlsCarryTheirNamesTextsAndRowOrder) {
    auto form = Open();
    const char* texts[] = {"Local High", "Local  Low", "Local THERM", "Remote High",
                           "Remote Low", "Remote THERM", "Remote Diode Open"};
    const int labels[] = {0, 1, 8, 2, 3, 9, 4};
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    int previousY = -1;
    for (int row = 0; row < 7; ++row) {
        auto* lamp = form->findChild<IndicatorLamp*>(QStringLiteral("tglAlert_%1").arg(RowLamps[row]));
        auto* label = form->findChild<QLabel*>(QStringLiteral("Label4_%1").arg(labels[row]));
        ASSERT_TRUE(lamp && label) << row;
        EXPECT_EQ(label->text(), texts[row]);
        EXPECT_EQ(lamp->toolTip(), "Interrupt Status: Green=OK, Red=Bad, Invisible=Disabled");
        const int y = lamp->mapTo(form.get(), QPoint(0, lamp->height() / 2)).y();
        EXPECT_GT(y, previousY) << row;
        EXPECT_LT(std::abs(label->mapTo(form.get(), QPoint(0, label->height() / 2)).y() - y), 4) << row;
        EXPECT_LT(lamp->x(), label->x());
        previousY = y;
    }
    EXPECT_EQ(form->findChild<QLabel*>("Label1")->text(), "Local");
    EXPECT_EQ(form->findChild<QLabel*>("lblRem1_2")->text(), "Remote");
    EXPECT_EQ(form->findChild<LinearGauge*>("ggeTemp_1")->toolTip(), "Drag the sliders to change the limits");
    EXPECT_LT(form->ggeTemp[0]->x(), form->ggeTemp[1]->x());
    EXPECT_GT(form->ggeTemp[0]->height(), 250);
}

TEST_F(LimitsWindow, StatusBitsLightTheirLamps) {
    auto form = Open();
    const std::pair<int, std::vector<int>> cases[] = {
        {0x00, {}}, {0x7F, {0, 1, 8, 2, 3, 9, 6}}, {0x80, {}}, {0x04, {6}}};
    for (const auto& [status, lit] : cases) {
        board.driver.statusByte = status;
        form->UpdateAlertStatus();
        EXPECT_EQ(LitLamps(*form), lit) << status;
    }
    for (int row = 0; row < 7; ++row) {
        board.driver.statusByte = RowMasks[row];
        form->UpdateAlertStatus();
        EXPECT_EQ(LitLamps(*form), std::vector<int>{RowLamps[row]});
    }
    EXPECT_EQ(board.driver.log.back().request, 220);
    EXPECT_TRUE(board.driver.RegisterTraffic().empty());
}

TEST_F(LimitsWindow, FailedStatusReadIsIgnored) {
    auto form = Open();
    board.driver.statusResult = 1;
    board.driver.statusByte = 0x40;
    EXPECT_NO_THROW(form->UpdateAlertStatus());
    EXPECT_TRUE(board.messages.empty());
    EXPECT_EQ(LitLamps(*form), std::vector<int>{0});
}

TEST_F(LimitsWindow, GaugesShowTemperaturesWithUntrimmedCaptions) {
    auto form = Open();
    GeneralStuff::Temperature = {25.0f, 0.25f, 0.0f};
    form->UpdateGauges();
    EXPECT_EQ(form->ggeTemp[0]->Caption(), QString::fromUtf8(" 25°C"));
    EXPECT_EQ(form->ggeTemp[1]->Caption(), QString::fromUtf8(" .25°C"));
    EXPECT_EQ(form->ggeTemp[1]->Value(), 0.25);
    GeneralStuff::Temperature[0] = -3.5f;
    form->UpdateGauges();
    EXPECT_EQ(form->ggeTemp[0]->Caption(), QString::fromUtf8("-3.5°C"));
    EXPECT_EQ(form->ggeTemp[0]->Value(), -3.5);
    EXPECT_TRUE(board.driver.log.empty());
}

TEST_F(LimitsWindow, LocalLimitsRoundHalvesToEven) {
    auto form = Open();
    LinearGauge* local = form->ggeTemp[0];
    local->SetPointerValue(Pointer::Low, 30.5);
    local->SetPointerValue(Pointer::High, 31.5);
    local->SetPointerValue(Pointer::Therm, 90);
    form->ggeTemp_PointerMoved(0);
    EXPECT_EQ(board.driver.Writes(), (Writes{{0x0C, 30}, {0x0B, 32}, {0x20, 90}}));
    EXPECT_EQ(board.driver.Reads(), AllLimitReads);
    EXPECT_EQ(local->PointerValue(Pointer::Low), 30.0);
    EXPECT_EQ(local->PointerValue(Pointer::High), 32.0);

    RegMapStuff::ExtendedRange = true;
    local->SetPointerValue(Pointer::Low, 30.5);
    board.driver.ClearLog();
    form->ggeTemp_PointerMoved(0);
    EXPECT_EQ(board.driver.Writes().front(), std::make_pair(0x0C, 94));
}

// Values just off a half show how each one-byte limit is taken: the local low and high limits
// in single precision (where they fall on the half and round to even), the local THERM limit in
// double precision, and the remote THERM limit to the nearest degree, not down.
TEST_F(LimitsWindow, OneByteLimitsKeepTheirPrecisionAndRounding) {
    const struct {
        const char* name;
        int gauge;
        Pointer pointer;
        double value;
        int reg, code;
    } cases[] = {
        {"local low", 0, Pointer::Low, 30.5000001, 0x0C, 30},
        {"local high", 0, Pointer::High, 31.4999999, 0x0B, 32},
        {"local THERM", 0, Pointer::Therm, 30.5000001, 0x20, 31},
        {"local THERM below a half", 0, Pointer::Therm, 31.4999999, 0x20, 31},
        {"remote THERM", 1, Pointer::Therm, 30.75, 0x19, 31},
        {"remote THERM on a half", 1, Pointer::Therm, 30.5, 0x19, 30},
    };
    auto form = Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form->ggeTemp[c.gauge]->SetPointerValue(c.pointer, c.value);
        board.driver.ClearLog();
        form->ggeTemp_PointerMoved(c.gauge);
        int written = -1;
        for (const auto& [reg, data] : board.driver.Writes())
            if (reg == c.reg) written = data;
        EXPECT_EQ(written, c.code);
    }
}

TEST_F(LimitsWindow, RemoteLimitsSplitWholeDegreesAndQuarters) {
    auto form = Open();
    LinearGauge* remote = form->ggeTemp[1];
    remote->SetPointerValue(Pointer::Low, 25.3);
    remote->SetPointerValue(Pointer::High, 10.9);
    form->ggeTemp_PointerMoved(1);
    EXPECT_EQ(board.driver.Writes(), (Writes{{0x0E, 25}, {0x14, 0x40}, {0x0D, 10}, {0x13, 0x00}, {0x19, 85}}));
    EXPECT_EQ(board.driver.Reads(), AllLimitReads);
    EXPECT_EQ(remote->PointerValue(Pointer::Low), 25.25);
    EXPECT_EQ(remote->PointerValue(Pointer::High), 10.0);

    RegMapStuff::ExtendedRange = true;
    remote->SetPointerValue(Pointer::Low, -10.25);
    remote->SetPointerValue(Pointer::Therm, 85);
    board.driver.ClearLog();
    form->ggeTemp_PointerMoved(1);
    const Writes writes = board.driver.Writes();
    EXPECT_EQ(writes[0], std::make_pair(0x0E, 53));
    EXPECT_EQ(writes[1], std::make_pair(0x14, 0xC0));
    EXPECT_EQ(writes[4], std::make_pair(0x19, 149));
    EXPECT_EQ(remote->PointerValue(Pointer::Low), -10.25);
    EXPECT_EQ(remote->PointerValue(Pointer::Therm), 85.0);
}

TEST_F(LimitsWindow, MouseDragOnTheRemoteGaugeWritesItsFiveRegistersThenRereadsAll) {
    auto form = Open();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    LinearGauge* remote = form->ggeTemp[1];
    const QPoint start = remote->PointerHandleCentre(Pointer::High);
    QTest::mousePress(remote, Qt::LeftButton, {}, start);
    QTest::mouseMove(remote, start + QPoint(0, 30));
    QTest::mouseRelease(remote, Qt::LeftButton, {}, start + QPoint(0, 30));

    std::vector<int> written;
    for (const auto& [reg, data] : board.driver.Writes()) written.push_back(reg);
    EXPECT_EQ(written, (std::vector<int>{0x0E, 0x14, 0x0D, 0x13, 0x19}));
    EXPECT_EQ(board.driver.Reads(), AllLimitReads);
    const double high = remote->PointerValue(Pointer::High);
    EXPECT_LT(high, 85.0);
    EXPECT_EQ(Chip()[0x07] + (Chip()[0x13] & 0xC0) / 256.0, high);
}

// The scale keeps its lower end when the range bit changes under an open window.
TEST_F(LimitsWindow, RangeChangedWhileOpenNeverWritesACodeOutsideAByte) {
    auto form = Open();   // default range: the scale starts at 0
    RegMapStuff::ExtendedRange = true;
    Chip()[0x06] = 54;    // -10, below the scale
    form->RefreshLimits(0);
    EXPECT_EQ(form->ggeTemp[0]->PointerValue(Pointer::Low), -10.0);
    board.driver.ClearLog();
    form->ggeTemp_PointerMoved(0);
    EXPECT_EQ(board.driver.Writes().front(), std::make_pair(0x0C, 54));   // written back unchanged

    RegMapStuff::ExtendedRange = true;
    auto wide = Open();   // extended range: the scale starts at -64
    RegMapStuff::ExtendedRange = false;
    for (int index = 0; index < 2; ++index) {
        for (Pointer which : {Pointer::Low, Pointer::High, Pointer::Therm})
            wide->ggeTemp[index]->SetPointerValue(which, -20);
        board.driver.ClearLog();
        wide->ggeTemp_PointerMoved(index);
        for (const auto& [reg, data] : board.driver.Writes()) EXPECT_EQ(data, 0) << reg;
    }
}

TEST_F(LimitsWindow, FailedWriteEndsTheSequence) {
    auto form = Open();
    form->ggeTemp[1]->SetPointerValue(Pointer::Low, 20);
    board.driver.failAfter = 2;   // the third request fails
    EXPECT_THROW(form->ggeTemp_PointerMoved(1), BoardFailure);
    EXPECT_EQ(board.driver.log.size(), 3u);
    EXPECT_EQ(board.messages.size(), 1u);
}

TEST_F(LimitsWindow, PointersFollowLimitsAnotherProgramSetButNotWhileHeld) {
    auto form = Open();
    Chip()[0x05] = 70;   // kts9320b-cli set local-high=70
    form->ggeTemp[0]->SetPointerValue(Pointer::Low, 3);
    QTest::mousePress(form->ggeTemp[0], Qt::LeftButton, {}, form->ggeTemp[0]->PointerHandleCentre(Pointer::Low));
    form->FollowChipLimits();
    EXPECT_EQ(form->ggeTemp[0]->PointerValue(Pointer::High), 85.0);
    QTest::mouseRelease(form->ggeTemp[0], Qt::LeftButton, {}, form->ggeTemp[0]->PointerHandleCentre(Pointer::Low));
    form->FollowChipLimits();
    EXPECT_EQ(form->ggeTemp[0]->PointerValue(Pointer::High), 70.0);
}
