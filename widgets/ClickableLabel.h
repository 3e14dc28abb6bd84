#pragma once
// A label that reports a left-button click, for displays whose text the user clicks on.
// A double-click counts as one click, not two.
#include <QLabel>

class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool releaseOfDoubleClick_ = false;
};
