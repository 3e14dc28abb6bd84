// The options window: what Apply takes over, and what it refuses.
#include "support/BoardFailureTrap.h"
#include "support/ScriptedPrompts.h"

#include "state/GeneralStuff.h"
#include "app/frmSWOptions.h"
#include "widgets/UpDownSpinner.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace GeneralStuff;

namespace {

class OptionsTest : public ::testing::Test {
protected:
    OptionsTest() {
        prompts.warning = [this](const QString& text) { warnings << text; };
    }
    void Apply(const QString& read, const QString& graph, const QString& log) {
        form.txtReadInt->setText(read);
        form.txtGraphing->setText(graph);
        form.txtLogging->setText(log);
        form.cmdApply_Click();
    }
    BoardFixtureState state;
    frmSWOptions form;
    ScriptedPrompts prompts;
    QStringList warnings;
};

TEST_F(OptionsTest, LoadShowsTheCurrentSettings) {
    EXPECT_EQ(form.txtReadInt->text(), "100");
    EXPECT_EQ(form.txtGraphing->text(), "50");
    EXPECT_EQ(form.txtLogging->text(), "100");
    EXPECT_TRUE(form.chkMonitoring->isChecked());
    EXPECT_EQ(form.windowTitle(), "Options");
    EXPECT_EQ(form.cmdCancel->text(), "Close");
    EXPECT_EQ(form.chkMonitoring->text(), "Enable continuous reading (graphing, interrupts data logging)");
}

TEST_F(OptionsTest, EveryOpeningShowsTheSettingsAsTheyStand) {
    const struct {
        bool monitoring;
        int read, graph, log;
        const char *readText, *graphText, *logText;
    } cases[] = {{false, 250, 70, 300, "250", "70", "300"}, {true, 0, -20, 12, "0", "-20", "12"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.readText);
        MonitoringEnabled = c.monitoring;
        ReadInterval = c.read;
        GraphInterval = static_cast<int16_t>(c.graph);
        LogInterval = c.log;
        frmSWOptions opened;
        EXPECT_EQ(opened.chkMonitoring->isChecked(), c.monitoring);
        EXPECT_EQ(opened.txtReadInt->text(), c.readText);
        EXPECT_EQ(opened.txtGraphing->text(), c.graphText);
        EXPECT_EQ(opened.txtLogging->text(), c.logText);
    }
}

TEST_F(OptionsTest, ApplyParsesAndRoundsHalvesToEven) {
    Apply("250", "12.5", "13.5");
    EXPECT_EQ(ReadInterval, 250);
    EXPECT_EQ(GraphInterval, 12);
    EXPECT_EQ(LogInterval, 14);
    Apply("abc", "-20", "50 ms");
    EXPECT_EQ(ReadInterval, 0);
    EXPECT_EQ(GraphInterval, -20);
    EXPECT_EQ(LogInterval, 50);
    EXPECT_TRUE(warnings.isEmpty());
}

TEST_F(OptionsTest, ApplyTakesTheCheckBox) {
    form.chkMonitoring->setChecked(false);
    form.cmdApply_Click();
    EXPECT_FALSE(MonitoringEnabled);
}

TEST_F(OptionsTest, OutOfRangeValuesAreRefusedAndNothingIsApplied) {
    form.chkMonitoring->setChecked(false);
    Apply("300", "40000", "200");
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains("Graphing Interval (ms)"));
    EXPECT_TRUE(warnings[0].contains("32767"));
    EXPECT_EQ(ReadInterval, 100);
    EXPECT_EQ(LogInterval, 100);
    EXPECT_EQ(GraphInterval, 50);
    EXPECT_TRUE(MonitoringEnabled);

    Apply("1e12", "40", "200");
    ASSERT_EQ(warnings.size(), 2);
    EXPECT_TRUE(warnings[1].contains("Reading Interval (ms)"));
    EXPECT_EQ(ReadInterval, 100);

    Apply("100", "40", "&H7FFFFFFFF");
    ASSERT_EQ(warnings.size(), 3);
    EXPECT_TRUE(warnings[2].contains("Logging Interval (ms)"));
    EXPECT_EQ(GraphInterval, 50);
}

TEST_F(OptionsTest, CloseKeepsTheOldValues) {
    form.show();
    form.txtReadInt->setText("999");
    QTest::mouseClick(form.cmdCancel, Qt::LeftButton);
    EXPECT_EQ(ReadInterval, 100);
    frmSWOptions again;
    EXPECT_EQ(again.txtReadInt->text(), "100");
}

TEST_F(OptionsTest, SpinnersStepWithinTheirRange) {
    form.txtLogging->setText("55");
    form.UpDown3->StepDown();
    EXPECT_EQ(form.txtLogging->text(), "50");
    form.txtReadInt->setText("9995");
    form.UpDown1->StepUp();
    EXPECT_EQ(form.txtReadInt->text(), "10000");
    form.txtGraphing->setText("not a number");
    form.UpDown2->StepUp();
    EXPECT_EQ(form.txtGraphing->text(), "20");
    EXPECT_EQ(ReadInterval, 100);  // a spinner never applies anything
}

}  // namespace
