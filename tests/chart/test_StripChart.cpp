#include "chart/ChartImage.h"
#include "chart/ChartInstrument.h"
#include "chart/OverlayText.h"
#include "files/ContinuousTime.h"
#include "chart/StripChart.h"
#include "chart/TimeOfDayTicker.h"
#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>
#include <QClipboard>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

TEST(TimeOfDayText, HoursMinutesSecondsWrappedToOneDay) {
    EXPECT_EQ(TimeOfDayText(14 * 3600 + 5 * 60 + 9), "14 05 09");
    EXPECT_EQ(TimeOfDayText(0), "00 00 00");
    EXPECT_EQ(TimeOfDayText(86400 + 5), "00 00 05");       // the day after the run began
    EXPECT_EQ(TimeOfDayText(2 * 86400 + 3661), "01 01 01");
    EXPECT_EQ(TimeOfDayText(86399.6), "00 00 00");          // rounds into the next day
    EXPECT_EQ(TimeOfDayText(-1), "23 59 59");
    EXPECT_EQ(TimeOfDayText(50709.5, 1), "14 05 09.5");
    EXPECT_EQ(TimeOfDayText(50709.05, 2), "14 05 09.05");
}

namespace {
QVector<QString> TickLabels(double lower, double upper, const QDate& startDate = QDate()) {
    StripChart chart(1);
    chart.xAxis->ticker().dynamicCast<TimeOfDayTicker>()->SetStartDate(startDate);
    QVector<double> ticks;
    QVector<double> subTicks;
    QVector<QString> labels;
    chart.xAxis->ticker()->generate(QCPRange(lower, upper), QLocale::c(), 'g', 6, ticks, &subTicks, &labels);
    return labels;
}
}  // namespace

TEST(TimeOfDayTicker, LabelsAreClockTimesOnRoundSteps) {
    const QVector<QString> minute = TickLabels(86370, 86430);   // a minute across midnight
    EXPECT_TRUE(minute.contains("23 59 50"));
    EXPECT_TRUE(minute.contains("00 00 00"));
    EXPECT_TRUE(minute.contains("00 00 20"));
    const QRegularExpression clockForm("^\\d\\d \\d\\d \\d\\d$");
    for (const QString& label : minute) EXPECT_TRUE(clockForm.match(label).hasMatch()) << label.toStdString();

    const QVector<QString> day = TickLabels(0, 86400);
    EXPECT_TRUE(day.contains("06 00 00"));
    EXPECT_TRUE(day.contains("12 00 00"));

    // Zoomed below a second, the labels carry tenths and stay distinct.
    const QVector<QString> second = TickLabels(100, 101);
    EXPECT_TRUE(second.contains("00 01 40.2"));
    EXPECT_EQ(QSet<QString>(second.begin(), second.end()).size(), second.size());

    // A run of many days: each day's tick names the day, not its midnight.
    const QVector<QString> dated = TickLabels(0, 11 * 86400, QDate(2026, 12, 8));
    EXPECT_TRUE(dated.contains("10 Dec")) << dated.join(',').toStdString();
    EXPECT_EQ(QSet<QString>(dated.begin(), dated.end()).size(), dated.size());
    const QVector<QString> elapsed = TickLabels(0, 11 * 86400);
    EXPECT_TRUE(elapsed.contains("2 d")) << elapsed.join(',').toStdString();
    EXPECT_EQ(QSet<QString>(elapsed.begin(), elapsed.end()).size(), elapsed.size());
}

TEST(ContinuousTime, RisesAcrossMidnightAndClockChanges) {
    ContinuousTime time;
    EXPECT_DOUBLE_EQ(time.FromTimeOfDay(86399.95), 86399.95);
    EXPECT_DOUBLE_EQ(time.FromTimeOfDay(0.05), 86400.05);
    EXPECT_DOUBLE_EQ(time.FromTimeOfDay(0.05), 86400.05);   // both traces of one update
    EXPECT_DOUBLE_EQ(time.FromTimeOfDay(10), 86410);
    EXPECT_DOUBLE_EQ(time.FromTimeOfDay(86399), 2 * 86400 - 1);
    EXPECT_DOUBLE_EQ(time.FromTimeOfDay(1), 2 * 86400 + 1);  // the second midnight

    // The clock set back an hour: the run carries on from its last point, in order.
    ContinuousTime setBack;
    setBack.FromTimeOfDay(10800);
    EXPECT_DOUBLE_EQ(setBack.FromTimeOfDay(7200), 10800);
    EXPECT_DOUBLE_EQ(setBack.FromTimeOfDay(7201), 10801);
}

class StripChartTest : public ::testing::Test {
protected:
    StripChartTest() {
        chart.resize(620, 430);
        chart.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&chart));
    }
    // Points every 50 ms from the time given, both traces.
    void Feed(double from, int count, double local = 25, double remote = 30) {
        for (int i = 0; i < count; ++i) {
            chart.AddPoint(0, from + i * 0.05, local);
            chart.AddPoint(1, from + i * 0.05, remote);
        }
    }
    QPoint TimeAxisEdge() const {
        const QRect plot = chart.axisRect()->rect();
        return {plot.center().x(), plot.bottom() + 10};
    }
    QPoint ValueAxisEdge() const {
        const QRect plot = chart.axisRect()->rect();
        return {plot.left() - 10, plot.center().y()};
    }
    StripChart chart{2};
};

TEST_F(StripChartTest, FillsFromTheLeftThenFollowsTheNewestPoint) {
    Feed(1000, 200);   // 10 s
    EXPECT_DOUBLE_EQ(chart.xAxis->range().lower, 1000);
    EXPECT_DOUBLE_EQ(chart.xAxis->range().upper, 1000 + StripChart::DefaultSpanSeconds);

    Feed(1010, 2000);  // 100 s more
    EXPECT_TRUE(chart.FollowsNewest());
    EXPECT_DOUBLE_EQ(chart.xAxis->range().upper, chart.NewestTime());
    EXPECT_NEAR(chart.xAxis->range().size(), StripChart::DefaultSpanSeconds, 1e-9);
    EXPECT_EQ(chart.PointCount(0), 2200);   // the whole run is kept
    EXPECT_EQ(chart.PointCount(1), 2200);
}

TEST_F(StripChartTest, ZoomingAwayFromTheNewestPointStopsFollowingUntilItIsBackInView) {
    Feed(1000, 2000);
    chart.xAxis->setRange(1010, 1020);   // as a pan or zoom by the user does
    EXPECT_FALSE(chart.FollowsNewest());
    Feed(1100, 100);
    EXPECT_DOUBLE_EQ(chart.xAxis->range().lower, 1010);
    EXPECT_DOUBLE_EQ(chart.xAxis->range().upper, 1020);

    // Panned back so that the newest point shows: following again, with the user's span.
    chart.xAxis->setRange(chart.NewestTime() - 5, chart.NewestTime() + 5);
    EXPECT_TRUE(chart.FollowsNewest());
    Feed(1110, 10);
    EXPECT_DOUBLE_EQ(chart.xAxis->range().upper, chart.NewestTime());
    EXPECT_NEAR(chart.xAxis->range().size(), 10, 1e-9);
}

TEST_F(StripChartTest, DoubleClickRestoresTheStartingView) {
    Feed(1000, 2000, 20, 40);
    chart.xAxis->setRange(1010, 1020);
    chart.yAxis->setRange(0, 100);
    EXPECT_FALSE(chart.FitsValues());

    QTest::mouseDClick(&chart, Qt::LeftButton, {}, chart.axisRect()->rect().center());
    EXPECT_TRUE(chart.FollowsNewest());
    EXPECT_TRUE(chart.FitsValues());
    EXPECT_DOUBLE_EQ(chart.xAxis->range().upper, chart.NewestTime());
    EXPECT_NEAR(chart.xAxis->range().size(), StripChart::DefaultSpanSeconds, 1e-9);
    EXPECT_LT(chart.yAxis->range().lower, 20);
    EXPECT_GT(chart.yAxis->range().upper, 40);
}

TEST_F(StripChartTest, ValueAxisFitsTheWholeRunWithAReadableMinimumSpan) {
    Feed(1000, 10, 25, 25);
    EXPECT_NEAR(chart.yAxis->range().center(), 25, 1e-9);
    EXPECT_GE(chart.yAxis->range().size(), 4);

    Feed(1001, 10, -10.5, 80);
    Feed(1002, 10, 25, 25);   // extremes that scrolled out of view still fit
    EXPECT_LT(chart.yAxis->range().lower, -10.5);
    EXPECT_GT(chart.yAxis->range().upper, 80);
}

TEST_F(StripChartTest, DraggingAtTheTimeEdgeZoomsTheTimeAxisOnly) {
    Feed(1000, 2000);
    const QCPRange valuesBefore = chart.yAxis->range();
    const double spanBefore = chart.xAxis->range().size();
    const QPoint start = TimeAxisEdge();
    QTest::mousePress(&chart, Qt::LeftButton, {}, start);
    QMouseEvent move(QEvent::MouseMove, start + QPoint(100, 0), chart.mapToGlobal(start + QPoint(100, 0)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&chart, &move);
    QTest::mouseRelease(&chart, Qt::LeftButton, {}, start + QPoint(100, 0));

    EXPECT_NEAR(chart.xAxis->range().size(), spanBefore / std::exp(1.0), 1e-6);   // right zooms in
    EXPECT_EQ(chart.yAxis->range(), valuesBefore);
    EXPECT_TRUE(chart.FitsValues());
}

TEST_F(StripChartTest, WheelAtTheValueEdgeZoomsTheValueAxisOnly) {
    Feed(1000, 2000);
    const QCPRange timesBefore = chart.xAxis->range();
    const double spanBefore = chart.yAxis->range().size();
    const QPoint at = ValueAxisEdge();
    QWheelEvent wheel(at, chart.mapToGlobal(at), {}, QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&chart, &wheel);

    EXPECT_LT(chart.yAxis->range().size(), spanBefore);
    EXPECT_EQ(chart.xAxis->range(), timesBefore);
    EXPECT_FALSE(chart.FitsValues());   // the user's scale stays until a double-click
    Feed(1100, 10, 90, 90);
    EXPECT_LT(chart.yAxis->range().upper, 90);
}

TEST(StripChartMemory, TheOldestPointsGiveWayAtTheCap) {
    StripChart chart(1);
    chart.SetMaxPointsPerTrace(100);
    for (int i = 0; i < 250; ++i) chart.AddPoint(0, 1000.0 + i * 0.05, i);
    EXPECT_EQ(chart.PointCount(0), 100);
    EXPECT_DOUBLE_EQ(chart.Points(0).At(0).value, 150.0);
    EXPECT_DOUBLE_EQ(chart.Points(0).At(99).value, 249.0);
}

TEST_F(StripChartTest, ASingleSampleSpikeShowsWhenTheWholeRunIsInView) {
    for (int i = 0; i < 200'000; ++i) chart.AddPoint(0, 1000 + i * 0.05, i == 123'457 ? 90 : 25);
    chart.xAxis->setRange(chart.OldestTime(), chart.NewestTime());
    const QImage image = ChartImage(chart);
    const int spikeTop = qRound(chart.yAxis->coordToPixel(90));
    const QRect plot = chart.axisRect()->rect();
    int tracePixels = 0;   // of the local trace's blue, at the spike's height
    for (int x = plot.left(); x <= plot.right(); ++x) {
        for (int y = spikeTop - 1; y <= spikeTop + 1; ++y) tracePixels += image.pixelColor(x, y).blue() - image.pixelColor(x, y).red() > 80;
    }
    EXPECT_GT(tracePixels, 0);
}

TEST_F(StripChartTest, RightClickOffersSavingCopyingAndTheStartingView) {
    Feed(1000, 2000);
    chart.xAxis->setRange(1010, 1020);
    const QPoint at = chart.axisRect()->rect().center();
    QTest::mousePress(&chart, Qt::RightButton, {}, at);
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, chart.mapToGlobal(at));
    QApplication::sendEvent(&chart, &click);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QStringList entries;
    for (const QAction* action : menu->actions()) entries << action->text();
    EXPECT_EQ(entries.mid(0, 3), QStringList({QString::fromUtf8("Save Chart As…"), "Copy Chart", "Reset View"}));
    chart.replot();
    EXPECT_TRUE(chart.Instrument().ShowsPaused());

    // Cursor A goes to the stored point at the time under the click.
    menu->actions().at(entries.indexOf("Set Cursor A"))->trigger();
    EXPECT_NEAR(*chart.Instrument().Cursors().Time(0), chart.xAxis->pixelToCoord(at.x()), 0.05);

    menu->actions().at(2)->trigger();
    menu->close();
    EXPECT_TRUE(chart.FollowsNewest());
    chart.replot();
    EXPECT_FALSE(chart.Instrument().ShowsPaused());
    // The menu took the button's release: the chart follows the next points all the same.
    Feed(1100, 10);
    EXPECT_DOUBLE_EQ(chart.xAxis->range().upper, chart.NewestTime());

    menu->actions().at(1)->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), chart.size());
}

TEST_F(StripChartTest, SavesEachFormatInPlaceOfAnExistingFile) {
    Feed(1000, 200);
    QTemporaryDir folder;
    ScriptedPrompts prompts;
    QStringList warnings;
    prompts.warning = [&](const QString& text) { warnings << text; };
    const struct {
        const char* name;
        QByteArray start;
    } formats[] = {{"chart.png", "\x89PNG"}, {"chart.pdf", "%PDF"}, {"chart.SVG", "<?xml"}};
    for (const auto& format : formats) {
        const QString path = folder.filePath(format.name);
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an older file");
        old.close();
        chart.chooseImageFile = [&] { return path; };
        chart.SaveChartAs();
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_TRUE(old.readAll().startsWith(format.start)) << format.name;
    }
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
    EXPECT_EQ(ChartImageFileName("chart", "PDF Document (*.pdf)"), "chart.pdf");
    EXPECT_EQ(ChartImageFileName("chart.Png", "PDF Document (*.pdf)"), "chart.Png");
}

TEST_F(StripChartTest, AFailedSaveSaysSoAndLeavesNothingBehind) {
    QTemporaryDir folder;
    QFile notAFolder(folder.filePath("notAFolder"));
    ASSERT_TRUE(notAFolder.open(QIODevice::WriteOnly));
    notAFolder.close();
    ScriptedPrompts prompts;
    QStringList warnings;
    prompts.warning = [&](const QString& text) { warnings << text; };
    for (const QString& path : {folder.filePath("notAFolder/chart.png"), folder.filePath("missing/chart.pdf"),
                                folder.filePath("chart.txt")}) {
        warnings.clear();
        chart.chooseImageFile = [&] { return path; };
        chart.SaveChartAs();
        ASSERT_EQ(warnings.size(), 1) << path.toStdString();
        EXPECT_TRUE(warnings[0].contains(QDir::toNativeSeparators(path))) << warnings[0].toStdString();
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList({"notAFolder"}));

    chart.chooseImageFile = [] { return QString(); };   // cancelled
    chart.SaveChartAs();
    EXPECT_EQ(warnings.size(), 1);
}

TEST_F(StripChartTest, TheReadoutNamesTheStoredPointNearestThePointer) {
    Feed(1000, 100, 25, 30);   // 1000 to 1004.95
    Feed(1010, 100, 26, 31);   // after a gap, 1010 to 1014.95
    chart.xAxis->setRange(990, 1025);
    const struct {
        double time;
        int point;
    } cases[] = {{991, 0}, {1024, 199}, {1006.5, 99}, {1008.5, 100}};   // both ends, each side of the gap
    auto& readout = chart.Instrument().Readout();
    for (const auto& c : cases) {
        readout.Follow(QPoint(qRound(chart.xAxis->coordToPixel(c.time)), chart.axisRect()->rect().center().y()));
        chart.replot();
        EXPECT_EQ(readout.Picked(), std::vector<int>({c.point, c.point})) << c.time;
        EXPECT_TRUE(readout.Text().contains(TimeOfDayText(chart.Points(0).At(c.point).key, 2))) << c.time;
    }
    readout.Follow(std::nullopt);
    chart.replot();
    EXPECT_EQ(readout.Picked(), std::vector<int>({-1, -1}));
}

TEST_F(StripChartTest, CursorsMeasureBetweenStoredPointsAndBoundTheStatistics) {
    for (int i = 0; i < 400; ++i) {
        chart.AddPoint(0, 1000 + i * 0.05, 20 + i % 7);
        chart.AddPoint(1, 1000 + i * 0.05, 30 - i * 0.25);
    }
    auto& instrument = chart.Instrument();
    instrument.SetTraceNames({"Local", "Remote1"}, "C");
    instrument.Cursors().Set(1, 1012.56);   // B before A: the differences run from A to B
    instrument.Cursors().Set(0, 1002.02);
    instrument.Statistics().SetShown(true);
    chart.replot();
    const QString differences = instrument.Cursors().Text();
    EXPECT_TRUE(differences.contains("10.550 s")) << differences.toStdString();   // points 40 and 251
    EXPECT_TRUE(differences.contains("Local    Δ +1.00 C")) << differences.toStdString();
    EXPECT_TRUE(differences.contains("Remote1  Δ -52.75 C")) << differences.toStdString();
    const QString figures = instrument.Statistics().Text();
    EXPECT_TRUE(figures.startsWith("Between cursors")) << figures.toStdString();
    EXPECT_TRUE(figures.contains("     212\n")) << figures.toStdString();

    instrument.Cursors().Clear();
    chart.replot();
    EXPECT_TRUE(instrument.Statistics().Text().startsWith("Visible span"));
}

namespace {
// The file read back by Python's csv module: the header, then for each line the seconds since
// the run date's midnight and the values (NaN for an empty field).
QStringList ReadBackWithCsvReader(const QString& path, const QDate& runDate) {
    const char* script = R"(import csv, datetime, sys
with open(sys.argv[1], newline='', encoding='utf-8') as f:
    rows = list(csv.reader(f))
print('|'.join(rows[0]))
start = datetime.datetime.fromisoformat(sys.argv[2])
for row in rows[1:]:
    seconds = (datetime.datetime.fromisoformat(row[0]) - start).total_seconds()
    print(' '.join(['%.3f' % seconds] + [repr(float(v)) if v else 'nan' for v in row[1:]])))";
    QProcess python;
    python.start("python3", {"-c", script, path, runDate.toString(Qt::ISODate)});
    python.waitForFinished();
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    return QString::fromUtf8(python.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}
}  // namespace

TEST_F(StripChartTest, ExportedDataReadsBackToTheStoredPoints) {
    chart.Instrument().SetTraceNames({"Local", "Remote1"}, QString::fromUtf8("°C"));
    // Repeated times, a gap past midnight, a missing value and a point of one trace alone.
    const struct {
        double time;
        double local;
        double remote;
    } points[] = {{86399.9, 25, 30.25}, {86399.9, 25.5, 30.5}, {0.35, -10.125, std::nan("")}, {7.0068, 1e-3, 99.75}};
    for (const auto& p : points) {
        chart.AddPoint(0, p.time, p.local);
        chart.AddPoint(1, p.time, p.remote);
    }
    chart.AddPoint(0, 7.5, 42);
    QTemporaryDir folder;
    chart.Instrument().chooseDataFile = [&](bool) { return folder.filePath("run.csv"); };
    chart.Instrument().ExportData(true);
    const QStringList lines = ReadBackWithCsvReader(folder.filePath("run.csv"), chart.RunDate());
    EXPECT_EQ(lines, QStringList({QString::fromUtf8("Time|Local (°C)|Remote1 (°C)"), "86399.900 25.0 30.25",
                                  "86399.900 25.5 30.5", "86400.350 -10.125 nan", "86407.007 0.001 99.75",
                                  "86407.500 42.0 nan"}));

    // The visible span only; a file that cannot be written says so, as a picture does.
    chart.xAxis->setRange(86400, 86407.2);
    QStringList warnings;
    ScriptedPrompts prompts;
    prompts.warning = [&](const QString& text) { warnings << text; };
    for (const QString& name : {folder.filePath("view.csv"), folder.filePath("missing/view.csv")}) {
        chart.Instrument().chooseDataFile = [&](bool) { return name; };
        chart.Instrument().ExportData(false);
    }
    EXPECT_EQ(ReadBackWithCsvReader(folder.filePath("view.csv"), chart.RunDate()).mid(1),
              QStringList({"86400.350 -10.125 nan", "86407.007 0.001 99.75"}));
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].startsWith("The chart data was not saved to " + folder.filePath("missing/view.csv")));
}

// The file written is the one the dialog named; a neighbour NAME.csv is left alone.
TEST_F(StripChartTest, TheExportWritesTheFileTheDialogNamed) {
    Feed(1000, 10);
    QTemporaryDir folder;
    ScriptedPrompts prompts;
    for (const QString name : {"exp3.txt", "exp3.CSV", "exp3"}) {
        QFile neighbour(folder.filePath(name + ".csv")), written(folder.filePath(name));
        ASSERT_TRUE(neighbour.open(QIODevice::WriteOnly) && neighbour.write("keep") == 4);
        neighbour.close();
        prompts.fileName = [&] { return written.fileName(); };
        chart.Instrument().ExportData(true);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly) && neighbour.open(QIODevice::ReadOnly)) << name.toStdString();
        EXPECT_EQ(written.readAll().count("\r\n"), 11) << name.toStdString();
        EXPECT_EQ(neighbour.readAll(), "keep") << name.toStdString();
    }
}

TEST_F(StripChartTest, NewPointsRedrawOnlyWhenThePictureChanges) {
    chart.SetNewPointsRedrawInterval(0);   // the pixel rule alone; the pace is below
    Feed(1000, 2000);
    QCoreApplication::processEvents();
    QSignalSpy redraws(&chart, &QCustomPlot::afterReplot);
    const auto feedAndCount = [&](double from, int count, double local) {
        redraws.clear();
        for (int i = 0; i < count; ++i) {
            Feed(from + i * 0.05, 1, local);
            QCoreApplication::processEvents();
        }
        return redraws.count();
    };
    // Following at 50 ms a point: a redraw each time the view has moved by a pixel column.
    const double columns = 400 * 0.05 / (StripChart::DefaultSpanSeconds / chart.axisRect()->width());
    const int following = feedAndCount(1100, 400, 25);
    EXPECT_GE(following, columns - 2);
    EXPECT_LE(following, columns + 2);
    // A value that leaves the newest column's pixels shows at once.
    EXPECT_EQ(feedAndCount(1120, 1, 26), 1);
    // Paused on older points: new points are out of sight.
    chart.xAxis->setRange(1010, 1020);
    chart.replot();
    EXPECT_EQ(feedAndCount(1121, 100, 25), 0);
    // At the default pace the points of the interval after a drawing wait for one redraw.
    chart.SetNewPointsRedrawInterval(StripChart::DefaultNewPointsRedrawMs);
    chart.ResetView();
    QCoreApplication::processEvents();
    EXPECT_EQ(feedAndCount(1130, 100, 25), 0);
    EXPECT_TRUE(redraws.wait(1000));
    EXPECT_EQ(redraws.count(), 1);
}

// New points redraw a larger plot less often, as its pixels cost, but at least once a second.
TEST_F(StripChartTest, NewPointsRedrawLessOftenTheLargerThePlot) {
    const struct {
        QSize size;
        int fastest, slowest;   // ms
    } cases[] = {{{620, 430}, 333, 333},     // the default pace up to 640 x 480 pixels of plot
                 {{1300, 1000}, 560, 680},   // about twice the pixels on each side
                 {{1600, 1200}, 720, 860},
                 {{3840, 2160}, 999, 999}};  // maximised on a large screen
    for (const auto& c : cases) {
        chart.resize(c.size);
        chart.replot();
        EXPECT_GE(chart.NewPointsRedrawMs(), c.fastest) << c.size.width();
        EXPECT_LE(chart.NewPointsRedrawMs(), c.slowest) << c.size.width();
    }
}

// Lines across the plot pass beneath every box of text (the cursors' box, the statistics, the
// readout): no pixel of a box's padding, around its text, is other than its white. The readout
// also stands aside from the cursor lines.
TEST_F(StripChartTest, NoLineStrikesThroughTheOverlaysText) {
    Feed(1000, 400, 22, 25);
    chart.xAxis->setRange(999, 1021);
    auto& instrument = chart.Instrument();
    instrument.Statistics().SetShown(true);
    chart.replot();
    const QRect plot = chart.axisRect()->rect();
    const auto valueAt = [&](int row) { return chart.yAxis->pixelToCoord(row); };
    instrument.Limits().readLimits = [&] {   // through the cursors' box at the top and the statistics below
        return std::vector<LimitLine>{{0, "High", valueAt(plot.top() + 40)}, {1, "Low", valueAt(plot.bottom() - 20)}};
    };
    instrument.Limits().SetShown(true);
    instrument.Cursors().Set(0, chart.xAxis->pixelToCoord(plot.left() + 30));   // through both boxes
    instrument.Cursors().Set(1, chart.xAxis->pixelToCoord(plot.center().x() - 60));   // where the readout would be
    instrument.Readout().Follow(QPoint(plot.center().x() + 20, plot.center().y() - 40));
    chart.replot();
    const QImage picture = chart.toPixmap().toImage();
    int boxes = 0;
    for (int i = 0; i < chart.itemCount(); ++i) {
        auto* text = dynamic_cast<OverlayText*>(chart.item(i));
        if (!text || !text->visible() || !text->text().contains('\n')) continue;
        const QRect box(text->topLeft->pixelPosition().toPoint(), text->BoxSize());
        const QRect inside = box.adjusted(2, 2, -3, -3), words = box.adjusted(5, 3, -5, -3);
        int marked = 0;
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x)
                marked += !words.contains(x, y) && picture.pixelColor(x, y) != Qt::white;
        EXPECT_EQ(marked, 0) << text->text().toStdString();
        ++boxes;
    }
    EXPECT_EQ(boxes, 3);
    const QRect readout = instrument.Readout().Box();
    const double lineB = chart.xAxis->coordToPixel(*instrument.Cursors().Time(1));
    EXPECT_FALSE(readout.left() - 1 <= lineB && lineB <= readout.right() + 1);
    EXPECT_TRUE(plot.contains(readout));
}

// "Show Limits" leaves the value axis as it is; a limit out of view is labelled at its edge.
TEST_F(StripChartTest, LimitsOutOfViewAreMarkedAtTheEdgeWithoutRescaling) {
    Feed(1000, 100, 25, 26);
    chart.replot();
    const QCPRange values = chart.yAxis->range();
    chart.Instrument().Limits().readLimits = [] {
        return std::vector<LimitLine>{{0, "High", 85}, {0, "THERM", 85}, {1, "Low", -55}, {1, "High", 26.5}};
    };
    chart.Instrument().Limits().SetShown(true);
    chart.replot();
    EXPECT_EQ(chart.yAxis->range(), values);
    const QRect plot = chart.axisRect()->rect();
    const std::map<QString, std::pair<int, int>> rows = {{QString::fromUtf8("▲ High, THERM 85"), {plot.top(), plot.top() + 20}},
                                                        {QString::fromUtf8("▼ Low -55"), {plot.bottom() - 20, plot.bottom()}},
                                                        {"High 26.5", {plot.top() + 20, plot.bottom() - 20}}};
    std::map<QString, double> shown;
    for (int i = 0; i < chart.itemCount(); ++i)
        if (auto* label = dynamic_cast<QCPItemText*>(chart.item(i)); label && label->visible() && rows.count(label->text()))
            shown[label->text()] = label->position->pixelPosition().y();
    EXPECT_EQ(shown.size(), rows.size());
    for (const auto& [text, row] : shown) {
        EXPECT_GE(row, rows.at(text).first) << text.toStdString();
        EXPECT_LE(row, rows.at(text).second) << text.toStdString();
    }
}

TEST_F(StripChartTest, ReadoutsGiveRemoteLessLocalAndTheRatesPerMinute) {
    for (int i = 0; i < 400; ++i) {   // local rises 12 °C/min, remote 36 °C/min
        chart.AddPoint(0, 1000 + i * 0.05, 20 + i * 0.01);
        chart.AddPoint(1, 1000 + i * 0.05, 30 + i * 0.03);
    }
    auto& instrument = chart.Instrument();
    instrument.SetTraceNames({"Local", "Remote1"}, "C");
    instrument.SetDifference(1, 0);
    chart.xAxis->setRange(1000, 1020);
    instrument.Readout().Follow(QPoint(qRound(chart.xAxis->coordToPixel(1005)), chart.axisRect()->rect().center().y()));
    instrument.Cursors().Set(0, 1002);   // points 40 and 240
    instrument.Cursors().Set(1, 1012);
    instrument.Statistics().SetShown(true);
    chart.replot();
    const std::pair<QString, const char*> cases[] = {
        {instrument.Readout().Text(), "Remote1 − Local +12.00 C"},   // point 100: 33 − 21
        {instrument.Cursors().Text(), "Local    Δ +2.00 C     +12.00 C/min\nRemote1  Δ +6.00 C     +36.00 C/min"},
        // The differences 10.80 to 14.80 by 0.02: their spread is 0.02 × √((201² − 1) / 12).
        {instrument.Statistics().Text(), "Remote1 − Local    10.80    14.80    12.80     1.16      201"},
    };
    for (const auto& [text, expected] : cases) EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << text.toStdString();
    instrument.Cursors().Set(1, 1002);   // no time between the cursors: no rate
    EXPECT_TRUE(instrument.Cursors().Text().contains(QString::fromUtf8("Local    Δ 0.00 C      —")));
}

TEST_F(StripChartTest, ValueAxisFitsTheVisibleSpanAfterEachZoomAndPan) {
    for (int i = 0; i < 1000; ++i) chart.AddPoint(0, 1000 + i, i < 500 ? 25 : 25 + (i - 500) * 0.4);   // a soak, a ramp
    const struct {
        double lower, upper, low, high;   // the view, and the values the line shows in it
    } views[] = {{1100, 1200, 25, 25}, {1700, 1800, 105, 145.6}, {1700.2, 1700.6, 105, 105.4}, {900, 2100, 25, 224.6}};
    for (const auto& view : views) {
        chart.xAxis->setRange(view.lower, view.upper);
        const QCPRange fitted = chart.yAxis->range();
        EXPECT_TRUE(fitted.lower < view.low && view.high < fitted.upper) << view.lower;
        EXPECT_LT(fitted.size(), std::max(view.high - view.low, 4.0) * 1.5) << view.lower;
    }
}

TEST_F(StripChartTest, APictureHoldsNoReadoutButTheCursors) {
    Feed(1000, 200, 25, 30);
    chart.Instrument().Cursors().Set(0, 1002);
    const QImage unpointed = ChartImage(chart);
    chart.Instrument().Readout().Follow(chart.axisRect()->rect().center());
    ASSERT_NE(ChartImage(chart), unpointed);   // the readout shows on the screen
    QTemporaryDir folder;
    chart.chooseImageFile = [&] { return folder.filePath("chart.png"); };
    chart.SaveChartAs();
    EXPECT_EQ(QImage(folder.filePath("chart.png")).convertToFormat(unpointed.format()), unpointed);
}
