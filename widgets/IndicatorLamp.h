#pragma once
// A round two-state lamp: off is drawn green (all well), on is drawn red (alarm).
#include <QColor>
#include <QWidget>

class IndicatorLamp : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool on READ IsOn WRITE SetOn NOTIFY onChanged)
public:
    explicit IndicatorLamp(QWidget* parent = nullptr);

    bool IsOn() const { return on_; }
    void SetOn(bool on);
    // The colour the lamp is drawn in now.
    QColor LampColor() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    static const QColor OffColor;
    static const QColor OnColor;

signals:
    void onChanged(bool on);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool on_ = false;
};
