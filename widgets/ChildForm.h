#pragma once
// A child window of the frame: Form_Unload runs when it closes, and its designed outer size
// (in twips) is applied to the MDI sub-window that holds it.
#include <QWidget>

class ChildForm : public QWidget {
    Q_OBJECT
public:
    explicit ChildForm(QWidget* parent = nullptr);

    // The window's outer size in twips; applied now if the window already has its frame.
    void SetFormSizeTwips(double width, double height);
    // Applies the stored size to the sub-window (or to this widget when it stands alone).
    void ApplyFormSize();
    bool HasFormSize() const { return formWidthTwips_ > 0; }
    // The widget that is the window as the user sees it: the MDI sub-window, or this widget.
    QWidget* OuterWindow();
    // Outer width and height in twips, as the window now stands.
    double OuterWidthTwips();
    double OuterHeightTwips();
    // Fixed-size windows cannot be resized by the user.
    void SetFixedFormSize(bool fixed) { fixedSize_ = fixed; }
    bool FixedFormSize() const { return fixedSize_; }

signals:
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    virtual void Form_Unload() {}

private:
    double formWidthTwips_ = 0;
    double formHeightTwips_ = 0;
    bool fixedSize_ = true;
    bool unloaded_ = false;
};
