#include "windows/ChildForm.h"

#include "windows/Twips.h"

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
