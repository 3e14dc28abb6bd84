#include "widgets/ChildForm.h"

#include "widgets/Twips.h"

#include <QCloseEvent>
#include <QMdiSubWindow>

ChildForm::ChildForm(QWidget* parent) : QWidget(parent) {}

void ChildForm::SetFormSizeTwips(double width, double height) {
    formWidthTwips_ = width;
    formHeightTwips_ = height;
    ApplyFormSize();
}

QWidget* ChildForm::OuterWindow() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) return sub;
    return this;
}

void ChildForm::ApplyFormSize() {
    if (!HasFormSize()) return;
    QWidget* outer = OuterWindow();
    const QSize size = TwipsToPixels(formWidthTwips_, formHeightTwips_);
    if (outer != this) {
        // A size applied while the form still stood alone (Form_Load runs in the constructor)
        // must not pin the form inside its sub-window, whose frame takes part of that size.
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    if (fixedSize_) {
        outer->setFixedSize(size);
    } else {
        outer->resize(size);
    }
}

double ChildForm::OuterWidthTwips() { return PixelsToTwipsX(OuterWindow()->width()); }
double ChildForm::OuterHeightTwips() { return PixelsToTwipsY(OuterWindow()->height()); }

void ChildForm::closeEvent(QCloseEvent* event) {
    if (!unloaded_) {
        unloaded_ = true;
        Form_Unload();
        emit unloaded();
    }
    QWidget::closeEvent(event);
}
