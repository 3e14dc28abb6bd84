#include "widgets/LinearGauge.h"

#include <QFocusEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr double Margin = 3.0;
constexpr double TubeWidth = 12.0;
constexpr double MajorTick = 6.0;
constexpr double MinorTick = 3.0;
constexpr double Gap = 3.0;
constexpr double HandlePoint = 5.0;   // length of a handle's tip that points at the tube

const QColor BarColour(0x26, 0x9e, 0x92);
const std::array<QColor, LinearGauge::PointerCount> PointerColours = {
    QColor(0x15, 0x65, 0xc0), QColor(0xe6, 0x7e, 0x00), QColor(0xc6, 0x28, 0x28)};
const std::array<const char*, LinearGauge::PointerCount> PointerLetters = {"L", "H", "T"};

int Index(LinearGauge::Pointer which) { return static_cast<int>(which); }

QString DegreesText(double value) { return QString::number(value, 'g', 6); }

QFont SmallFont(QFont font) {
    if (font.pointSizeF() > 0) {
        font.setPointSizeF(font.pointSizeF() * 0.85);
    } else {
        font.setPixelSize(std::max(8, static_cast<int>(font.pixelSize() * 0.85)));
    }
    return font;
}

struct TickSpacing {
    double major;
    double minor;   // 0: no minor ticks
};

// The finest spacing whose labels stay apart by about two label heights.
TickSpacing ChooseTicks(double pixelsPerDegree, double labelHeight) {
    static const TickSpacing options[] = {{1, 0},   {2, 1},   {5, 1},    {10, 2},   {20, 5},
                                          {25, 5},  {50, 10}, {100, 20}, {200, 50}, {500, 100}};
    const double wanted = 2.0 * labelHeight / pixelsPerDegree;
    for (const TickSpacing& option : options) {
        if (option.major >= wanted) return option;
    }
    return {std::pow(10.0, std::ceil(std::log10(wanted))), 0};
}

}  // namespace

struct LinearGauge::Geometry {
    QFont smallFont;
    double smallHeight = 0;
    double contentWidth = 0;   // everything but the caption, side by side
    double labelRight = 0;     // tick labels end here
    double spineX = 0;         // the ticks hang off this vertical line
    double top = 0;            // y of the scale's upper end
    double bottom = 0;         // y of the scale's lower end
    QRectF tube;
    double laneLeft = 0;       // each pointer has a lane of its own right of the tube
    double laneWidth = 0;
    double handleHeight = 0;
    QRectF captionBox;
    QRectF footer;             // the selected pointer's name and value
};

LinearGauge::LinearGauge(int gaugeIndex, QWidget* parent) : QWidget(parent), gaugeIndex_(gaugeIndex) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
}

void LinearGauge::SetScaleRange(double lower, double upper) {
    if (!std::isfinite(lower) || !std::isfinite(upper) || !(lower < upper)) return;
    lower_ = lower;
    upper_ = upper;
    update();
}

void LinearGauge::SetValue(double value) {
    if (!std::isfinite(value)) return;
    value_ = value;
    update();
}

void LinearGauge::SetCaption(const QString& caption) {
    caption_ = caption;
    update();
}

void LinearGauge::SetPointerValue(Pointer which, double value) {
    if (!std::isfinite(value)) return;
    pointers_[Index(which)] = value;
    update();
}

double LinearGauge::PointerValue(Pointer which) const { return pointers_[Index(which)]; }

void LinearGauge::SelectPointer(Pointer which) {
    selected_ = which;
    update();
}

QString LinearGauge::PointerName(Pointer which) {
    switch (which) {
    case Pointer::Low: return QStringLiteral("Low");
    case Pointer::High: return QStringLiteral("High");
    case Pointer::Therm: return QStringLiteral("THERM");
    }
    return {};
}

QPoint LinearGauge::PointerHandleCentre(Pointer which) const {
    return HandleRect(which, Measure()).center().toPoint();
}

QSize LinearGauge::sizeHint() const {
    const Geometry g = Measure();
    return {static_cast<int>(std::ceil(g.contentWidth + 2 * Margin)), 320};
}

QSize LinearGauge::minimumSizeHint() const {
    const Geometry g = Measure();
    return {static_cast<int>(std::ceil(g.contentWidth + 2 * Margin)), 160};
}

LinearGauge::Geometry LinearGauge::Measure() const {
    Geometry g;
    g.smallFont = SmallFont(font());
    const QFontMetricsF small(g.smallFont);
    const QFontMetricsF normal(font());
    g.smallHeight = small.height();
    g.handleHeight = small.height() + 2;
    double widestLetter = 0;
    for (const char* letter : PointerLetters) {
        widestLetter = std::max(widestLetter, small.horizontalAdvance(QString::fromLatin1(letter)));
    }
    g.laneWidth = std::max(12.0, widestLetter + HandlePoint + 5);

    const double labelWidth =
        std::max({small.horizontalAdvance(DegreesText(std::trunc(lower_))),
                  small.horizontalAdvance(DegreesText(std::trunc(upper_))),
                  small.horizontalAdvance(QStringLiteral("-00"))});
    g.contentWidth = labelWidth + Gap + MajorTick + Gap + TubeWidth + Gap + PointerCount * g.laneWidth;

    const double left = std::max(Margin, (width() - g.contentWidth) / 2.0);
    g.labelRight = left + labelWidth;
    g.spineX = g.labelRight + Gap + MajorTick;
    const double tubeLeft = g.spineX + Gap;
    g.laneLeft = tubeLeft + TubeWidth + Gap;

    const double footerHeight = small.height();
    const double captionHeight = normal.height() + 6;
    g.footer = QRectF(Margin, height() - Margin - footerHeight, width() - 2 * Margin, footerHeight);
    g.captionBox = QRectF(Margin, g.footer.top() - 2 - captionHeight, width() - 2 * Margin, captionHeight);

    const double endRoom = std::max(small.height(), g.handleHeight) / 2.0;
    g.top = Margin + endRoom;
    g.bottom = std::max(g.top + 1.0, g.captionBox.top() - Gap - endRoom);
    g.tube = QRectF(tubeLeft, g.top - 2, TubeWidth, g.bottom - g.top + 4);
    return g;
}

double LinearGauge::ClampToScale(double value) const { return std::clamp(value, lower_, upper_); }

double LinearGauge::YOf(double value, const Geometry& g) const {
    const double fraction = (ClampToScale(value) - lower_) / (upper_ - lower_);
    return g.bottom - fraction * (g.bottom - g.top);
}

double LinearGauge::ValueAtY(double y, const Geometry& g) const {
    return lower_ + (g.bottom - y) / (g.bottom - g.top) * (upper_ - lower_);
}

QRectF LinearGauge::HandleRect(Pointer which, const Geometry& g) const {
    const double x = g.laneLeft + Index(which) * g.laneWidth;
    const double y = YOf(PointerValue(which), g);
    return {x, y - g.handleHeight / 2.0, g.laneWidth - 1, g.handleHeight};
}

std::optional<LinearGauge::Pointer> LinearGauge::PointerAt(const QPointF& pos) const {
    const Geometry g = Measure();
    std::optional<Pointer> nearest;
    double nearestDistance = 0;
    for (int i = 0; i < PointerCount; ++i) {
        const auto which = static_cast<Pointer>(i);
        const QRectF grab = HandleRect(which, g).adjusted(-2, -2, 2, 2);
        if (!grab.contains(pos)) continue;
        const double distance = std::abs(grab.center().y() - pos.y());
        if (!nearest || distance < nearestDistance) {
            nearest = which;
            nearestDistance = distance;
        }
    }
    return nearest;
}

void LinearGauge::MoveSelectedBy(double delta) {
    double& value = pointers_[Index(selected_)];
    const double moved = ClampToScale(value + delta);
    if (moved == value) return;
    value = moved;
    update();
    emit PointerMoved(gaugeIndex_);
}

void LinearGauge::DragTo(double y) {
    const double raw = ValueAtY(y - dragGrabOffset_, Measure());
    const double snapped = std::round(raw / DragResolution) * DragResolution;
    pointers_[Index(*dragged_)] = ClampToScale(snapped);
    update();
}

void LinearGauge::mousePressEvent(QMouseEvent* event) {
    const std::optional<Pointer> hit =
        event->button() == Qt::LeftButton ? PointerAt(event->position()) : std::nullopt;
    if (!hit) {
        QWidget::mousePressEvent(event);
        return;
    }
    SelectPointer(*hit);
    dragged_ = hit;
    dragMoved_ = false;
    dragPressY_ = event->position().y();
    dragStartValue_ = PointerValue(*hit);
    dragGrabOffset_ = dragPressY_ - YOf(dragStartValue_, Measure());
    event->accept();
}

void LinearGauge::mouseMoveEvent(QMouseEvent* event) {
    if (!dragged_) {
        if (PointerAt(event->position())) {
            setCursor(Qt::SizeVerCursor);
        } else {
            unsetCursor();
        }
        QWidget::mouseMoveEvent(event);
        return;
    }
    // A pointer drawn pinned at the scale's end keeps its value until it really moves.
    if (!dragMoved_ && std::abs(event->position().y() - dragPressY_) < 1.0) return;
    dragMoved_ = true;
    DragTo(event->position().y());
}

void LinearGauge::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragged_ || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    if (!dragMoved_ && std::abs(event->position().y() - dragPressY_) >= 1.0) dragMoved_ = true;
    if (dragMoved_) DragTo(event->position().y());
    const Pointer released = *dragged_;
    dragged_.reset();
    if (dragMoved_ && PointerValue(released) != dragStartValue_) emit PointerMoved(gaugeIndex_);
}

void LinearGauge::keyPressEvent(QKeyEvent* event) {
    if (dragged_) return;
    switch (event->key()) {
    case Qt::Key_Up: MoveSelectedBy(KeyStep); break;
    case Qt::Key_Down: MoveSelectedBy(-KeyStep); break;
    case Qt::Key_PageUp: MoveSelectedBy(PageStep); break;
    case Qt::Key_PageDown: MoveSelectedBy(-PageStep); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

void LinearGauge::focusInEvent(QFocusEvent* event) {
    if (event->reason() == Qt::TabFocusReason) selected_ = Pointer::Low;
    if (event->reason() == Qt::BacktabFocusReason) selected_ = Pointer::Therm;
    QWidget::focusInEvent(event);
    update();
}

void LinearGauge::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

// Tab walks through the three pointers before it leaves the gauge.
bool LinearGauge::focusNextPrevChild(bool next) {
    if (!dragged_) {
        const int neighbour = Index(selected_) + (next ? 1 : -1);
        if (neighbour >= 0 && neighbour < PointerCount) {
            SelectPointer(static_cast<Pointer>(neighbour));
            return true;
        }
    }
    return QWidget::focusNextPrevChild(next);
}

void LinearGauge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const Geometry g = Measure();
    DrawScale(painter, g);
    DrawBar(painter, g);
    DrawPointers(painter, g);
    DrawCaption(painter, g);
}

void LinearGauge::DrawScale(QPainter& painter, const Geometry& g) const {
    const QColor ink = palette().color(QPalette::WindowText);
    painter.setFont(g.smallFont);
    painter.setPen(QPen(ink, 1.0));
    painter.drawLine(QPointF(g.spineX, g.top), QPointF(g.spineX, g.bottom));

    const double pixelsPerDegree = (g.bottom - g.top) / (upper_ - lower_);
    const TickSpacing ticks = ChooseTicks(pixelsPerDegree, g.smallHeight);
    if (ticks.minor > 0 && ticks.minor * pixelsPerDegree >= 3.0) {
        for (double k = std::ceil(lower_ / ticks.minor); k * ticks.minor <= upper_; ++k) {
            const double y = YOf(k * ticks.minor, g);
            painter.drawLine(QPointF(g.spineX - MinorTick, y), QPointF(g.spineX, y));
        }
    }
    // Both ends get a full tick even where no label falls on them.
    for (double end : {lower_, upper_}) {
        const double y = YOf(end, g);
        painter.drawLine(QPointF(g.spineX - MajorTick, y), QPointF(g.spineX, y));
    }
    for (double k = std::ceil(lower_ / ticks.major); k * ticks.major <= upper_; ++k) {
        const double degrees = k * ticks.major;
        const double y = YOf(degrees, g);
        painter.drawLine(QPointF(g.spineX - MajorTick, y), QPointF(g.spineX, y));
        const QRectF label(0, y - g.smallHeight / 2.0, g.labelRight, g.smallHeight);
        painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter, DegreesText(degrees));
    }
}

void LinearGauge::DrawBar(QPainter& painter, const Geometry& g) const {
    const QColor frame = palette().color(QPalette::Dark);
    painter.setPen(QPen(frame, 1.0));
    painter.setBrush(palette().color(QPalette::Base));
    painter.drawRoundedRect(g.tube, 4, 4);

    const double top = YOf(value_, g);
    if (top >= g.bottom) return;
    QLinearGradient shade(g.tube.topLeft(), g.tube.topRight());
    shade.setColorAt(0.0, BarColour.lighter(140));
    shade.setColorAt(0.5, BarColour);
    shade.setColorAt(1.0, BarColour.darker(130));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shade);
    painter.drawRect(QRectF(g.tube.left() + 2, top, g.tube.width() - 4, g.bottom + 1 - top));
}

void LinearGauge::DrawPointers(QPainter& painter, const Geometry& g) const {
    // The marker lines first, so that no line crosses a handle.
    for (int i = 0; i < PointerCount; ++i) {
        const QRectF handle = HandleRect(static_cast<Pointer>(i), g);
        const double y = handle.center().y();
        painter.setPen(QPen(PointerColours[i], 1.5));
        painter.drawLine(QPointF(g.tube.left(), y), QPointF(handle.left(), y));
    }
    painter.setFont(g.smallFont);
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < PointerCount; ++i) {
            // The selected handle is drawn last, on top of any it overlaps.
            const bool isSelected = i == Index(selected_);
            if (isSelected != (pass == 1)) continue;
            const QRectF handle = HandleRect(static_cast<Pointer>(i), g);
            const double y = handle.center().y();
            QPainterPath outline;
            outline.moveTo(handle.left(), y);
            outline.lineTo(handle.left() + HandlePoint, handle.top());
            outline.lineTo(handle.right(), handle.top());
            outline.lineTo(handle.right(), handle.bottom());
            outline.lineTo(handle.left() + HandlePoint, handle.bottom());
            outline.closeSubpath();
            painter.setBrush(PointerColours[i]);
            painter.setPen(QPen(isSelected ? palette().color(QPalette::WindowText) : PointerColours[i].darker(150),
                                isSelected ? 1.5 : 1.0));
            painter.drawPath(outline);
            painter.setPen(Qt::white);
            painter.drawText(handle.adjusted(HandlePoint - 1, 0, 0, 0), Qt::AlignCenter,
                             QString::fromLatin1(PointerLetters[i]));
            if (isSelected && hasFocus()) {
                painter.setBrush(Qt::NoBrush);
                painter.setPen(QPen(palette().color(QPalette::Highlight), 1.0, Qt::DotLine));
                painter.drawRect(handle.adjusted(-2, -2, 2, 2));
            }
        }
    }
}

void LinearGauge::DrawCaption(QPainter& painter, const Geometry& g) const {
    painter.setPen(QPen(palette().color(QPalette::Mid), 1.0));
    painter.setBrush(palette().color(QPalette::Base));
    painter.drawRect(g.captionBox);
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(g.captionBox, Qt::AlignCenter, caption_);

    const int selected = Index(selected_);
    const QString footer = PointerName(selected_) + QStringLiteral(" ") + DegreesText(pointers_[selected]);
    painter.setFont(g.smallFont);
    painter.setPen(PointerColours[selected]);
    painter.drawText(g.footer, Qt::AlignCenter,
                     QFontMetricsF(g.smallFont).elidedText(footer, Qt::ElideRight, g.footer.width()));
}
