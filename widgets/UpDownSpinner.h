#pragma once
// A spinner attached to a text box: its arrows step the number in the box by a step within
// a range. What the user types in the box is never bound by that range.
#include <QWidget>

class QLineEdit;
class QToolButton;

class UpDownSpinner : public QWidget {
    Q_OBJECT
public:
    UpDownSpinner(QLineEdit* buddy, double minimum, double maximum, double step,
                  QWidget* parent = nullptr);

    void StepUp();
    void StepDown();
    double Minimum() const { return minimum_; }
    double Maximum() const { return maximum_; }
    double Step() const { return step_; }
    QLineEdit* Buddy() const { return buddy_; }

private:
    void StepBy(double delta);

    QLineEdit* buddy_ = nullptr;
    double minimum_;
    double maximum_;
    double step_;
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
};
