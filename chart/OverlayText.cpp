#include "chart/OverlayText.h"

#include <QPainter>
#include <cmath>

void OverlayText::draw(QCPPainter* painter) {
    const Look look{text(),  mainFont(), mainColor(), mainPen(), mainBrush(), padding(), textAlignment(),
                     parentPlot()->bufferDevicePixelRatio()};
    if (!(look == drawn_)) Render(look);
    const QPointF boxAt = getTextDrawPoint(position->pixelPosition(), box_, positionAlignment());
    painter->drawPixmap(QPointF(std::round(boxAt.x()), std::round(boxAt.y())) - QPointF(box_.topLeft()), picture_);
}

namespace {
QSize TextBoxSize(const QFont& font, Qt::Alignment alignment, const QString& text, const QMargins& padding) {
    return QFontMetrics(font).boundingRect(0, 0, 0, 0, Qt::TextDontClip | alignment, text).size().grownBy(padding);
}
int EdgeWidth(const QPen& pen) { return static_cast<int>(std::ceil(pen.style() == Qt::NoPen ? 0 : pen.widthF())); }
}  // namespace

QSize OverlayText::BoxSize() const { return TextBoxSize(font(), textAlignment(), text(), padding()); }

void OverlayText::Render(const Look& look) {
    drawn_ = look;
    const int edge = EdgeWidth(look.pen);
    const QSize boxSize = TextBoxSize(look.font, look.alignment, look.text, look.padding);
    box_ = QRect(QPoint(edge, edge), boxSize);
    picture_ = QPixmap((boxSize + QSize(2 * edge, 2 * edge)) * look.pixelRatio);
    picture_.setDevicePixelRatio(look.pixelRatio);
    picture_.fill(Qt::transparent);
    QPainter paint(&picture_);
    paint.setPen(look.pen);
    paint.setBrush(look.brush);
    paint.drawRect(box_.adjusted(0, 0, -1, -1));
    paint.setFont(look.font);
    paint.setPen(look.color);
    paint.drawText(box_.marginsRemoved(look.padding), Qt::TextDontClip | look.alignment, look.text);
}
