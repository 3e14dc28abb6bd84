#include "windows/frmConfig.h"

#include "state/GeneralStuff.h"
#include "board/USBStuff.h"
#include "chip/ChipFields.h"
#include "registers/NumberText.h"
#include "registers/TemperatureCodes.h"
#include "widgets/UpDownSpinner.h"
#include "widgets/Prompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

namespace Reg = Chip::Reg;
namespace ConfigBit = Chip::ConfigBit;

constexpr Chip::ValueRange OffsetRange = Chip::FindField("remote-offset")->normal;
constexpr Chip::ValueRange HysteresisRange = Chip::FindField("therm-hysteresis")->normal;

// "0.0625 (16 sec)" to "64 (15.63 ms)", by rate code. The caption of 0.25 per second has
// always carried two blanks, and keeps them.
QStringList RateCaptions() {
    QStringList captions;
    for (const double perSecond : Chip::ConversionRates) {
        const double period = 1 / perSecond;
        const QString every = period >= 1 ? QString::number(period) + " sec"
                                          : QString::number(std::round(period * 100000) / 100) + " ms";
        captions << QString::number(perSecond) + (perSecond == 0.25 ? "  (" : " (") + every + ")";
    }
    return captions;
}

int16_t Read(const Chip::Register& reg) { return USBStuff::ReadRegister(USBStuff::DeviceAddress, reg.read); }

void Write(const Chip::Register& reg, int32_t data) { USBStuff::WriteRegister(USBStuff::DeviceAddress, reg.write, data); }

int32_t WithBit(int32_t value, int32_t mask, bool set) { return set ? (value | mask) : (value & ~mask); }

QString Text(const std::string& s) { return QString::fromStdString(s); }

// A text box with its spinner to the right, under a heading.
QWidget* SpinnerRow(QLineEdit* box, UpDownSpinner* spinner, QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    box->setFixedWidth(90);
    layout->addWidget(box);
    layout->addWidget(spinner);
    layout->addStretch(1);
    return row;
}

}  // namespace

frmConfig::frmConfig(QWidget* parent) : ChildForm(parent) {
    setObjectName("frmConfig");
    setWindowTitle("Configuration");
    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(9, 9, 9, 9);
    main->addWidget(BuildSettingsFrame(), 1);
    main->addLayout(BuildButtonRow());

    connect(cmdApply, &QPushButton::clicked, this, &frmConfig::cmdApply_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmConfig::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmConfig::cmdCancel_Click);
    Form_Load();
}

QGroupBox* frmConfig::BuildSettingsFrame() {
    Frame1 = new QGroupBox("Device  Settings", this);
    Frame1->setObjectName("Frame1");

    chkMaskAll = new QCheckBox("Mask ALERT pin", Frame1);
    chkStandby = new QCheckBox("Enable Standby", Frame1);
    chkExtRange = new QCheckBox("Enable  Extended Temp  Range", Frame1);
    Label1 = new QLabel("Pin6 Function", Frame1);
    cmbPin6 = new QComboBox(Frame1);
    cmbPin6->addItems({"ALERT", "THERM2"});
    Label4 = new QLabel("Conversion Rate (/sec)", Frame1);
    cmbConvRate = new QComboBox(Frame1);
    cmbConvRate->addItems(RateCaptions());
    Label2[0] = new QLabel("THERM Hysteresis", Frame1);
    Label2[1] = new QLabel("Remote Temp Offset", Frame1);
    txtOffset = new QLineEdit(Frame1);
    UpDown2 = new UpDownSpinner(txtOffset, -128, 127, 1, Frame1);
    txtTHERMHyst = new QLineEdit(Frame1);
    UpDown1 = new UpDownSpinner(txtTHERMHyst, 0, 100, 1, Frame1);

    chkMaskAll->setObjectName("chkMaskAll");
    chkStandby->setObjectName("chkStandby");
    chkExtRange->setObjectName("chkExtRange");
    Label1->setObjectName("Label1");
    cmbPin6->setObjectName("cmbPin6");
    Label4->setObjectName("Label4");
    cmbConvRate->setObjectName("cmbConvRate");
    Label2[0]->setObjectName("Label2_0");
    Label2[1]->setObjectName("Label2_1");
    txtOffset->setObjectName("txtOffset");
    UpDown2->setObjectName("UpDown2");
    txtTHERMHyst->setObjectName("txtTHERMHyst");
    UpDown1->setObjectName("UpDown1");
    txtOffset->setToolTip("Degrees, -128 to 127.75 in steps of 0.25");
    txtTHERMHyst->setToolTip("Degrees, 0 to 255");

    // Two columns whose headings and controls line up row by row; the free height goes
    // between the groups so each heading stays with its control.
    auto* grid = new QGridLayout(Frame1);
    grid->setContentsMargins(12, 8, 12, 8);
    grid->setHorizontalSpacing(24);
    grid->setVerticalSpacing(4);
    grid->addWidget(chkMaskAll, 0, 0);
    grid->addWidget(chkExtRange, 0, 1);
    grid->addWidget(chkStandby, 1, 0);
    grid->setRowStretch(2, 1);
    grid->addWidget(Label1, 3, 0);
    grid->addWidget(Label2[1], 3, 1);
    grid->addWidget(cmbPin6, 4, 0);
    grid->addWidget(SpinnerRow(txtOffset, UpDown2, Frame1), 4, 1);
    grid->setRowStretch(5, 1);
    grid->addWidget(Label4, 6, 0);
    grid->addWidget(Label2[0], 6, 1);
    grid->addWidget(cmbConvRate, 7, 0);
    grid->addWidget(SpinnerRow(txtTHERMHyst, UpDown1, Frame1), 7, 1);
    grid->setRowStretch(8, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    return Frame1;
}

QLayout* frmConfig::BuildButtonRow() {
    cmdOK = new QPushButton("OK", this);
    cmdCancel = new QPushButton("Cancel", this);
    cmdApply = new QPushButton("Apply", this);
    cmdOK->setObjectName("cmdOK");
    cmdCancel->setObjectName("cmdCancel");
    cmdApply->setObjectName("cmdApply");
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(cmdOK);
    row->addWidget(cmdCancel);
    row->addWidget(cmdApply);
    return row;
}

void frmConfig::Form_Load() {
    SetFormSizeTwips(6960, 5340);
    const int32_t configuration = Read(Reg::Configuration);
    chkMaskAll->setChecked(configuration & ConfigBit::MaskAlert);
    chkStandby->setChecked(configuration & ConfigBit::Standby);
    chkExtRange->setChecked(configuration & ConfigBit::ExtendedRange);
    cmbPin6->setCurrentIndex((configuration & ConfigBit::AlertIsTherm) ? 1 : 0);

    // Codes 11 to 15 have no item: the list then shows no selection.
    const int rateCode = Read(Reg::ConversionRate) & Chip::ConversionRateCodeMask;
    cmbConvRate->setCurrentIndex(rateCode < cmbConvRate->count() ? rateCode : -1);

    txtTHERMHyst->setText(Text(GeneralStuff::TrimmedNumberText(static_cast<int>(Read(Reg::ThermHysteresis)))));
    const int16_t low = Read(Reg::RemoteOffsetLow);
    const int16_t high = Read(Reg::RemoteOffsetHigh);
    txtOffset->setText(Text(GeneralStuff::TrimmedNumberText(GeneralStuff::OffsetFromCodes(high, low))));
}

void frmConfig::cmdApply_Click() { Apply(); }

void frmConfig::cmdOK_Click() {
    // A refused setting keeps the window open so the user's other changes are not lost.
    if (Apply()) OuterWindow()->close();
}

void frmConfig::cmdCancel_Click() { OuterWindow()->close(); }

bool frmConfig::Apply() {
    // Everything typed is checked before the first write, so a refusal leaves the chip as it was.
    const std::optional<int> hysteresis = HysteresisOrRefuse();
    if (!hysteresis) return false;
    const std::optional<double> offset = OffsetOrRefuse();
    if (!offset) return false;

    // Bits 4, 3, 1 and 0 belong to no control and are written back as read.
    int32_t configuration = Read(Reg::Configuration);
    configuration = WithBit(configuration, ConfigBit::MaskAlert, chkMaskAll->isChecked());
    configuration = WithBit(configuration, ConfigBit::Standby, chkStandby->isChecked());
    configuration = WithBit(configuration, ConfigBit::ExtendedRange, chkExtRange->isChecked());
    configuration = WithBit(configuration, ConfigBit::AlertIsTherm, cmbPin6->currentText() != cmbPin6->itemText(0));
    Write(Reg::Configuration, configuration);

    const int32_t rate = Read(Reg::ConversionRate);
    int code = cmbConvRate->findText(cmbConvRate->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (code < 0) code = cmbConvRate->count();
    // The bits above the rate code are written back as read.
    Write(Reg::ConversionRate, (rate & ~Chip::ConversionRateCodeMask) | code);

    Write(Reg::ThermHysteresis, *hysteresis);

    const GeneralStuff::CodePair codes = GeneralStuff::CodesFromOffset(*offset);
    Write(Reg::RemoteOffsetHigh, codes.high);
    Write(Reg::RemoteOffsetLow, codes.low);
    return true;
}

std::optional<int> frmConfig::HysteresisOrRefuse() {
    const double value = GeneralStuff::ParseNumber(txtTHERMHyst->text().toStdString());
    if (GeneralStuff::FitsInt32(value)) {
        const int32_t degrees = GeneralStuff::Nearest(value);
        if (degrees >= HysteresisRange.lowest && degrees <= HysteresisRange.highest) return degrees;
    }
    ShowWarning(this, "The THERM Hysteresis must be from 0 to 255 degrees.\nNothing was written.");
    return std::nullopt;
}

std::optional<double> frmConfig::OffsetOrRefuse() {
    const double value = GeneralStuff::ParseNumber(txtOffset->text().toStdString());
    if (value >= OffsetRange.lowest && value <= OffsetRange.highest) return value;
    ShowWarning(this, "The Remote Temp Offset must be from -128 to 127.75 degrees.\nNothing was written.");
    return std::nullopt;
}
