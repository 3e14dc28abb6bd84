// A finished run in its own chart: what the chart shows of the file, round trips through the
// chart's export, and Follow File on a run that is still being written.
#include "output/frmRun.h"

#include "chart/ChartInstrument.h"
#include "chart/StripChart.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

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
    form->FollowTick();
    EXPECT_EQ(form->stpRun->PointCount(1), 2);
    Write("growing.csv", next.mid(20), true);
    form->FollowTick();
    EXPECT_EQ(form->stpRun->PointCount(1), 3);
    EXPECT_DOUBLE_EQ(form->stpRun->xAxis->range().upper, form->stpRun->NewestTime());
    // A broken line stops the following with a word in the window, not a box from the timer.
    Write("growing.csv", "garbage\n", true);
    form->FollowTick();
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
    form->FollowTick();
    EXPECT_EQ(form->cmbRun->count(), 2);
    EXPECT_EQ(form->RunShown(), 1);
    EXPECT_EQ(form->stpRun->PointCount(0), 1);
    EXPECT_TRUE(form->lblState->text().contains("the file holds 2 runs")) << form->lblState->text().toStdString();

    form->cmbRun->setCurrentIndex(0);
    QTRY_COMPARE(form->RunShown(), 0);
    EXPECT_EQ(form->stpRun->PointCount(0), 2);
    Write("log.csv", ".1, 31,\r\n" + title + "0, 40,\r\n", true);
    form->FollowTick();
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
