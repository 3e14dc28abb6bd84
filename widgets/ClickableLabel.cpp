#include "widgets/ClickableLabel.h"

#include <QMouseEvent>
#include <utility>

void ClickableLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double-click: its release is not a click of its own.
    releaseOfDoubleClick_ = event->button() == Qt::LeftButton;
    QLabel::mouseDoubleClickEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool secondOfDouble = std::exchange(releaseOfDoubleClick_, false);
    // A press dragged off the label before release is not a click.
    if (!secondOfDouble && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}
