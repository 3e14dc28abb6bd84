// The frame window: stored geometry, child windows opened once, the toolbar and the status bar.
#include "support/BoardFailureTrap.h"

#include "state/GeneralStuff.h"
#include "app/WindowSettings.h"
#include "app/frmMain.h"
#include "output/frmGraph.h"
#include "windows/frmLogging.h"
#include "windows/frmSave.h"
#include "windows/frmLimits.h"
#include "widgets/Twips.h"
#include "windows/frmConfig.h"
#include "windows/frmRegMap.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

#include <functional>

using namespace GeneralStuff;

namespace {

class FrameTest : public ::testing::Test {
protected:
    FrameTest() { Settings().remove(""); }
    static QSettings& Settings() {
        static QSettings settings(AppTitle, AppTitle);
        settings.sync();
        return settings;
    }
    static QString Stored(const char* key) {
        QSettings s(AppTitle, AppTitle);
        return s.value(QStringLiteral("Settings/%1").arg(key)).toString();
    }
    static void Store(const char* key, const QString& value) {
        QSettings s(AppTitle, AppTitle);
        s.setValue(QStringLiteral("Settings/%1").arg(key), value);
    }
    BoardFixtureState state;
};

TEST_F(FrameTest, FirstRunPlacesTheWindowAtTheDefaults) {
    frmMain main;
    main.RestoreGeometry();
    EXPECT_EQ(main.pos(), QPoint(TwipsToPixelsX(1000), TwipsToPixelsY(1000)));
    EXPECT_EQ(main.size(), TwipsToPixels(6500, 6500));
}

TEST_F(FrameTest, GeometryIsSavedAtCloseAndRestoredAtTheNextStart) {
    {
        frmMain main;
        main.move(120, 90);
        main.resize(700, 500);
        main.CloseEverything();
    }
    EXPECT_EQ(Stored("MainLeft"), QString::number(PixelsToTwipsX(120), 'g', 7));
    EXPECT_EQ(Stored("MainWidth"), QString::number(PixelsToTwipsX(700), 'g', 7));
    frmMain again;
    again.RestoreGeometry();
    EXPECT_EQ(again.pos(), QPoint(120, 90));
    EXPECT_EQ(again.size(), QSize(700, 500));
}

TEST_F(FrameTest, AMinimizedWindowSavesNothing) {
    Store("MainLeft", "2000");
    frmMain main;
    main.move(300, 300);
    main.setWindowState(Qt::WindowMinimized);
    main.CloseEverything();
    EXPECT_EQ(Stored("MainLeft"), "2000");
    EXPECT_TRUE(Stored("MainWidth").isEmpty());
}

TEST_F(FrameTest, UnreadableOrOffScreenValuesFallBackToTheDefaults) {
    Store("MainLeft", "abc");
    Store("MainTop", "1500");
    Store("MainWidth", "7000");
    Store("MainHeight", "");
    frmMain main;
    main.RestoreGeometry();
    EXPECT_EQ(main.pos(), QPoint(TwipsToPixelsX(1000), TwipsToPixelsY(1500)));
    EXPECT_EQ(main.size(), TwipsToPixels(7000, 6500));

    Store("MainLeft", "-900000");
    frmMain off;
    off.RestoreGeometry();
    EXPECT_EQ(off.pos(), QPoint(TwipsToPixelsX(1000), TwipsToPixelsY(1000)));
}

TEST_F(FrameTest, StoredValuesBeyondTheIntRangeOrTheScreenAreNotTakenAsTheyStand) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect firstRun = TwipsRect(1000, 1000, 6500, 6500);
    // Beyond the int range: the defaults, not a wrapped-round value; larger than the screen:
    // cut to the screen's available area.
    const std::tuple<const char*, const char*, QRect> cases[] = {
        {"64424513536", "6500", firstRun},
        {"1000", "64424513536", firstRun},
        {"1000", "99999999", screen},
    };
    for (const auto& [left, size, placed] : cases) {
        SCOPED_TRACE(std::string(left) + " " + size);
        Store("MainLeft", left);
        Store("MainWidth", size);
        Store("MainHeight", size);
        frmMain main;
        main.RestoreGeometry();
        EXPECT_EQ(QRect(main.pos(), main.size()), placed);
    }
}

TEST(WindowFit, AWindowIsCutToItsScreenAndKeepsItsTitleBarOnIt) {
    const QList<QRect> screens{QRect(0, 0, 1000, 800), QRect(1000, 0, 1920, 1080)};
    const QRect fallback(60, 60, 400, 400);
    const std::pair<QRect, QRect> cases[] = {
        {QRect(100, 50, 600, 400), QRect(100, 50, 600, 400)},            // fits: as stored
        {QRect(100, 50, 5000, 400), QRect(0, 50, 1000, 400)},            // too wide for its screen
        {QRect(1100, 50, 600, 90000), QRect(1100, 0, 600, 1080)},        // too high, second screen
        {QRect(-100, -10, 600, 400), QRect(0, 0, 600, 400)},             // title bar partly off
        {QRect(950, 790, 600, 400), QRect(880, 776, 600, 400)},          // title bar corner only
        {QRect(5000, 5000, 600, 400), fallback},                         // off every screen
        {QRect(100, 50, 0, 400), fallback},                              // no size
    };
    for (const auto& [stored, placed] : cases) {
        SCOPED_TRACE(QString("%1,%2 %3x%4").arg(stored.x()).arg(stored.y()).arg(stored.width()).arg(stored.height()).toStdString());
        EXPECT_EQ(WindowSettings::FitOnScreens(stored, screens, fallback), placed);
    }
}

TEST_F(FrameTest, EachWindowIsOpenedOnceAndBroughtToTheFront) {
    frmMain main;
    main.mnuRegMap_Click();
    main.mnuGraph_Click();
    frmRegMap* regMap = main.OpenWindows().regMap;
    ASSERT_NE(regMap, nullptr);
    main.tbToolBar_ButtonClick("Tree");
    EXPECT_EQ(main.OpenWindows().regMap, regMap);
    EXPECT_EQ(main.mdiArea->subWindowList().size(), 2);
    EXPECT_EQ(main.mdiArea->activeSubWindow()->widget(), regMap);
    EXPECT_TRUE(RegMapOpen);
    EXPECT_TRUE(GraphOpen);

    // The graph's configuration button opens the one configuration window.
    main.OpenWindows().graph->cmdConfig_Click();
    main.mnuGeneralConfig_Click();
    EXPECT_NE(main.ConfigWindow(), nullptr);
    EXPECT_EQ(main.mdiArea->subWindowList().size(), 3);

    // Closing the frame closes every child window through its own close handling.
    main.CloseEverything();
    EXPECT_FALSE(RegMapOpen);
    EXPECT_FALSE(GraphOpen);
}

TEST_F(FrameTest, ToolbarButtonsOpenTheirWindowsByKey) {
    frmMain main;
    for (const char* key : {"Save", "Config", "Graphs", "Tree", "Limits", "Log"}) main.tbToolBar_ButtonClick(key);
    EXPECT_EQ(main.mdiArea->subWindowList().size(), 6);
    main.tbToolBar_ButtonClick("tree");
    main.tbToolBar_ButtonClick("");
    EXPECT_EQ(main.mdiArea->subWindowList().size(), 6);
    main.CloseEverything();
}

TEST_F(FrameTest, EachToolbarKeyOpensItsOwnWindow) {
    const std::pair<const char*, std::function<QWidget*(const frmMain&)>> cases[] = {
        {"Save", [](const frmMain& m) { return m.SaveWindow().data(); }},
        {"Config", [](const frmMain& m) { return m.ConfigWindow().data(); }},
        {"Graphs", [](const frmMain& m) { return m.OpenWindows().graph.data(); }},
        {"Tree", [](const frmMain& m) { return m.OpenWindows().regMap.data(); }},
        {"Limits", [](const frmMain& m) { return m.OpenWindows().limits.data(); }},
        {"Log", [](const frmMain& m) { return m.LoggingWindow().data(); }},
    };
    for (const auto& [key, window] : cases) {
        SCOPED_TRACE(key);
        frmMain main;
        main.tbToolBar_ButtonClick(key);
        ASSERT_NE(window(main), nullptr);
        ASSERT_EQ(main.mdiArea->subWindowList().size(), 1);
        EXPECT_EQ(main.mdiArea->subWindowList()[0]->widget(), window(main));
        main.CloseEverything();
    }
}

// Each of the four keys by its name: what the frame reads from it and what it writes to it.
TEST_F(FrameTest, GeometryKeysEachHoldTheirOwnEdgeOrSize) {
    const struct {
        const char* key;
        double twips;
        std::function<int(const frmMain&)> pixels;
        std::function<double(int)> toTwips;
    } keys[] = {
        {"MainLeft", 1500, [](const frmMain& m) { return m.x(); }, PixelsToTwipsX},
        {"MainTop", 1200, [](const frmMain& m) { return m.y(); }, PixelsToTwipsY},
        {"MainWidth", 5000, [](const frmMain& m) { return m.width(); }, PixelsToTwipsX},
        {"MainHeight", 4000, [](const frmMain& m) { return m.height(); }, PixelsToTwipsY},
    };
    for (const auto& k : keys) Store(k.key, QString::number(k.twips));
    frmMain main;
    main.RestoreGeometry();
    for (const auto& k : keys) EXPECT_NEAR(k.toTwips(k.pixels(main)), k.twips, 15) << k.key;

    Settings().remove("");
    main.move(110, 70);
    main.resize(730, 530);
    main.CloseEverything();
    for (const auto& k : keys)
        EXPECT_EQ(Stored(k.key), QString::number(k.toTwips(k.pixels(main)), 'g', 7)) << k.key;
}

TEST_F(FrameTest, ToolbarTooltipsAndTheLogButtonWithoutOne) {
    frmMain main;
    QStringList tips;
    for (QAction* action : main.tbToolBar->actions()) tips << action->toolTip();
    EXPECT_EQ(tips, (QStringList{"Save/Recall Configuration", "General Device Configuration", "Temperature/Fan graphs",
                                 "Register Map Tree", "Interrupts/Limits", ""}));
}

TEST_F(FrameTest, MenusCarryTheirCaptions) {
    frmMain main;
    auto caption = [&](const char* name) { return main.findChild<QAction*>(name)->text(); };
    EXPECT_EQ(caption("mnuSave"), "&Save/Recall Configuration");
    EXPECT_EQ(caption("mnuLog"), "&Log Data to File");
    EXPECT_EQ(caption("mnuRegMap"), "&Register Map");
    EXPECT_EQ(caption("mnuGraph"), "Gra&phing");
    EXPECT_EQ(caption("mnuLimits"), "Li&mits, Interrupts");
    EXPECT_EQ(caption("mnuGeneralConfig"), "&General Configuration");
    EXPECT_EQ(caption("mnuSoftware"), "&Software options");
    EXPECT_EQ(caption("mnuAbout"), "A&bout the KTS9320B Software...");
}

TEST_F(FrameTest, WindowMenuListsTheOpenWindows) {
    frmMain main;
    main.mnuRegMap_Click();
    main.mnuLimits_Click();
    emit main.mnuWindow->aboutToShow();
    const QList<QAction*> items = main.mnuWindow->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->text(), "&1 Register Map");
    EXPECT_EQ(items[1]->text(), "&2 Limits and Interrupts");
    EXPECT_TRUE(items[1]->isChecked());
    items[0]->trigger();
    EXPECT_EQ(main.mdiArea->activeSubWindow()->widget(), main.OpenWindows().regMap);
    main.CloseEverything();
}

TEST_F(FrameTest, StatusPanelsShowTextDateAndTime) {
    frmMain main;
    EXPECT_EQ(main.sbStatusPanel1->text(), "Status");
    SetStatusText("Logging Enabled");
    EXPECT_EQ(main.sbStatusPanel1->text(), "Logging Enabled");
    EXPECT_FALSE(main.sbStatusDate->text().isEmpty());
    EXPECT_FALSE(main.sbStatusTime->text().isEmpty());
    // At the first run's size a long status shows whole; the board's panel gives way.
    main.RestoreGeometry();
    main.sbStatusBoard->setText("i2c-dev /dev/i2c-1, 4Ch");
    SetStatusText("Firmware download succesful");
    main.show();
    EXPECT_GE(main.sbStatusPanel1->width(), main.sbStatusPanel1->sizeHint().width());
}

TEST_F(FrameTest, MasterTimerIsOffUntilStartedAndSwitchedByTheHandler) {
    frmMain main;
    EXPECT_FALSE(main.tmrMaster->isActive());
    EXPECT_EQ(main.tmrMaster->interval(), 10);
    SetMasterTimerEnabled(true);
    EXPECT_TRUE(main.tmrMaster->isActive());
    SetMasterTimerEnabled(false);
    EXPECT_FALSE(main.tmrMaster->isActive());
}

TEST_F(FrameTest, TheMasterTimerSleepsWhileNothingIsDueAndWakesAtTheUsersInput) {
    frmMain main;
    MonitoringEnabled = false;
    SetMasterTimerEnabled(true);
    QTest::qWait(50);
    EXPECT_GT(main.tmrMaster->remainingTime(), 100);
    QTest::mouseClick(main.mdiArea, Qt::LeftButton);
    EXPECT_LE(main.tmrMaster->remainingTime(), 10);
}

}  // namespace

namespace {

TEST_F(FrameTest, AChildWindowOpensInsideTheFrameWhereItFits) {
    frmMain main;
    main.resize(1000, 800);
    main.show();
    main.mnuGraph_Click();
    main.mnuLimits_Click();
    main.mnuRegMap_Click();
    const QRect area = main.mdiArea->viewport()->rect();
    for (QMdiSubWindow* sub : main.mdiArea->subWindowList())
        EXPECT_TRUE(area.contains(sub->geometry())) << sub->windowTitle().toStdString();
    main.CloseEverything();
}

// A window of fixed size opened or brought to the front while another is maximized keeps its
// frame and title bar, and stands where the area places it, not over the other's title bar.
TEST_F(FrameTest, AFixedSizeWindowOpensFramedOverAMaximizedOne) {
    for (const QSize size : {QSize(1000, 800), TwipsToPixels(6500, 6500)}) {   // large, first run
    frmMain main;
    main.resize(size);
    main.show();
    const std::function<void(frmMain&)> opens[] = {&frmMain::mnuLog_Click, &frmMain::mnuSave_Click,
                                                   &frmMain::mnuLog_Click};
    main.mnuGraph_Click();
    for (const auto& open : opens) {
        QMdiSubWindow* graph = qobject_cast<QMdiSubWindow*>(main.OpenWindows().graph->parentWidget());
        graph->showMaximized();
        main.mdiArea->setActiveSubWindow(graph);
        open(main);
        QMdiSubWindow* sub = main.mdiArea->activeSubWindow();
        ASSERT_NE(sub, graph);
        EXPECT_FALSE(sub->isMaximized()) << sub->windowTitle().toStdString();
        EXPECT_GT(sub->widget()->y(), 10) << sub->windowTitle().toStdString();   // below its title bar
        EXPECT_FALSE(sub->geometry().contains(graph->geometry().topLeft() + QPoint(40, 5)))
            << sub->windowTitle().toStdString();
    }
    main.CloseEverything();
    }
}

}  // namespace
