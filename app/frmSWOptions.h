#pragma once
// The software options: continuous reading and the reading, graphing and logging intervals.
#include "widgets/ChildForm.h"

#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class UpDownSpinner;

class frmSWOptions : public ChildForm {
    Q_OBJECT
public:
    explicit frmSWOptions(QWidget* parent = nullptr);

    void cmdApply_Click();
    void cmdCancel_Click();

    QGroupBox* Frame1;
    QCheckBox* chkMonitoring;
    QLabel* Label1;
    QLineEdit* txtReadInt;
    UpDownSpinner* UpDown1;
    QLabel* Label2;
    QLineEdit* txtGraphing;
    UpDownSpinner* UpDown2;
    QLabel* Label3;
    QLineEdit* txtLogging;
    UpDownSpinner* UpDown3;
    QPushButton* cmdCancel;
    QPushButton* cmdApply;

    // Shows a refusal of typed input; a message box unless a test replaced it.

private:
    void Form_Load();
};
