#pragma once
// The data logging window: choose the channels and the interval, start and stop logging.
#include "widgets/ChildForm.h"

#include <array>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class UpDownSpinner;

class frmLogging : public ChildForm {
    Q_OBJECT
public:
    explicit frmLogging(QWidget* parent = nullptr);

    void Form_Load();
    void cmdLogData_Click();
    void cmdClose_Click();

    // The file dialog (an empty name when cancelled); tests replace it.
    std::function<QString()> chooseLogFile;

    QGroupBox* Frame1 = nullptr;
    std::array<QCheckBox*, 2> chkLog{};
    QLabel* Label1 = nullptr;
    QLineEdit* txtLogInt = nullptr;
    UpDownSpinner* UpDown1 = nullptr;
    QPushButton* cmdLogData = nullptr;
    QPushButton* cmdClose = nullptr;

private:
    void BuildControls();
    void StartLogging();
    void StopLogging();
    void ShowLoggingState();
};
