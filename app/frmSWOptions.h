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

    QGroupBox* Frame1 = nullptr;
    QCheckBox* chkMonitoring = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* txtReadInt = nullptr;
    UpDownSpinner* UpDown1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* txtGraphing = nullptr;
    UpDownSpinner* UpDown2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* txtLogging = nullptr;
    UpDownSpinner* UpDown3 = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdApply = nullptr;

    // Shows a refusal of typed input; a message box unless a test replaced it.

private:
    void Form_Load();
};
