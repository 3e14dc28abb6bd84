#pragma once
// A vertical temperature gauge: a scale, a bar rising from the scale's lower end to the
// present value, a caption, and three limit pointers (low, high, THERM) that the user drags
// with the mouse or moves with the keyboard. Only user moves raise PointerMoved.
#include <QString>
#include <QWidget>

#include <array>
#include <optional>

class LinearGauge : public QWidget {
    Q_OBJECT
public:
    enum class Pointer { Low = 0, High = 1, Therm = 2 };
    static constexpr int PointerCount = 3;

    // Degrees one arrow key (and one page key) moves the selected pointer.
    static constexpr double KeyStep = 1.0;
    static constexpr double PageStep = 5.0;
    // A dragged pointer lands on a quarter degree, the finest step the chip keeps.
    static constexpr double DragResolution = 0.25;

    // gaugeIndex is what PointerMoved reports, so one handler can serve several gauges.
    explicit LinearGauge(int gaugeIndex, QWidget* parent = nullptr);

    int GaugeIndex() const { return gaugeIndex_; }

    // The scale runs from lower (bottom, where the bar starts) to upper; lower < upper.
    void SetScaleRange(double lower, double upper);
    double LowerEnd() const { return lower_; }
    double UpperEnd() const { return upper_; }

    // The present value, shown as the bar (drawn clamped to the scale).
    void SetValue(double value);
    double Value() const { return value_; }

    void SetCaption(const QString& caption);
    QString Caption() const { return caption_; }

    // A value set here is kept as given, so it can be written back unchanged; one outside
    // the scale is drawn at the scale's end. The user can only move pointers within the scale.
    void SetPointerValue(Pointer which, double value);
    double PointerValue(Pointer which) const;

    // True while the user holds a pointer with the mouse.
    bool Dragging() const { return dragged_.has_value(); }

    // The pointer the keyboard moves.
    Pointer SelectedPointer() const { return selected_; }
    void SelectPointer(Pointer which);

    static QString PointerName(Pointer which);
    // Where the mouse grabs a pointer, in widget coordinates.
    QPoint PointerHandleCentre(Pointer which) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void PointerMoved(int gaugeIndex);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    struct Geometry;
    Geometry Measure() const;
    double YOf(double value, const Geometry& g) const;
    double ValueAtY(double y, const Geometry& g) const;
    QRectF HandleRect(Pointer which, const Geometry& g) const;
    std::optional<Pointer> PointerAt(const QPointF& pos) const;
    double ClampToScale(double value) const;
    void MoveSelectedBy(double delta);
    void DragTo(double y);

    void DrawScale(QPainter& painter, const Geometry& g) const;
    void DrawBar(QPainter& painter, const Geometry& g) const;
    void DrawPointers(QPainter& painter, const Geometry& g) const;
    void DrawCaption(QPainter& painter, const Geometry& g) const;

    int gaugeIndex_;
    double lower_ = 0.0;
    double upper_ = 127.0;
    double value_ = 0.0;
    QString caption_;
    std::array<double, PointerCount> pointers_{};
    Pointer selected_ = Pointer::Low;

    std::optional<Pointer> dragged_;
    bool dragMoved_ = false;
    double dragPressY_ = 0.0;
    double dragGrabOffset_ = 0.0;   // pixels between the grab point and the pointer
    double dragStartValue_ = 0.0;
};
