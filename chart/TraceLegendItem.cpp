#include "chart/TraceLegendItem.h"

#include <algorithm>

TraceLegendItem::TraceLegendItem(QCPLegend* legend, QCPGraph* graph) : QCPAbstractLegendItem(legend), graph_(graph) {
    caption_.setTextFormat(Qt::PlainText);
    caption_.setPerformanceHint(QStaticText::AggressiveCaching);
}

const QStaticText& TraceLegendItem::Caption() const {
    if (graph_->name() != laidOut_ || captionSize_.isEmpty()) {
        laidOut_ = graph_->name();
        caption_.setText(laidOut_);
        caption_.prepare(QTransform(), mFont);
        const QSize icon = mParentLegend->iconSize();
        captionSize_ = QFontMetrics(mFont).boundingRect(0, 0, 0, icon.height(), Qt::TextDontClip, laidOut_).size();
    }
    return caption_;
}

QSize TraceLegendItem::minimumOuterSizeHint() const {
    Caption();
    const QSize icon = mParentLegend->iconSize();
    return {icon.width() + mParentLegend->iconTextPadding() + captionSize_.width() + mMargins.left() + mMargins.right(),
            std::max(captionSize_.height(), icon.height()) + mMargins.top() + mMargins.bottom()};
}

void TraceLegendItem::draw(QCPPainter* painter) {
    const QSize icon = mParentLegend->iconSize();
    painter->setFont(mFont);
    painter->setPen(QPen(mTextColor));
    painter->drawStaticText(mRect.x() + icon.width() + mParentLegend->iconTextPadding(), mRect.y(), Caption());
    // The trace's line through the middle of the icon, as the graph draws its own.
    const QRectF iconRect(mRect.topLeft(), icon);
    painter->save();
    painter->setClipRect(iconRect, Qt::IntersectClip);
    applyAntialiasingHint(painter, graph_->antialiased(), QCP::aePlottables);
    painter->setPen(graph_->pen());
    const double middle = iconRect.top() + iconRect.height() / 2.0;
    painter->drawLine(QLineF(iconRect.left(), middle, iconRect.right() + 5, middle));
    painter->restore();
}
