// A finished run in its own chart: what the chart shows of the file, round trips through the
// chart's export, and Follow File on a run that is still being written.
#include "output/frmRun.h"

#include "chart/ChartAlarmBands.h"
#include "chart/ChartEventMarks.h"
#include "chart/ChartInstrument.h"
#include "chart/StripChart.h"
#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <memory>
#include <set>

namespace {

const QByteArray LimitsHeader = "time,elapsed_s,local_C,remote_C,status,alarms,local_high_C,local_low_C,"
                                "local_therm_C,remote_high_C,remote_low_C,remote_therm_C\n";

QByteArray MonitorRow(int second, double remote, int status) {
    return QStringLiteral("2026-12-07T10:00:%1.000+00:00,%2,25,%3,%4,,60,10,85,60.5,-5,90\n")
        .arg(second, 2, 10, QLatin1Char('0'))
        .arg(second)
        .arg(remote)
        .arg(status)
        .toUtf8();
}

class RunWindowTest : public ::testing::Test {
protected:
    QString Write(const QString& name, const QByteArray& bytes, bool append = false) {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(append ? QIODevice::Append : QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    std::unique_ptr<frmRun> Open(const QString& path) {
        QString problem;
        std::unique_ptr<frmRun> form(frmRun::Open(path, &problem));
        EXPECT_TRUE(form) << problem.toStdString();
        if (form) form->show();
        return form;
    }
    // One look at a followed file, and the steps it leads to, read.
    static void Follow(frmRun& form) {
        form.FollowTick();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !form.IsReading(); }, 10000));
    }
    // The chart's "Show Limits" entry as its menu offers it.
    QAction* ShowLimitsEntry(StripChart& chart) {
        const QPoint at = chart.axisRect()->rect().center();
        QContextMenuEvent click(QContextMenuEvent::Mouse, at, chart.mapToGlobal(at));
        QApplication::sendEvent(&chart, &click);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return nullptr;
        menu->close();
        for (QAction* action : menu->actions())
            if (action->text() == "Show Limits") return action;
        return nullptr;
    }
    QTemporaryDir folder;
};

}  // namespace

TEST_F(RunWindowTest, AMonitorRunShowsItsLimitsAndAlarmSpans) {
    QByteArray bytes = LimitsHeader;
    const int status[] = {0, 0x10, 0x90, 0, 0x80, 0x02, 0};   // the busy bit alone is no alarm
    for (int s = 0; s < 7; ++s) bytes += MonitorRow(s, 30 + s, status[s]);
    const auto form = Open(Write("chamber.csv", bytes));
    ASSERT_TRUE(form);
    EXPECT_EQ(form->windowTitle(), "chamber.csv");
    StripChart& chart = *form->stpRun;
    EXPECT_EQ(chart.PointCount(1), 7);
    EXPECT_FALSE(chart.Instrument().ShowsPaused());
    QAction* limits = ShowLimitsEntry(chart);
    ASSERT_NE(limits, nullptr);
    EXPECT_TRUE(limits->isEnabled());
    chart.Instrument().Limits().SetShown(true);
    const std::vector<LimitLine> expected = {{0, "High", 60}, {0, "Low", 10},  {0, "THERM", 85},
                                             {1, "High", 60.5}, {1, "Low", -5}, {1, "THERM", 90}};
    EXPECT_EQ(chart.Instrument().Limits().Lines(), expected);
    std::vector<std::pair<double, double>> bands;
    for (int i = 0; i < chart.itemCount(); ++i) {
        if (auto* band = dynamic_cast<QCPItemRect*>(chart.item(i)))
            bands.emplace_back(band->topLeft->coords().x() - 36000, band->bottomRight->coords().x() - 36000);
    }
    EXPECT_EQ(bands, (std::vector<std::pair<double, double>>{{1, 3}, {5, 6}}));
}

TEST_F(RunWindowTest, ALogWithoutLimitsSaysWhyAndOffersItsRuns) {
    const QByteArray log = "\r\nKTS9320B/3 Log File\r\n\r\nTime ,Local(\xB0" "C) ,\r\n0, 25,\r\n"
                           "\r\nKTS9320B/3 Log File\r\n\r\nTime ,Local(\xB0" "C) ,\r\n0, 26,\r\n.1, 27,\r\n";
    const auto form = Open(Write("bench.csv", log));
    ASSERT_TRUE(form);
    EXPECT_EQ(form->cmbRun->count(), 2);
    EXPECT_EQ(form->cmbRun->currentText(), "Run 2 of 2, from line 9");
    EXPECT_EQ(form->stpRun->PointCount(0), 2);
    QAction* limits = ShowLimitsEntry(*form->stpRun);
    ASSERT_NE(limits, nullptr);
    EXPECT_FALSE(limits->isEnabled());
    EXPECT_TRUE(limits->toolTip().contains("no limit columns"));
    form->cmbRun->setCurrentIndex(0);   // read again, off the user's thread: the window let the rows go
    EXPECT_FALSE(form->cmbRun->isEnabled());
    QTRY_COMPARE(form->RunShown(), 0);
    EXPECT_EQ(form->stpRun->PointCount(0), 1);
    // A file cut short since keeps the run shown, and says why the other is not.
    Write("bench.csv", log.left(log.indexOf("\r\nKTS", 2)));
    form->cmbRun->setCurrentIndex(1);
    QTRY_VERIFY(form->cmbRun->isEnabled());
    EXPECT_EQ(form->RunShown(), 0);
    EXPECT_EQ(form->cmbRun->currentIndex(), 0);
    EXPECT_TRUE(form->lblState->text().contains("holds 1 runs, fewer than before")) << form->lblState->text().toStdString();
}

// What the chart exports opens again as the same points.
TEST_F(RunWindowTest, AnExportedRunOpensAgainWithTheSamePoints) {
    QByteArray bytes = LimitsHeader;
    for (int s = 0; s < 5; ++s) bytes += MonitorRow(s, 30.3 + s, 0);
    const auto form = Open(Write("first.csv", bytes));
    ASSERT_TRUE(form);
    const QString exported = folder.filePath("again.csv");
    form->stpRun->Instrument().chooseDataFile = [&](bool) { return exported; };
    form->stpRun->Instrument().ExportData(true);
    // A value kept as a float is written as the text it was read from.
    QFile text(exported);
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_TRUE(text.readAll().contains(",31.3,"));
    const auto again = Open(exported);
    ASSERT_TRUE(again);
    for (int trace = 0; trace < 2; ++trace) {
        ASSERT_EQ(again->stpRun->PointCount(trace), 5);
        for (int i = 0; i < 5; ++i) {
            EXPECT_DOUBLE_EQ(again->stpRun->Points(trace).At(i).key, form->stpRun->Points(trace).At(i).key);
            EXPECT_DOUBLE_EQ(again->stpRun->Points(trace).At(i).value, form->stpRun->Points(trace).At(i).value);
        }
    }
}

// A run's window exports the run as its file holds it: every column, each row byte for byte.
TEST_F(RunWindowTest, ExportsTheRunAsItsFileHoldsIt) {
    QByteArray bytes = LimitsHeader;
    for (int s = 0; s < 6; ++s) bytes += MonitorRow(s, 30.3 + s, s % 2 ? 0x10 : 0);
    const auto form = Open(Write("chamber.csv", bytes));
    ASSERT_TRUE(form);
    ChartInstrument& instrument = form->stpRun->Instrument();
    EXPECT_EQ(instrument.Folder().Start(), folder.path());   // its dialogs start beside the run
    instrument.chooseDataFile = [&](bool) { return folder.filePath("again.csv"); };
    instrument.ExportData(true);
    QFile again(folder.filePath("again.csv"));
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), bytes);
}

TEST_F(RunWindowTest, FollowFileAddsRowsAsTheyAreAppended) {
    const QString path = Write("growing.csv", LimitsHeader + MonitorRow(0, 30, 0));   // written just now
    const auto form = Open(path);
    ASSERT_TRUE(form);
    EXPECT_TRUE(form->chkFollow->isChecked());
    const QByteArray next = MonitorRow(2, 32, 0x10);
    Write("growing.csv", MonitorRow(1, 31, 0) + next.left(20), true);   // the last line half written
    Follow(*form);
    EXPECT_EQ(form->stpRun->PointCount(1), 2);
    Write("growing.csv", next.mid(20), true);
    Follow(*form);
    EXPECT_EQ(form->stpRun->PointCount(1), 3);
    EXPECT_DOUBLE_EQ(form->stpRun->xAxis->range().upper, form->stpRun->NewestTime());
    // A broken line stops the following with a word in the window, not a box from the timer.
    Write("growing.csv", "garbage\n", true);
    Follow(*form);
    EXPECT_FALSE(form->chkFollow->isChecked());
    EXPECT_TRUE(form->lblState->text().contains("line 5: expected 12 fields")) << form->lblState->text().toStdString();
}

// A logging run begun in a followed log joins the choice of runs; the user who watched the newest
// run goes on to it, the one who picked an older run stays there.
TEST_F(RunWindowTest, ALogRunBegunWhileFollowingJoinsTheChoice) {
    const QByteArray title = "\r\nKTS9320B/3 Log File\r\n\r\nTime ,Local(\xB0" "C) ,\r\n";
    const auto form = Open(Write("log.csv", title + "0, 25,\r\n"));
    ASSERT_TRUE(form);
    ASSERT_TRUE(form->chkFollow->isChecked());
    Write("log.csv", ".1, 26,\r\n" + title + "0, 30,\r\n", true);
    Follow(*form);
    EXPECT_EQ(form->cmbRun->count(), 2);
    EXPECT_EQ(form->RunShown(), 1);
    EXPECT_EQ(form->stpRun->PointCount(0), 1);
    EXPECT_TRUE(form->lblState->text().contains("the file holds 2 runs")) << form->lblState->text().toStdString();

    form->cmbRun->setCurrentIndex(0);
    QTRY_COMPARE(form->RunShown(), 0);
    EXPECT_EQ(form->stpRun->PointCount(0), 2);
    Write("log.csv", ".1, 31,\r\n" + title + "0, 40,\r\n", true);
    Follow(*form);
    EXPECT_EQ(form->RunShown(), 0);
    EXPECT_EQ(form->cmbRun->currentText(), "Run 1 of 3, from line 4");
    EXPECT_EQ(form->cmbRun->itemText(2), "Run 3 of 3, from line 16");
    form->cmbRun->setCurrentIndex(1);
    QTRY_COMPARE(form->RunShown(), 1);
    EXPECT_EQ(form->stpRun->PointCount(0), 2);
}

// The file is read off the user's thread: the window shows at once, then the run or, for a bad
// file, the message as it closes; a window closed or deleted while it reads stops reading.
TEST_F(RunWindowTest, TheFileIsReadWhileTheWindowShows) {
    QByteArray bytes = LimitsHeader;
    for (int s = 0; s < 3; ++s) bytes += MonitorRow(s, 30 + s, 0);
    std::unique_ptr<frmRun> form(frmRun::StartOpen(Write("good.csv", bytes)));
    form->show();
    EXPECT_TRUE(form->findChild<QLabel*>("lblReading")->isVisible());
    QTRY_VERIFY(form->stpRun != nullptr);
    EXPECT_EQ(form->stpRun->PointCount(1), 3);
    EXPECT_EQ(form->lblState->text(), "3 readings");
    EXPECT_EQ(form->findChild<QLabel*>("lblReading"), nullptr);

    form.reset(frmRun::StartOpen(Write("bad.csv", LimitsHeader + "garbage\n")));
    form->show();
    QString problem;
    QObject::connect(form.get(), &frmRun::readFailed, [&](const QString& why) { problem = why; });
    QTRY_VERIFY(!problem.isEmpty());
    EXPECT_TRUE(problem.contains("bad.csv, line 2: expected 12 fields")) << problem.toStdString();
    EXPECT_FALSE(form->isVisible());

    for (int s = 3; s < 200'000; ++s) bytes += MonitorRow(s % 60, 30, 0);
    const QString large = Write("large.csv", bytes);
    form.reset(frmRun::StartOpen(large));
    form->show();
    form->close();
    QTRY_VERIFY(!form->IsReading());
    QTest::qWait(50);
    EXPECT_EQ(form->stpRun, nullptr);
    form.reset(frmRun::StartOpen(large));   // deleted at once: the reading stops first
}

// A followed file that another takes the place of, or that is cut short or written anew, is read
// again from its start: nothing of the file before stays on the chart, and the window says so.
TEST_F(RunWindowTest, FollowFileReadsANewFileFromItsStart) {
    const QByteArray three = LimitsHeader + MonitorRow(10, 40, 0) + MonitorRow(11, 40, 0) + MonitorRow(12, 40, 0);
    const struct { bool renamed; QByteArray bytes; int readings; const char* why; } cases[] = {{true, three, 3, "another file took its name"},
                 {false, "", 0, "it was cut short"},
                 {false, LimitsHeader + MonitorRow(30, 60, 0), 1, "it was cut short"},
                 {false, three, 3, "it was written anew"}};
    for (const auto& c : cases) {
        const auto form = Open(Write("growing.csv", LimitsHeader + MonitorRow(0, 30, 0) + MonitorRow(1, 31, 0)));
        ASSERT_TRUE(form && form->chkFollow->isChecked());
        if (c.renamed) std::filesystem::rename(Write("new.csv", c.bytes).toStdWString(), folder.filePath("growing.csv").toStdWString());
        else Write("growing.csv", c.bytes);
        Follow(*form);
        const QString state = form->lblState->text();
        EXPECT_TRUE(state.startsWith(QStringLiteral("%1 readings. Read again from the start at ").arg(c.readings)) &&
                    state.endsWith(QString::fromUtf8(c.why) + "."))
            << state.toStdString();
        // And it is followed on from there.
        Write("growing.csv", (c.readings ? QByteArray() : LimitsHeader) + MonitorRow(40, 70, 0), true);
        Follow(*form);
        ASSERT_TRUE(form->stpRun) << c.why;
        EXPECT_EQ(form->stpRun->PointCount(1), c.readings + 1) << c.why;
        EXPECT_EQ(form->stpRun->Points(1).At(c.readings).value, 70) << c.why;
    }
}

// A large append is read on the reading thread and reaches the chart in steps, between which the
// window's event loop turns: the chart is seen part-filled again and again along the way.
TEST_F(RunWindowTest, FollowingALargeAppendLeavesTheWindowResponsive) {
    const auto form = Open(Write("large.csv", LimitsHeader + MonitorRow(0, 30, 0)));
    ASSERT_TRUE(form && form->chkFollow->isChecked());
    constexpr int Rows = 500'000;
    QByteArray rows;
    for (int s = 0; s < Rows; ++s) rows += MonitorRow(s % 60, 30 + s % 7, 0);
    Write("large.csv", rows, true);
    std::set<int> seen;
    QTimer turn;
    QObject::connect(&turn, &QTimer::timeout, [&] { seen.insert(form->stpRun->PointCount(1)); });
    turn.start(0);
    QTimer::singleShot(0, form.get(), &frmRun::FollowTick);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->stpRun->PointCount(1) == Rows + 1; }, 120000));
    // Tens of megabytes in steps of half a megabyte: the window turns between dozens of them.
    EXPECT_GT(seen.size(), 10u) << "the chart was seen part-filled only this often";
}

// The events file beside the run: its losses shaded, its marks drawn, each flag in its strip; a
// mark added from the chart's menu lands in that file and on the chart; a bad events line is said.
TEST_F(RunWindowTest, TheEventsBesideARunAreOnItsChartAndTakeNewMarks) {
    QByteArray bytes = LimitsHeader;
    const int status[] = {0, 0x50, 0x50, 0x10, 0, 0, 0};   // LocHi and RemHi together, then RemHi alone
    for (int s = 0; s < 7; ++s) bytes += MonitorRow(s, 30, status[s]);
    const QString run = Write("chamber.csv", bytes);
    Write("chamber.events.jsonl", R"({"time":"2026-12-07T10:00:02.000+00:00","event":"board-lost","reason":"timeout"})" "\n"
                                  R"({"time":"2026-12-07T10:00:04.000+00:00","event":"board-back"})" "\n"
                                  R"({"time":"2026-12-07T10:00:05.000+00:00","event":"mark","text":"door opened"})" "\nnot JSON\n");
    const auto form = Open(run);
    ASSERT_TRUE(form);
    EXPECT_EQ(form->EventMarks()->SpanCount(), 1);
    EXPECT_EQ(form->EventMarks()->MomentCount(), 1);
    EXPECT_TRUE(form->lblState->text().contains("line 4: expected one JSON object")) << form->lblState->text().toStdString();
    const std::vector<FlagStrip> strips = {{0, 36001, 36003, 0, 0.5}, {2, 36001, 36004, 0.5, 1}};
    EXPECT_EQ(form->AlarmBands()->Strips(), strips);

    ScriptedPrompts prompts;
    prompts.text = [] { return QStringLiteral("lid closed"); };
    form->AddMark();
    EXPECT_EQ(form->EventMarks()->MomentCount(), 2);
    QFile events(form->EventsFile());
    ASSERT_TRUE(events.open(QIODevice::ReadOnly));
    EXPECT_TRUE(events.readAll().contains(R"(","event":"mark","text":"lid closed"})")) << "the mark appended as the monitor's events are";
}
