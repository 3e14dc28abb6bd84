// The program against the simulated board loaded as its driver library: start-up, a logging
// run read back as CSV, save and recall, and a limit dragged on the gauge.
#include "support/BoardFailureTrap.h"
#include "support/ScriptedClock.h"
#include "support/SimulatedBoard.h"
#include "support/ScriptedPrompts.h"

#include "state/Clock.h"
#include "state/GeneralStuff.h"
#include "app/Main.h"
#include "app/frmMain.h"
#include "board/USBStuff.h"
#include "output/frmGraph.h"
#include "windows/frmLogging.h"
#include "windows/frmSave.h"
#include "registers/RegMapStuff.h"
#include "widgets/IndicatorLamp.h"
#include "widgets/LinearGauge.h"
#include "widgets/WrappingCheckBox.h"
#include "windows/frmLimits.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QSettings>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>

using namespace GeneralStuff;

namespace {

int Read(int reg) { return USBStuff::ReadRegister(USBStuff::DeviceAddress, reg); }
void Write(int reg, int32_t data) { USBStuff::WriteRegister(USBStuff::DeviceAddress, reg, data); }

class OnSimulatedBoard : public ::testing::Test {
protected:
    OnSimulatedBoard() { SetClock(&clock); }
    ~OnSimulatedBoard() override { SetClock(nullptr); }
    BoardFixtureState state;
    SimulatedBoard board{SimulatedBoard::Settings{{"KTS_SIM_LOCAL_TEMP", "30"}, {"KTS_SIM_REMOTE_TEMP", "41.25"}}};
    ScriptedClock clock;
    QTemporaryDir dir;
};

TEST_F(OnSimulatedBoard, StartUpFindsTheChipAndShowsTheFrameWithTheGraph) {
    USBStuff::DeviceAddress = 0;
    clock.step = 0.02;
    frmMain* main = StartUp();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(USBStuff::DeviceAddress, 0x4C);
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(main->tmrMaster->isActive());
    EXPECT_TRUE(GraphOpen);
    EXPECT_EQ(RegMapStuff::RegTable[18].Name, "Manufacturer ID");
    EXPECT_EQ(main->windowTitle(), "KTS9320B Evaluation Software");
    EXPECT_EQ(main->sbStatusPanel1->text(), "Firmware download succesful");
    main->CloseEverything();
}

// The program's own failure path, in a child process: the message comes first, over the open
// frame, with the board's reason under it; then every window is closed, so the frame stores
// its geometry; then the process ends.
TEST_F(OnSimulatedBoard, ABoardFailureShowsTheMessageThenClosesTheFrameWhichSavesItsGeometry) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto failAfterStartUp = [this] {
        QSettings(AppTitle, AppTitle).remove("");
        USBStuff::FailureHooks hooks = ProgramFailureHooks();
        hooks.endProcess = [end = hooks.endProcess] {
            const QString left = QSettings(AppTitle, AppTitle).value("Settings/MainLeft").toString();
            std::fprintf(stderr, "stored MainLeft: %s\n", qPrintable(left));
            end();
        };
        USBStuff::SetFailureHooks(hooks);
        clock.step = 0.02;
        QPointer<frmMain> main = StartUp();
        auto* dismiss = new QTimer;
        QObject::connect(dismiss, &QTimer::timeout, [main] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                std::fprintf(stderr, "frame open under the message: %s, reason: %s\n", main && main->isVisible() ? "yes" : "no",
                             qPrintable(box->informativeText()));
                box->accept();
            }
        });
        dismiss->start(10);
        Read(0x100);  // a register the board does not know
    };
    EXPECT_EXIT(failAfterStartUp(), testing::ExitedWithCode(EXIT_FAILURE),
                "Communications Interrupted - Check USB connections.+"
                "frame open under the message: yes, reason: the simulated board does not know this request.+"
                "stored MainLeft: [0-9]+");
}

// A log-out, a kill or a closed terminal closes the program as the user's close does, in a
// child process: the frame stores its geometry and the status is 0, also when the signal comes
// during start-up or while a message box runs its own loop.
TEST_F(OnSimulatedBoard, TerminationSignalsCloseTheProgramAsTheUsersCloseDoes) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    enum When { AtStartUp, OverABoxAtStartUp, Running, OverABox };  // the odd ones over a message box
    const std::pair<int, When> cases[] = {{SIGTERM, Running},   {SIGHUP, Running},           {SIGINT, Running},
                                          {SIGTERM, AtStartUp}, {SIGTERM, OverABoxAtStartUp}, {SIGTERM, OverABox}};
    for (const auto& [signal, when] : cases) {
        const auto run = [this, signal = signal, when = when] {
            clock.step = 0.02;
            auto* poll = new QTimer;
            QObject::connect(poll, &QTimer::timeout, [=] {
                if (when >= Running && !GraphOpen) return;  // start-up opens the graph last
                poll->stop();
                QTimer::singleShot(when % 2 ? 50 : 0, [=] { std::raise(signal); });
                if (when % 2) QMessageBox(QMessageBox::Warning, "t", "open").exec();
            });
            poll->start(when >= Running ? 10 : 0);
            const int status = RunWindows();
            std::fprintf(stderr, "stored MainLeft: %s\n", qPrintable(QSettings(AppTitle, AppTitle).value("Settings/MainLeft").toString()));
            std::exit(status);
        };
        EXPECT_EXIT(run(), testing::ExitedWithCode(0), "stored MainLeft: [0-9]+") << signal << " " << when;
    }
}

TEST_F(OnSimulatedBoard, ALoggingRunGivesAFileOfTheExpectedColumns) {
    frmLogging logging;
    const QString file = dir.filePath("run.csv");
    logging.chooseLogFile = [&] { return file; };
    logging.cmdLogData_Click();
    ASSERT_TRUE(LoggingActive);

    CycleWindows windows;
    MonitoringCycle cycle(windows);
    for (int tick = 0; tick < 300; ++tick) {  // three seconds of ticks
        clock.now += 0.01;
        cycle.tmrMaster_Timer();
    }
    logging.cmdLogData_Click();
    EXPECT_FALSE(LoggingActive);

    QFile log(file);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().split('\n');
    ASSERT_GT(lines.size(), 20);
    EXPECT_EQ(lines[0], "\r");
    EXPECT_EQ(lines[1], "KTS9320B/3 Log File\r");
    EXPECT_EQ(lines[3], "Time ,Local(\xB0" "C) ,Remote(\xB0" "C) ,\r");
    int dataLines = 0;
    for (int i = 4; i < lines.size(); ++i) {
        if (lines[i].isEmpty()) continue;
        ASSERT_TRUE(lines[i].endsWith(",\r")) << lines[i].toStdString();
        const QList<QByteArray> fields = lines[i].chopped(1).split(',');
        ASSERT_EQ(fields.size(), 4) << lines[i].toStdString();
        bool ok[3] = {};
        EXPECT_DOUBLE_EQ(fields[0].toDouble(&ok[0]), dataLines * 0.1);
        EXPECT_DOUBLE_EQ(fields[1].trimmed().toDouble(&ok[1]), 30.0);
        EXPECT_DOUBLE_EQ(fields[2].trimmed().toDouble(&ok[2]), 41.25);
        EXPECT_TRUE(ok[0] && ok[1] && ok[2]) << lines[i].toStdString();
        EXPECT_TRUE(fields[3].isEmpty());
        ++dataLines;
    }
    EXPECT_GE(dataLines, 25);
    EXPECT_LE(dataLines, 30);
}

TEST_F(OnSimulatedBoard, SaveThenChangeThenRecallRestoresTheRegisters) {
    Write(0x0B, 0x50);
    Write(0x21, 5);
    Write(0x13, 0x80);
    Write(0x09, 0x04);
    ASSERT_TRUE(RegMapStuff::ExtendedRange);

    frmSave save;
    const QString file = dir.filePath("settings.sav");
    save.chooseSaveFile = [&] { return file; };
    save.chooseRecallFile = [&] { return file; };
    ScriptedPrompts prompts;
    QStringList warnings;
    prompts.warning = [&](const QString& text) { warnings << text; };
    save.cmdsave_Click();
    ASSERT_TRUE(QFile::exists(file));

    Write(0x0B, 0x20);
    Write(0x21, 9);
    Write(0x13, 0x00);
    Write(0x09, 0x00);
    ASSERT_FALSE(RegMapStuff::ExtendedRange);

    save.cmdRecall_Click();
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join("; ").toStdString();
    EXPECT_EQ(Read(0x05), 0x50);
    EXPECT_EQ(Read(0x21), 5);
    EXPECT_EQ(Read(0x13), 0x80);
    EXPECT_EQ(Read(0x03), 0x04);
    EXPECT_TRUE(RegMapStuff::ExtendedRange);
}

TEST_F(OnSimulatedBoard, DraggingAPointerChangesTheLimitAndTheLampsFollow) {
    frmLimits limits;
    limits.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&limits));
    LinearGauge* local = limits.ggeTemp[0];
    limits.UpdateAlertStatus();
    EXPECT_FALSE(limits.tglAlert[0]->IsOn());  // 30 degrees under the high limit of 85

    // Drag the local high pointer down to the bottom of the scale, under the temperature.
    const QPoint start = local->PointerHandleCentre(LinearGauge::Pointer::High);
    QTest::mousePress(local, Qt::LeftButton, {}, start);
    for (int dy = 10; dy <= 400; dy += 10) QTest::mouseMove(local, start + QPoint(0, dy));
    QTest::mouseRelease(local, Qt::LeftButton, {}, start + QPoint(0, 400));

    const int highLimit = Read(0x05);
    EXPECT_LT(highLimit, 30);
    EXPECT_DOUBLE_EQ(local->PointerValue(LinearGauge::Pointer::High), highLimit);

    // The next conversions compare the temperature with the new limit.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    limits.UpdateAlertStatus();
    EXPECT_TRUE(limits.tglAlert[0]->IsOn());   // Local High
    EXPECT_FALSE(limits.tglAlert[2]->IsOn());  // Remote High

    // Back above the temperature: the latched bit clears after it has been read once.
    Write(0x0B, 85);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    limits.UpdateAlertStatus();
    limits.UpdateAlertStatus();
    EXPECT_FALSE(limits.tglAlert[0]->IsOn());
}

}  // namespace
