#pragma once
// The limits and interrupts window: the chip's seven alarm status bits as lamps, and the six
// temperature limits as pointers on a local and a remote gauge. Dragging a pointer writes the
// channel's limits and reads every limit back, so the pointers show what the chip holds.
#include "widgets/ChildForm.h"

#include <QTimer>

#include <array>
#include <cstdint>

class IndicatorLamp;
class LinearGauge;
class QGroupBox;
class QLabel;

class frmLimits : public ChildForm {
    Q_OBJECT
public:
    explicit frmLimits(QWidget* parent = nullptr);

    void Form_Load();
    // channel 0 local, 1 remote: reads the channel's limit registers into its gauge's pointers.
    void RefreshLimits(int16_t channel);
    // index 0 local, 1 remote: writes all limits of that gauge's channel, then re-reads both.
    void ggeTemp_PointerMoved(int index);
    // Reads the Status register and sets the seven lamps.
    void UpdateAlertStatus();
    // Shows the last local and remote temperatures as the gauges' bars and captions.
    void UpdateGauges();
    // Reads every limit into the pointers, unless the user holds one: another program on the
    // same chip (kts9320b-cli set) may have changed them.
    void FollowChipLimits();

    QGroupBox* Frame1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lblRem1_2 = nullptr;
    std::array<LinearGauge*, 2> ggeTemp{};
    QGroupBox* Frame2 = nullptr;
    // The two arrays keep their indices with gaps: lamps 0..3, 6, 8, 9 and labels 0..4, 8, 9.
    std::array<IndicatorLamp*, 10> tglAlert{};
    std::array<QLabel*, 10> Label4{};

protected:
    void Form_Unload() override;

private:
    QTimer followLimits_;
    QGroupBox* BuildLimitsFrame();
    QGroupBox* BuildStatusFrame();
};
