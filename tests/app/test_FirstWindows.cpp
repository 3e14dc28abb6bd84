// What a first run shows: a splash with its border and no title bar, and a frame whose small
// first-run area still reaches the whole graph window through its scroll bars.
#include "support/BoardFailureTrap.h"

#include "state/GeneralStuff.h"
#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "widgets/Twips.h"

#include <QCoreApplication>
#include <QFrame>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QSettings>
#include <gtest/gtest.h>

namespace {

TEST(FirstWindows, TheSplashHasItsBorderAndNoTitleBar) {
    frmSplash splash;
    EXPECT_TRUE(splash.windowTitle().isEmpty());
    // Without a window frame the window manager has no title bar to fill with the name.
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_FALSE(splash.windowFlags() & Qt::WindowTitleHint);
    const auto* border = splash.findChild<QFrame*>("fraBorder");
    ASSERT_NE(border, nullptr);
    EXPECT_EQ(border->geometry(), splash.rect());
    EXPECT_GT(border->frameWidth(), 0);
    EXPECT_EQ(splash.size(), TwipsToPixels(7350, 4395));
}

TEST(FirstWindows, TheFirstRunFrameScrollsToTheWholeGraphWindow) {
    BoardFixtureState state;
    QSettings(GeneralStuff::AppTitle, GeneralStuff::AppTitle).remove("");
    frmMain main;
    main.RestoreGeometry();
    main.show();
    main.mnuGraph_Click();
    for (Qt::Orientation direction : {Qt::Horizontal, Qt::Vertical}) {
        const bool horizontal = direction == Qt::Horizontal;
        SCOPED_TRACE(horizontal ? "horizontal" : "vertical");
        EXPECT_EQ(horizontal ? main.mdiArea->horizontalScrollBarPolicy() : main.mdiArea->verticalScrollBarPolicy(),
                  Qt::ScrollBarAsNeeded);
    }
    const QMdiSubWindow* graph = main.mdiArea->subWindowList().first();
    ASSERT_GT(graph->width(), main.mdiArea->viewport()->width());
    QCoreApplication::processEvents();
    EXPECT_TRUE(main.mdiArea->horizontalScrollBar()->isVisible());
    main.CloseEverything();
}

}  // namespace
