#include "widgets/IndicatorLamp.h"

#include <QImage>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

QColor CentreColour(IndicatorLamp& lamp) {
    const QImage image = lamp.grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

}  // namespace

TEST(IndicatorLamp, OffIsDrawnGreenAndOnIsDrawnRed) {
    IndicatorLamp lamp;
    lamp.resize(lamp.sizeHint());
    ASSERT_FALSE(lamp.IsOn());
    const QColor off = CentreColour(lamp);
    EXPECT_GT(off.green(), off.red() + 60);

    lamp.SetOn(true);
    const QColor on = CentreColour(lamp);
    EXPECT_GT(on.red(), on.green() + 60);
    EXPECT_EQ(lamp.LampColor(), IndicatorLamp::OnColor);
}

TEST(IndicatorLamp, PropertySetsStateAndSignalsOnlyRealChanges) {
    IndicatorLamp lamp;
    QSignalSpy changed(&lamp, &IndicatorLamp::onChanged);
    ASSERT_TRUE(lamp.setProperty("on", true));
    EXPECT_TRUE(lamp.IsOn());
    EXPECT_TRUE(lamp.property("on").toBool());
    lamp.SetOn(true);
    lamp.SetOn(false);
    ASSERT_EQ(changed.count(), 2);
    EXPECT_TRUE(changed[0][0].toBool());
    EXPECT_FALSE(changed[1][0].toBool());
}
