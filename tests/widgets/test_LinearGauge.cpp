#include "widgets/LinearGauge.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>

namespace {

using Pointer = LinearGauge::Pointer;

class GaugeTest : public ::testing::Test {
protected:
    GaugeTest() : gauge(1) {
        gauge.resize(110, 320);
        gauge.SetScaleRange(0, 127);
        gauge.SetPointerValue(Pointer::Low, 10);
        gauge.SetPointerValue(Pointer::High, 50);
        gauge.SetPointerValue(Pointer::Therm, 85);
        gauge.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&gauge));
    }

    // Presses on a pointer's handle and moves the mouse by the given offsets, then releases.
    void Drag(Pointer which, std::initializer_list<int> dys) {
        const QPoint start = gauge.PointerHandleCentre(which);
        QPoint at = start;
        QTest::mousePress(&gauge, Qt::LeftButton, {}, start);
        for (int dy : dys) {
            at = start + QPoint(0, dy);
            QTest::mouseMove(&gauge, at);
        }
        QTest::mouseRelease(&gauge, Qt::LeftButton, {}, at);
    }

    LinearGauge gauge;
};

bool OnQuarterDegree(double value) { return std::fmod(value * 4.0, 1.0) == 0.0; }

}  // namespace

TEST_F(GaugeTest, MouseDragRaisesOneEventOnReleaseWithTheGaugeIndex) {
    QSignalSpy moved(&gauge, &LinearGauge::PointerMoved);
    const QPoint start = gauge.PointerHandleCentre(Pointer::High);
    QTest::mousePress(&gauge, Qt::LeftButton, {}, start);
    QTest::mouseMove(&gauge, start - QPoint(0, 20));
    QTest::mouseMove(&gauge, start - QPoint(0, 40));
    EXPECT_EQ(moved.count(), 0);
    EXPECT_GT(gauge.PointerValue(Pointer::High), 50.0);
    QTest::mouseRelease(&gauge, Qt::LeftButton, {}, start - QPoint(0, 40));

    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved[0][0].toInt(), 1);
    EXPECT_EQ(gauge.SelectedPointer(), Pointer::High);
    EXPECT_TRUE(OnQuarterDegree(gauge.PointerValue(Pointer::High)));
    EXPECT_EQ(gauge.PointerValue(Pointer::Low), 10.0);
    EXPECT_EQ(gauge.PointerValue(Pointer::Therm), 85.0);
}

TEST_F(GaugeTest, DraggedPointerStaysWithinTheScale) {
    Drag(Pointer::Therm, {-2000});
    EXPECT_EQ(gauge.PointerValue(Pointer::Therm), 127.0);
    Drag(Pointer::Therm, {5000});
    EXPECT_EQ(gauge.PointerValue(Pointer::Therm), 0.0);

    gauge.SetScaleRange(-64, 127);
    Drag(Pointer::Low, {5000});
    EXPECT_EQ(gauge.PointerValue(Pointer::Low), -64.0);
}

TEST_F(GaugeTest, ClickWithoutMovingChangesNothing) {
    QSignalSpy moved(&gauge, &LinearGauge::PointerMoved);
    Drag(Pointer::Low, {});
    EXPECT_EQ(moved.count(), 0);
    EXPECT_EQ(gauge.PointerValue(Pointer::Low), 10.0);
    EXPECT_EQ(gauge.SelectedPointer(), Pointer::Low);
}

TEST_F(GaugeTest, ValueOutsideTheScaleIsKeptDrawnAtTheEndAndUntouchedByAClick) {
    QSignalSpy moved(&gauge, &LinearGauge::PointerMoved);
    const QPoint atLowerEnd = [&] {
        gauge.SetPointerValue(Pointer::Low, 0);
        return gauge.PointerHandleCentre(Pointer::Low);
    }();
    gauge.SetPointerValue(Pointer::Low, -10);
    gauge.SetPointerValue(Pointer::High, 300);
    EXPECT_EQ(gauge.PointerValue(Pointer::Low), -10.0);
    EXPECT_EQ(gauge.PointerHandleCentre(Pointer::Low), atLowerEnd);
    EXPECT_TRUE(gauge.rect().contains(gauge.PointerHandleCentre(Pointer::High)));

    Drag(Pointer::Low, {});
    EXPECT_EQ(gauge.PointerValue(Pointer::Low), -10.0);
    EXPECT_EQ(moved.count(), 0);   // values set by code raise nothing either

    QTest::keyClick(&gauge, Qt::Key_Up);
    EXPECT_EQ(gauge.PointerValue(Pointer::Low), 0.0);
}

TEST_F(GaugeTest, KeysMoveTheSelectedPointerOneEventPerMove) {
    QSignalSpy moved(&gauge, &LinearGauge::PointerMoved);
    gauge.SelectPointer(Pointer::High);
    QTest::keyClick(&gauge, Qt::Key_Up);
    EXPECT_EQ(gauge.PointerValue(Pointer::High), 51.0);
    QTest::keyClick(&gauge, Qt::Key_PageDown);
    EXPECT_EQ(gauge.PointerValue(Pointer::High), 46.0);
    QTest::keyClick(&gauge, Qt::Key_Down);
    QTest::keyClick(&gauge, Qt::Key_PageUp);
    EXPECT_EQ(gauge.PointerValue(Pointer::High), 50.0);
    EXPECT_EQ(moved.count(), 4);

    gauge.SetPointerValue(Pointer::High, 125);
    QTest::keyClick(&gauge, Qt::Key_PageUp);
    QTest::keyClick(&gauge, Qt::Key_Up);
    EXPECT_EQ(gauge.PointerValue(Pointer::High), 127.0);
    EXPECT_EQ(moved.count(), 5);   // the second key found the pointer at the end already
    EXPECT_EQ(gauge.PointerValue(Pointer::Low), 10.0);
}

TEST_F(GaugeTest, TabWalksThroughThePointers) {
    gauge.SelectPointer(Pointer::Low);
    QTest::keyClick(&gauge, Qt::Key_Tab);
    EXPECT_EQ(gauge.SelectedPointer(), Pointer::High);
    QTest::keyClick(&gauge, Qt::Key_Tab);
    EXPECT_EQ(gauge.SelectedPointer(), Pointer::Therm);
    QTest::keyClick(&gauge, Qt::Key_Tab);   // leaves the gauge
    EXPECT_EQ(gauge.SelectedPointer(), Pointer::Therm);
    QTest::keyClick(&gauge, Qt::Key_Backtab);
    EXPECT_EQ(gauge.SelectedPointer(), Pointer::High);
}
