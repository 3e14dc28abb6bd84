#pragma once
// A text item that keeps its picture: laying out and shaping text costs far more than drawing
// the chart's lines, and the overlays' boxes change less often than the chart redraws, so the
// box is drawn into a pixmap when its text or look changes and copied from there otherwise.
// Placed, aligned and styled as QCPItemText (rotation is not supported).
#include <qcustomplot.h>

class OverlayText : public QCPItemText {
public:
    explicit OverlayText(QCustomPlot* plot) : QCPItemText(plot) {}

    // The size of the box as it would be drawn with the present text, pen and padding.
    QSize BoxSize() const;

protected:
    void draw(QCPPainter* painter) override;

private:
    // What the picture was drawn from.
    struct Look {
        QString text;
        QFont font;
        QColor color;
        QPen pen;
        QBrush brush;
        QMargins padding;
        Qt::Alignment alignment;
        qreal pixelRatio = 0;
        bool operator==(const Look& other) const {
            return text == other.text && font == other.font && color == other.color && pen == other.pen &&
                   brush == other.brush && padding == other.padding && alignment == other.alignment &&
                   pixelRatio == other.pixelRatio;
        }
    };
    void Render(const Look& look);

    Look drawn_;
    QPixmap picture_;
    QRect box_;   // the box within the picture
};
