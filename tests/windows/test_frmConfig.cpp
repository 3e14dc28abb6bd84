// The configuration window against the scripted board: what it reads at load, what Apply
// writes and in which order, and the refusal of values that do not fit their registers.
#include "windows/frmConfig.h"

#include "registers/RegMapStuff.h"
#include "support/BoardFailureTrap.h"
#include "support/ScriptedPrompts.h"
#include "widgets/Twips.h"
#include "widgets/UpDownSpinner.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

namespace {

using Writes = std::vector<std::pair<int, int>>;

class ConfigWindow : public ::testing::Test {
protected:
    std::map<int, int>& Chip() { return board.driver.Chip(); }

    frmConfig& Open() {
        form = std::make_unique<frmConfig>();
        prompts.warning = [this](const QString& text) { warnings << text; };
        return *form;
    }

    // Opens the window and forgets the reads of its load.
    frmConfig& OpenQuietly() {
        Open();
        board.driver.ClearLog();
        return *form;
    }

    // The data of the last write to a register, or -1.
    int WrittenTo(int reg) const {
        int data = -1;
        for (const auto& [r, d] : board.driver.Writes())
            if (r == reg) data = d;
        return data;
    }

    BoardFixtureState board;
    std::unique_ptr<frmConfig> form;
    ScriptedPrompts prompts;
    QStringList warnings;
};

TEST_F(ConfigWindow, OpensFixedWithItsTextsAndReadsInOrder) {
    frmConfig& f = Open();
    EXPECT_EQ(f.windowTitle(), "Configuration");
    EXPECT_EQ(f.minimumSize(), TwipsToPixels(6960, 5340));
    EXPECT_EQ(f.maximumSize(), TwipsToPixels(6960, 5340));
    EXPECT_EQ(f.Frame1->title(), "Device  Settings");
    EXPECT_EQ(f.chkExtRange->text(), "Enable  Extended Temp  Range");
    QStringList rates;
    for (int i = 0; i < f.cmbConvRate->count(); ++i) rates << f.cmbConvRate->itemText(i);
    EXPECT_EQ(rates, (QStringList{"0.0625 (16 sec)", "0.125 (8 sec)", "0.25  (4 sec)", "0.5 (2 sec)",
                                  "1 (1 sec)", "2 (500 ms)", "4 (250 ms)", "8 (125 ms)", "16 (62.5 ms)",
                                  "32 (31.25 ms)", "64 (15.63 ms)"}));
    EXPECT_EQ(board.driver.Reads(), (std::vector<int>{0x03, 0x04, 0x21, 0x12, 0x11}));
    EXPECT_TRUE(board.driver.Writes().empty());

    EXPECT_EQ(f.txtTHERMHyst->text(), "10");
    EXPECT_EQ(f.UpDown1->Minimum(), 0);
    EXPECT_EQ(f.UpDown1->Maximum(), 100);
    EXPECT_EQ(f.UpDown2->Minimum(), -128);
    EXPECT_EQ(f.UpDown2->Maximum(), 127);
    f.UpDown1->StepUp();
    EXPECT_EQ(f.txtTHERMHyst->text(), "11");
}

TEST_F(ConfigWindow, ApplyWritesEverySettingBackInOrder) {
    Chip()[0x03] = 0x84;
    frmConfig& f = OpenQuietly();
    EXPECT_TRUE(f.chkMaskAll->isChecked());
    EXPECT_FALSE(f.chkStandby->isChecked());
    EXPECT_TRUE(f.chkExtRange->isChecked());
    EXPECT_EQ(f.cmbPin6->currentText(), "ALERT");

    QTest::mouseClick(f.cmdApply, Qt::LeftButton);
    EXPECT_EQ(board.driver.Writes(), (Writes{{0x09, 0x84}, {0x0A, 0x08}, {0x21, 10}, {0x11, 0}, {0x12, 0}}));
    // Each partly owned register is read just before its write.
    EXPECT_EQ(board.driver.Reads(), (std::vector<int>{0x03, 0x03, 0x04}));
}

TEST_F(ConfigWindow, ApplyKeepsTheConfigurationBitsItDoesNotOwn) {
    Chip()[0x03] = 0x1B;
    frmConfig& f = OpenQuietly();
    EXPECT_FALSE(f.chkMaskAll->isChecked() || f.chkStandby->isChecked() || f.chkExtRange->isChecked());
    f.cmbPin6->setCurrentText("THERM2");
    f.cmdApply_Click();
    EXPECT_EQ(WrittenTo(0x09), 0x3B);

    f.chkMaskAll->setChecked(true);
    f.chkStandby->setChecked(true);
    f.chkExtRange->setChecked(true);
    f.cmdApply_Click();
    EXPECT_EQ(WrittenTo(0x09), 0xFF);
    EXPECT_TRUE(RegMapStuff::Standby);
    EXPECT_TRUE(RegMapStuff::ExtendedRange);
}

// Each owned Configuration bit, alone or as the only one clear, is shown at load and flipped by
// Apply, both ways (pin 6: item 0 "ALERT" is bit 5 clear, "THERM2" set).
TEST_F(ConfigWindow, EachConfigurationBitLoadsAndAppliesBothWays) {
    const struct {
        const char* name;
        int mask;
        std::function<bool(frmConfig&)> shown;
        std::function<void(frmConfig&, bool)> choose;
    } bits[] = {
        {"mask", 0x80, [](frmConfig& f) { return f.chkMaskAll->isChecked(); },
         [](frmConfig& f, bool on) { f.chkMaskAll->setChecked(on); }},
        {"standby", 0x40, [](frmConfig& f) { return f.chkStandby->isChecked(); },
         [](frmConfig& f, bool on) { f.chkStandby->setChecked(on); }},
        {"range", 0x04, [](frmConfig& f) { return f.chkExtRange->isChecked(); },
         [](frmConfig& f, bool on) { f.chkExtRange->setChecked(on); }},
        {"pin 6", 0x20, [](frmConfig& f) { return f.cmbPin6->currentText() == "THERM2"; },
         [](frmConfig& f, bool on) { f.cmbPin6->setCurrentText(on ? "THERM2" : "ALERT"); }},
    };
    for (const auto& bit : bits) {
        for (const bool set : {true, false}) {
            SCOPED_TRACE(std::string(bit.name) + (set ? " set" : " clear"));
            const int loaded = set ? bit.mask : 0xFF & ~bit.mask;
            Chip()[0x03] = loaded;
            frmConfig& f = OpenQuietly();
            EXPECT_EQ(bit.shown(f), set);
            bit.choose(f, !set);
            f.cmdApply_Click();
            EXPECT_EQ(WrittenTo(0x09), loaded ^ bit.mask);
        }
    }
}

TEST_F(ConfigWindow, ConversionRateKeepsTheHighBits) {
    Chip()[0x04] = 0x28;
    frmConfig& f = OpenQuietly();
    EXPECT_EQ(f.cmbConvRate->currentText(), "16 (62.5 ms)");
    f.cmbConvRate->setCurrentText("1 (1 sec)");
    f.cmdApply_Click();
    EXPECT_EQ(WrittenTo(0x0A), 0x24);
}

TEST_F(ConfigWindow, RateCodeWithoutItemShowsNothingAndWritesCode11) {
    Chip()[0x04] = 0x2D;
    frmConfig& f = OpenQuietly();
    EXPECT_EQ(f.cmbConvRate->currentIndex(), -1);
    EXPECT_EQ(f.cmbConvRate->currentText(), "");
    f.cmdApply_Click();
    EXPECT_EQ(WrittenTo(0x0A), 0x2B);
}

TEST_F(ConfigWindow, OffsetRegistersAreShownInDegrees) {
    const struct {
        int high, low;
        const char* text;
    } cases[] = {{0x02, 0x40, "2.25"}, {0xFF, 0xC0, "-.25"}, {0x80, 0x00, "-128"}, {0x7F, 0xC0, "127.75"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Chip()[0x11] = c.high;
        Chip()[0x12] = c.low;
        EXPECT_EQ(Open().txtOffset->text(), c.text);
    }
}

TEST_F(ConfigWindow, OffsetTextIsWrittenAsTwoBytes) {
    const struct {
        const char* text;
        int high, low;
    } cases[] = {{"-.25", 0xFF, 0xC0}, {"2.9", 0x02, 0x00}, {"-1.25", 0xFE, 0xC0},
                 {"127.75", 0x7F, 0xC0}, {"-128", 0x80, 0x00}, {"abc", 0x00, 0x00}};
    frmConfig& f = OpenQuietly();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        board.driver.ClearLog();
        f.txtOffset->setText(c.text);
        f.cmdApply_Click();
        const Writes writes = board.driver.Writes();
        ASSERT_EQ(writes.size(), 5u);
        EXPECT_EQ(writes[3], std::make_pair(0x11, c.high));
        EXPECT_EQ(writes[4], std::make_pair(0x12, c.low));
    }
}

TEST_F(ConfigWindow, HysteresisIsRoundedHalvesToEven) {
    const std::pair<const char*, int> cases[] = {{"10.5", 10}, {"11.5", 12}, {"", 0}, {"255", 255}};
    frmConfig& f = OpenQuietly();
    for (const auto& [text, written] : cases) {
        SCOPED_TRACE(text);
        f.txtTHERMHyst->setText(text);
        f.cmdApply_Click();
        EXPECT_EQ(WrittenTo(0x21), written);
    }
}

TEST_F(ConfigWindow, CancelWritesNothingAndCloses) {
    frmConfig& f = OpenQuietly();
    QSignalSpy unloaded(&f, &ChildForm::unloaded);
    f.chkMaskAll->setChecked(true);
    f.chkStandby->setChecked(true);
    f.chkExtRange->setChecked(true);
    f.cmbPin6->setCurrentIndex(1);
    f.cmbConvRate->setCurrentIndex(0);
    f.txtOffset->setText("5");
    f.txtTHERMHyst->setText("20");
    QTest::mouseClick(f.cmdCancel, Qt::LeftButton);
    EXPECT_TRUE(board.driver.log.empty());
    EXPECT_EQ(unloaded.count(), 1);
}

TEST_F(ConfigWindow, OkAppliesAndCloses) {
    frmConfig& f = OpenQuietly();
    QSignalSpy unloaded(&f, &ChildForm::unloaded);
    f.txtTHERMHyst->setText("20");
    QTest::mouseClick(f.cmdOK, Qt::LeftButton);
    EXPECT_EQ(WrittenTo(0x21), 20);
    EXPECT_EQ(unloaded.count(), 1);
}

TEST_F(ConfigWindow, ValuesOutsideTheirRegistersAreRefusedBeforeAnyWrite) {
    const struct {
        const char* hysteresis;
        const char* offset;
        const char* named;
    } cases[] = {{"-1", "0", "THERM Hysteresis"},        {"256", "0", "THERM Hysteresis"},
                 {"255.5", "0", "THERM Hysteresis"},     {"1e10", "0", "THERM Hysteresis"},
                 {"10", "128", "Remote Temp Offset"},    {"10", "-128.25", "Remote Temp Offset"},
                 {"10", "127.8", "Remote Temp Offset"},  {"10", "1e400", "Remote Temp Offset"}};
    frmConfig& f = OpenQuietly();
    QSignalSpy unloaded(&f, &ChildForm::unloaded);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.hysteresis) + " / " + c.offset);
        warnings.clear();
        f.txtTHERMHyst->setText(c.hysteresis);
        f.txtOffset->setText(c.offset);
        f.cmdOK_Click();
        EXPECT_TRUE(board.driver.log.empty());
        ASSERT_EQ(warnings.size(), 1);
        EXPECT_TRUE(warnings[0].contains(c.named)) << warnings[0].toStdString();
    }
    EXPECT_EQ(unloaded.count(), 0);
    EXPECT_TRUE(warnings.back().contains("-128 to 127.75"));
}

TEST_F(ConfigWindow, FailedReadGoesToTheFailurePath) {
    board.driver.failAfter = 0;
    EXPECT_THROW(Open(), BoardFailure);
    ASSERT_FALSE(board.messages.empty());
    EXPECT_EQ(board.messages.back(), "Communications Interrupted - Check USB connections");
}

TEST_F(ConfigWindow, FailureDuringApplyStopsTheWrites) {
    frmConfig& f = OpenQuietly();
    board.driver.failAfter = 2;   // the Configuration read and write pass, the next read fails
    EXPECT_THROW(f.cmdApply_Click(), BoardFailure);
    EXPECT_EQ(board.driver.Writes().size(), 1u);
}

}  // namespace
