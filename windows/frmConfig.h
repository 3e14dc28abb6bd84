#pragma once
// The general configuration window: the chip's Configuration bits that the user may change,
// the conversion rate, the THERM hysteresis and the remote offset. It reads the chip when it
// opens and writes only on Apply or OK.
#include "widgets/ChildForm.h"

#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class UpDownSpinner;

class frmConfig : public ChildForm {
    Q_OBJECT
public:
    explicit frmConfig(QWidget* parent = nullptr);

    QGroupBox* Frame1 = nullptr;
    QCheckBox* chkMaskAll = nullptr;
    QCheckBox* chkStandby = nullptr;
    QCheckBox* chkExtRange = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* cmbPin6 = nullptr;
    QLabel* Label4 = nullptr;
    QComboBox* cmbConvRate = nullptr;   // item index = rate code
    std::array<QLabel*, 2> Label2{};    // 0 "THERM Hysteresis", 1 "Remote Temp Offset"
    QLineEdit* txtOffset = nullptr;
    UpDownSpinner* UpDown2 = nullptr;
    QLineEdit* txtTHERMHyst = nullptr;
    UpDownSpinner* UpDown1 = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdApply = nullptr;

    void cmdApply_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

private:
    void Form_Load();
    QGroupBox* BuildSettingsFrame();
    QLayout* BuildButtonRow();

    // Writes every setting; false when typed input was refused and nothing was written.
    bool Apply();
    std::optional<int> HysteresisOrRefuse();
    std::optional<double> OffsetOrRefuse();
};
