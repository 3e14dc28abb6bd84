#include "output/frmGraph.h"

#include "state/GeneralStuff.h"
#include "chart/ChartInstrument.h"
#include "chart/StripChart.h"
#include "registers/RegMapStuff.h"
#include "support/BoardFailureTrap.h"
#include "support/ScriptedClock.h"
#include "widgets/Twips.h"

#include <gtest/gtest.h>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using GeneralStuff::Temperature;

class GraphTest : public ::testing::Test {
protected:
    GraphTest() {
        GeneralStuff::SetClock(&clock);
        graph->show();
    }
    ~GraphTest() override { GeneralStuff::SetClock(nullptr); }

    QString Legend(int trace) const { return graph->stpGraph->TraceCaption(trace); }
    const TracePoints& Points(int trace) const { return graph->stpGraph->Points(trace); }

    BoardFixtureState board;
    ScriptedClock clock;
    std::unique_ptr<frmGraph> graph = std::make_unique<frmGraph>();
};

namespace {
void ExpectNear(int pixels, int expected) { EXPECT_NEAR(pixels, expected, 1); }
}  // namespace

TEST_F(GraphTest, LegendsShowTheLatestTemperatures) {
    struct Case {
        bool extended;
        float local;
        float remote;
        const char* localText;
        const char* remoteText;
    };
    const Case cases[] = {
        {false, 25, 25, "Local = 25°C", "Remote1 = 25.00°C"},
        {false, 30, 25.5f, "Local = 30°C", "Remote1 = 25.50°C"},
        {true, -64, -10.5f, "Local = -64°C", "Remote1 = -10.50°C"},
        {true, 0, -0.25f, "Local = 0°C", "Remote1 = -.25°C"},
    };
    for (const Case& c : cases) {
        RegMapStuff::ExtendedRange = c.extended;
        Temperature[0] = c.local;
        Temperature[1] = c.remote;
        graph->UpdateGraph();
        EXPECT_EQ(Legend(0), QString::fromUtf8(c.localText));
        EXPECT_EQ(Legend(1), QString::fromUtf8(c.remoteText));
    }
}

TEST_F(GraphTest, TheRemoteTemperatureIsLeftRoundedToThreeDecimals) {
    Temperature[1] = 25.2504f;
    graph->UpdateGraph();
    EXPECT_EQ(Temperature[1], 25.25f);
    EXPECT_EQ(Legend(1), QString::fromUtf8("Remote1 = 25.25°C"));
}

TEST_F(GraphTest, PointsLandAtTheClockTimeAndRepeatWithoutNewReadings) {
    clock.now = 50709;   // 14:05:09
    clock.step = 0.05;
    Temperature = {24, 31.75f, 0};
    for (int i = 0; i < 3; ++i) graph->UpdateGraph();   // monitoring off: the same values
    EXPECT_EQ(clock.readings, 3);                          // one reading for both traces
    for (int trace = 0; trace < 2; ++trace) {
        ASSERT_EQ(Points(trace).Size(), 3);
        for (int i = 0; i < 3; ++i) {
            EXPECT_DOUBLE_EQ(Points(trace).At(i).key, 50709 + i * 0.05);
            EXPECT_DOUBLE_EQ(Points(trace).At(i).value, trace == 0 ? 24 : 31.75);
        }
    }
    EXPECT_EQ(Legend(0), QString::fromUtf8("Local = 24°C"));
    EXPECT_EQ(Legend(1), QString::fromUtf8("Remote1 = 31.75°C"));
}

TEST_F(GraphTest, LayoutFollowsTheWindowSize) {
    // At the load size: chart 9160 x 6440, buttons at 6640.
    ExpectNear(graph->stpGraph->geometry().width(), TwipsToPixelsX(9160));
    ExpectNear(graph->stpGraph->geometry().height(), TwipsToPixelsY(6440));
    ExpectNear(graph->cmdOneShot->y(), TwipsToPixelsY(6640));

    graph->SetFormSizeTwips(10000, 8000);
    const QRect chart = graph->stpGraph->geometry();
    EXPECT_EQ(chart.topLeft(), QPoint(0, 0));
    ExpectNear(chart.width(), TwipsToPixelsX(9800));
    ExpectNear(chart.height(), TwipsToPixelsY(6700));
    ExpectNear(graph->cmdOneShot->y(), TwipsToPixelsY(6900));
    EXPECT_EQ(graph->cmdConfig->y(), graph->cmdOneShot->y());
    ExpectNear(graph->cmdOneShot->x(), TwipsToPixelsX(2160));
    ExpectNear(graph->cmdConfig->x(), TwipsToPixelsX(4800));
    EXPECT_EQ(graph->cmdOneShot->size(), TwipsToPixels(2415, 375));
    EXPECT_EQ(graph->cmdConfig->size(), TwipsToPixels(2415, 375));
}

TEST_F(GraphTest, ATinyOrMinimizedWindowNeverGetsANegativeSize) {
    graph->SetFormSizeTwips(150, 900);
    EXPECT_EQ(graph->stpGraph->size(), QSize(0, 0));
    ExpectNear(graph->cmdOneShot->y(), TwipsToPixelsY(200));   // below a chart of no height

    QMdiArea area;
    area.resize(800, 600);
    area.show();
    frmGraph* inFrame = new frmGraph;
    QMdiSubWindow* sub = area.addSubWindow(inFrame);
    inFrame->ApplyFormSize();
    sub->show();
    sub->showMinimized();
    inFrame->Form_Resize();
    EXPECT_GE(inFrame->stpGraph->width(), 0);
    EXPECT_GE(inFrame->stpGraph->height(), 0);
    EXPECT_GE(inFrame->cmdOneShot->y(), TwipsToPixelsY(200) - 1);
    sub->showNormal();
    ExpectNear(inFrame->stpGraph->width(), TwipsToPixelsX(inFrame->OuterWidthTwips() - 200));
}

TEST_F(GraphTest, OneShotButtonFollowsStandbyAtTheNextUpdate) {
    EXPECT_FALSE(graph->cmdOneShot->isEnabled());
    RegMapStuff::Standby = true;
    EXPECT_FALSE(graph->cmdOneShot->isEnabled());
    graph->UpdateGraph();
    EXPECT_TRUE(graph->cmdOneShot->isEnabled());
    RegMapStuff::Standby = false;
    graph->UpdateGraph();
    EXPECT_FALSE(graph->cmdOneShot->isEnabled());

    RegMapStuff::Standby = true;
    frmGraph openedInStandby;
    EXPECT_TRUE(openedInStandby.cmdOneShot->isEnabled());
}

TEST_F(GraphTest, OneShotWritesRegister0FWithOneAndNothingElse) {
    RegMapStuff::Standby = true;
    graph->UpdateOneShot();
    board.driver.ClearLog();
    QTest::mouseClick(graph->cmdOneShot, Qt::LeftButton);
    const std::vector<std::pair<int, int>> expected = {{0x0F, 1}};
    EXPECT_EQ(board.driver.Writes(), expected);
    EXPECT_TRUE(board.driver.Reads().empty());
    EXPECT_TRUE(RegMapStuff::Standby);
}

TEST_F(GraphTest, AFailedOneShotWriteGoesToTheBoardErrorReporter) {
    board.driver.failAfter = 0;
    EXPECT_THROW(graph->cmdOneShot_Click(), BoardFailure);
    ASSERT_EQ(board.messages.size(), 1u);
}

TEST_F(GraphTest, ConfigurationButtonAsksForTheConfigurationWindow) {
    QSignalSpy spy(graph.get(), &frmGraph::configurationRequested);
    QTest::mouseClick(graph->cmdConfig, Qt::LeftButton);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_TRUE(board.driver.log.empty());
}

TEST_F(GraphTest, OpenFlagAndAFreshChartOnReopening) {
    EXPECT_TRUE(GeneralStuff::GraphOpen);
    EXPECT_EQ(graph->windowTitle(), "Graphing");
    Temperature = {25, 25, 0};
    clock.step = 0.05;
    for (int i = 0; i < 20; ++i) graph->UpdateGraph();
    graph->close();
    EXPECT_FALSE(GeneralStuff::GraphOpen);

    graph = std::make_unique<frmGraph>();
    EXPECT_TRUE(GeneralStuff::GraphOpen);
    EXPECT_EQ(graph->stpGraph->PointCount(0), 0);
    EXPECT_EQ(graph->stpGraph->PointCount(1), 0);
    EXPECT_EQ(Legend(0), "Local");
}

// The limit lines show what the chip holds by the present range, read when shown and once a
// second while shown; hidden, they ask the chip nothing.
TEST_F(GraphTest, LimitLinesShowTheChipsLimitsAsTheyChange) {
    auto& chip = board.driver.Chip();
    for (const auto& [reg, code] : {std::pair{0x05, 90}, {0x06, 10}, {0x20, 95}, {0x07, 80}, {0x13, 0x40}, {0x08, 5},
                                    {0x14, 0xC0}, {0x19, 100}}) {
        chip[reg] = code;
    }
    ChartLimitLines& limits = graph->stpGraph->Instrument().Limits();
    for (const double offset : {0, -64}) {
        RegMapStuff::ExtendedRange = offset != 0;
        limits.SetShown(true);
        const std::vector<LimitLine> expected = {{0, "High", 90 + offset},    {0, "Low", 10 + offset},
                                                 {0, "THERM", 95 + offset},   {1, "High", 80.25 + offset},
                                                 {1, "Low", 5.75 + offset},   {1, "THERM", 100 + offset}};
        EXPECT_EQ(limits.Lines(), expected) << offset;
        limits.SetShown(false);
    }
    limits.SetShown(true);
    board.driver.ClearLog();
    chip[0x05] = 70;
    EXPECT_TRUE(QTest::qWaitFor([&] { return limits.Lines()[0].value == 70 - 64; }, 1500));
    EXPECT_EQ(board.driver.Reads().size(), 8u);
    limits.SetShown(false);
    board.driver.ClearLog();
    QTest::qWait(1100);
    EXPECT_TRUE(board.driver.Reads().empty());
}
