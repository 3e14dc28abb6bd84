#include "widgets/IndicatorLamp.h"

#include <QPainter>
#include <QRadialGradient>
#include <algorithm>

const QColor IndicatorLamp::OffColor = QColor(0x1e, 0xb4, 0x3c);
const QColor IndicatorLamp::OnColor = QColor(0xe0, 0x20, 0x20);

IndicatorLamp::IndicatorLamp(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void IndicatorLamp::SetOn(bool on) {
    if (on == on_) return;
    on_ = on;
    update();
    emit onChanged(on_);
}

QColor IndicatorLamp::LampColor() const { return on_ ? OnColor : OffColor; }

QSize IndicatorLamp::sizeHint() const { return {18, 18}; }
QSize IndicatorLamp::minimumSizeHint() const { return {10, 10}; }

void IndicatorLamp::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal diameter = std::min(width(), height()) - 2.0;
    const QRectF lamp((width() - diameter) / 2.0, (height() - diameter) / 2.0, diameter, diameter);
    const QColor colour = LampColor();

    // A lit dome: bright near the upper left, the lamp's own colour over most of the face.
    QRadialGradient dome(lamp.center() - QPointF(diameter / 5.0, diameter / 5.0), diameter * 0.7);
    dome.setColorAt(0.0, colour.lighter(170));
    dome.setColorAt(0.45, colour);
    dome.setColorAt(1.0, colour.darker(140));
    painter.setBrush(dome);
    painter.setPen(QPen(colour.darker(220), 1.0));
    painter.drawEllipse(lamp);
}
