#include "windows/frmLimits.h"

#include "state/ChipLimits.h"
#include "state/GeneralStuff.h"
#include "board/USBStuff.h"
#include "chip/ChipFields.h"
#include "registers/NumberText.h"
#include "registers/RegMapStuff.h"
#include "registers/TemperatureCodes.h"
#include "widgets/IndicatorLamp.h"
#include "widgets/LinearGauge.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

#include <algorithm>

namespace {

using Pointer = LinearGauge::Pointer;

// One status bit per row, top to bottom: lamp index, label index, label text, bit mask.
struct StatusRow {
    int lamp;
    int label;
    const char* text;
    int mask;
};
constexpr StatusRow StatusRows[] = {
    {0, 0, "Local High", Chip::StatusBit::LocalHigh},   {1, 1, "Local  Low", Chip::StatusBit::LocalLow},
    {8, 8, "Local THERM", Chip::StatusBit::LocalTherm}, {2, 2, "Remote High", Chip::StatusBit::RemoteHigh},
    {3, 3, "Remote Low", Chip::StatusBit::RemoteLow},   {9, 9, "Remote THERM", Chip::StatusBit::RemoteTherm},
    {6, 4, "Remote Diode Open", Chip::StatusBit::DiodeOpen}};

constexpr double FormWidthTwips = 6270;
constexpr double FormHeightTwips = 5805;
constexpr double ScaleUpperEnd = 127;

void WriteChip(const Chip::Register& reg, int32_t data) {
    USBStuff::WriteRegister(USBStuff::DeviceAddress, reg.write, data);
}

// The scale keeps the lower end it had when the window opened, so after a change of the
// range bit a pointer can stand where no code reaches; encoded as it is, it would give a
// code outside 0..255 that reaches the chip as a wrapped byte. Such a value is written as
// the nearest limit the present range holds (whole degrees, or quarter degrees for the
// two-byte limits).
double RepresentableLimit(double value, const char* field) {
    const Chip::ValueRange range = Chip::FindField(field)->Range(RegMapStuff::ExtendedRange);
    return std::clamp(value, range.lowest, range.highest);
}
double OneByteLimit(double value) { return RepresentableLimit(value, "local-high"); }
double TwoByteLimit(double value) { return RepresentableLimit(value, "remote-high"); }
// The lowest limit the present range holds.
double LowestLimit() { return Chip::FindField("local-low")->Range(RegMapStuff::ExtendedRange).lowest; }

void SetPointers(LinearGauge* gauge, float low, float high, float therm) {
    gauge->SetPointerValue(Pointer::Low, low);
    gauge->SetPointerValue(Pointer::High, high);
    gauge->SetPointerValue(Pointer::Therm, therm);
}

QLabel* HeadingLabel(const char* name, const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

}  // namespace

frmLimits::frmLimits(QWidget* parent) : ChildForm(parent) {
    setObjectName(QStringLiteral("frmLimits"));
    setWindowTitle(QStringLiteral("Limits and Interrupts"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(BuildLimitsFrame(), 11);
    layout->addWidget(BuildStatusFrame(), 9);

    // Once a second, as the chart's limit lines do: the chip is shared with other programs.
    followLimits_.setInterval(1000);
    connect(&followLimits_, &QTimer::timeout, this, &frmLimits::FollowChipLimits);
    Form_Load();
}

QGroupBox* frmLimits::BuildLimitsFrame() {
    Frame1 = new QGroupBox(QStringLiteral("Set High/Low/THERM Limits"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* grid = new QGridLayout(Frame1);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);

    Label1 = HeadingLabel("Label1", "Local", Frame1);
    lblRem1_2 = HeadingLabel("lblRem1_2", "Remote", Frame1);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(lblRem1_2, 0, 1);
    for (int i = 0; i < 2; ++i) {
        auto* gauge = new LinearGauge(i, Frame1);
        gauge->setObjectName(QStringLiteral("ggeTemp_%1").arg(i));
        gauge->setToolTip(QStringLiteral("Drag the sliders to change the limits"));
        gauge->SetScaleRange(0, ScaleUpperEnd);
        connect(gauge, &LinearGauge::PointerMoved, this, &frmLimits::ggeTemp_PointerMoved);
        ggeTemp[i] = gauge;
        grid->addWidget(gauge, 1, i);
    }
    grid->setRowStretch(1, 1);
    return Frame1;
}

QGroupBox* frmLimits::BuildStatusFrame() {
    Frame2 = new QGroupBox(QStringLiteral("Status Bits"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto* grid = new QGridLayout(Frame2);
    grid->setContentsMargins(8, 6, 4, 6);
    grid->setHorizontalSpacing(8);
    int row = 0;
    for (const StatusRow& status : StatusRows) {
        auto* lamp = new IndicatorLamp(Frame2);
        lamp->setObjectName(QStringLiteral("tglAlert_%1").arg(status.lamp));
        lamp->setToolTip(QStringLiteral("Interrupt Status: Green=OK, Red=Bad, Invisible=Disabled"));
        tglAlert[status.lamp] = lamp;
        auto* label = new QLabel(QString::fromLatin1(status.text), Frame2);
        label->setObjectName(QStringLiteral("Label4_%1").arg(status.label));
        Label4[status.label] = label;
        grid->addWidget(lamp, row, 0, Qt::AlignCenter);
        grid->addWidget(label, row, 1);
        grid->setRowStretch(row, 1);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    return Frame2;
}

void frmLimits::Form_Load() {
    SetFormSizeTwips(FormWidthTwips, FormHeightTwips);
    for (LinearGauge* gauge : ggeTemp) {
        gauge->SetScaleRange(LowestLimit(), gauge->UpperEnd());
    }
    RefreshLimits(0);
    RefreshLimits(1);
    GeneralStuff::LimitsOpen = true;
    followLimits_.start();
}

void frmLimits::Form_Unload() {
    followLimits_.stop();
    GeneralStuff::LimitsOpen = false;
}

void frmLimits::FollowChipLimits() {
    if (!GeneralStuff::LimitsOpen || ggeTemp[0]->Dragging() || ggeTemp[1]->Dragging()) return;
    RefreshLimits(0);
    RefreshLimits(1);
}

void frmLimits::RefreshLimits(int16_t channel) {
    if (const auto limits = GeneralStuff::ReadChannelLimits(channel)) {
        SetPointers(ggeTemp[channel], limits->low, limits->high, limits->therm);
    }
}

void frmLimits::ggeTemp_PointerMoved(int index) {
    using GeneralStuff::CodeFromTemp;
    using GeneralStuff::CodesFromTemp;
    namespace Reg = Chip::Reg;
    if (index == 0) {
        const LinearGauge* gauge = ggeTemp[0];
        WriteChip(Reg::LocalLow, CodeFromTemp(static_cast<float>(OneByteLimit(gauge->PointerValue(Pointer::Low)))));
        WriteChip(Reg::LocalHigh, CodeFromTemp(static_cast<float>(OneByteLimit(gauge->PointerValue(Pointer::High)))));
        WriteChip(Reg::LocalTherm, CodeFromTemp(OneByteLimit(gauge->PointerValue(Pointer::Therm))));
    } else if (index == 1) {
        const LinearGauge* gauge = ggeTemp[1];
        const GeneralStuff::CodePair low = CodesFromTemp(TwoByteLimit(gauge->PointerValue(Pointer::Low)));
        WriteChip(Reg::RemoteLowHigh, low.high);
        WriteChip(Reg::RemoteLowLow, low.low);
        const GeneralStuff::CodePair high = CodesFromTemp(TwoByteLimit(gauge->PointerValue(Pointer::High)));
        WriteChip(Reg::RemoteHighHigh, high.high);
        WriteChip(Reg::RemoteHighLow, high.low);
        WriteChip(Reg::RemoteTherm, CodeFromTemp(OneByteLimit(gauge->PointerValue(Pointer::Therm))));
    }
    RefreshLimits(0);
    RefreshLimits(1);
}

void frmLimits::UpdateAlertStatus() {
    // The status read reports no failure; the lamps show whatever byte it leaves.
    const int32_t status = USBStuff::ReadStatusRegister();
    for (const StatusRow& row : StatusRows) {
        tglAlert[row.lamp]->SetOn((status & row.mask) == row.mask);
    }
}

void frmLimits::UpdateGauges() {
    for (int i = 0; i < 2; ++i) {
        const float temperature = GeneralStuff::Temperature[i];
        ggeTemp[i]->SetValue(temperature);
        ggeTemp[i]->SetCaption(QString::fromStdString(GeneralStuff::NumberText(temperature)) +
                               QStringLiteral("\u00B0C"));
    }
}
