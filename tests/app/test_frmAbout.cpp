// The About window: its place in the frame, its version and its links.
#include "app/frmAbout.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(About, PositionIsCentredAndRaisedBy1500Twips) {
    EXPECT_EQ(frmAbout::AboutPosition(9000, 8000, 7100, 4100), QPointF(950, 450));
    EXPECT_EQ(frmAbout::AboutPosition(9000, 7000, 7100, 4100), QPointF(950, -50));
}

TEST(About, ShowsTheVersionAndCaption) {
    frmAbout about;
    EXPECT_EQ(about.lblVersion->text(), "1.0.0");
    EXPECT_EQ(about.windowTitle(), "About the  KTS9320B Software");
    EXPECT_EQ(about.Label1->text(), "KTS9320B Evaluation Software Version");
}

TEST(About, LinksOpenTheirPageEveryClickAndTurnPurple) {
    frmAbout about;
    QList<QUrl> opened;
    about.openUrl = [&](const QUrl& url) { opened << url; };
    about.show();
    QTest::mouseClick(about.Label6, Qt::LeftButton);
    QTest::mouseClick(about.Label6, Qt::LeftButton);
    QTest::mouseClick(about.lblSensorInfo, Qt::LeftButton);
    ASSERT_EQ(opened.size(), 3);
    EXPECT_EQ(opened[0], frmAbout::HomePage);
    EXPECT_EQ(opened[1], frmAbout::HomePage);
    EXPECT_EQ(opened[2], frmAbout::SensorPage);
    EXPECT_EQ(about.Label6->palette().color(QPalette::WindowText), QColor(128, 0, 128));
    EXPECT_EQ(about.lblSensorInfo->palette().color(QPalette::WindowText), QColor(128, 0, 128));

    frmAbout reopened;
    EXPECT_EQ(reopened.Label6->palette().color(QPalette::WindowText), QColor(0, 0, 192));
}

}  // namespace
