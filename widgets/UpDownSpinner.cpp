#include "widgets/UpDownSpinner.h"

#include "registers/NumberText.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

UpDownSpinner::UpDownSpinner(QLineEdit* buddy, double minimum, double maximum, double step,
                             QWidget* parent)
    : QWidget(parent), buddy_(buddy), minimum_(minimum), maximum_(maximum), step_(step) {
    up_ = new QToolButton(this);
    down_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    up_->setObjectName("up");
    down_->setObjectName("down");
    for (QToolButton* b : {up_, down_}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
        b->setFixedWidth(16);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(up_);
    layout->addWidget(down_);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    if (buddy_) setFixedHeight(std::max(buddy_->sizeHint().height(), 22));
    connect(up_, &QToolButton::clicked, this, &UpDownSpinner::StepUp);
    connect(down_, &QToolButton::clicked, this, &UpDownSpinner::StepDown);
}

void UpDownSpinner::StepUp() { StepBy(step_); }
void UpDownSpinner::StepDown() { StepBy(-step_); }

void UpDownSpinner::StepBy(double delta) {
    if (!buddy_) return;
    double value = GeneralStuff::ParseNumber(buddy_->text().toStdString());
    if (!std::isfinite(value)) value = minimum_;
    // A value outside the range steps from the nearer end.
    value = std::clamp(value, minimum_, maximum_);
    const double next = std::clamp(value + delta, minimum_, maximum_);
    buddy_->setText(QString::fromStdString(GeneralStuff::TrimmedNumberText(next)));
}
