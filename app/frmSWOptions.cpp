#include "app/frmSWOptions.h"

#include "state/GeneralStuff.h"
#include "registers/NumberText.h"
#include "registers/TemperatureCodes.h"
#include "widgets/UpDownSpinner.h"
#include "widgets/WrappingCheckBox.h"
#include "widgets/Prompts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>

using namespace GeneralStuff;

namespace {

QString IntervalText(int value) { return QString::fromStdString(TrimmedNumberText(value)); }

// The typed interval, rounded; none when it does not fit the setting's range.
std::optional<int32_t> ParseInterval(const QLineEdit* box, bool sixteenBit) {
    const double value = ParseNumber(box->text().toStdString());
    if (sixteenBit ? !FitsInt16(value) : !FitsInt32(value)) return std::nullopt;
    return Nearest(value);
}

}  // namespace

frmSWOptions::frmSWOptions(QWidget* parent) : ChildForm(parent) {
    setObjectName("frmSWOptions");
    setWindowTitle("Options");

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName("Frame1");
    // The caption is long for the frame: it wraps over two lines.
    chkMonitoring = new WrappingCheckBox("Enable continuous reading (graphing, interrupts data logging)", Frame1);
    chkMonitoring->setObjectName("chkMonitoring");

    auto makeRow = [this](const char* labelName, const char* caption, const char* boxName, const char* spinName,
                          double min, QLabel*& label, QLineEdit*& box, UpDownSpinner*& spin) {
        label = new QLabel(caption, Frame1);
        label->setObjectName(labelName);
        box = new QLineEdit(Frame1);
        box->setObjectName(boxName);
        box->setFixedWidth(60);
        spin = new UpDownSpinner(box, min, 10000, 10, Frame1);
        spin->setObjectName(spinName);
    };
    makeRow("Label1", "Reading Interval (ms)", "txtReadInt", "UpDown1", 10, Label1, txtReadInt, UpDown1);
    makeRow("Label2", "Graphing Interval (ms)", "txtGraphing", "UpDown2", 10, Label2, txtGraphing, UpDown2);
    makeRow("Label3", "Logging Interval (ms)", "txtLogging", "UpDown3", 50, Label3, txtLogging, UpDown3);

    auto* frameLayout = new QGridLayout(Frame1);
    frameLayout->setContentsMargins(24, 14, 24, 14);
    frameLayout->setVerticalSpacing(14);
    frameLayout->addWidget(chkMonitoring, 0, 0, 1, 3);
    int row = 1;
    for (auto [label, box, spin] : {std::tuple{Label1, txtReadInt, UpDown1}, std::tuple{Label2, txtGraphing, UpDown2},
                                    std::tuple{Label3, txtLogging, UpDown3}}) {
        frameLayout->addWidget(label, row, 0);
        auto* boxRow = new QHBoxLayout;
        boxRow->setSpacing(0);
        boxRow->addWidget(box);
        boxRow->addWidget(spin);
        boxRow->addStretch();
        frameLayout->addLayout(boxRow, row, 1);
        ++row;
    }
    frameLayout->setColumnStretch(2, 1);

    cmdCancel = new QPushButton("Close", this);
    cmdCancel->setObjectName("cmdCancel");
    cmdApply = new QPushButton("Apply", this);
    cmdApply->setObjectName("cmdApply");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdApply);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addWidget(Frame1, 1);
    layout->addLayout(buttons);

    setTabOrder(chkMonitoring, txtReadInt);
    setTabOrder(txtReadInt, txtGraphing);
    setTabOrder(txtGraphing, txtLogging);
    setTabOrder(txtLogging, cmdCancel);
    setTabOrder(cmdCancel, cmdApply);

    connect(cmdApply, &QPushButton::clicked, this, &frmSWOptions::cmdApply_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSWOptions::cmdCancel_Click);
    Form_Load();
}

void frmSWOptions::Form_Load() {
    SetFormSizeTwips(4800, 4455);
    chkMonitoring->setChecked(MonitoringEnabled);
    txtGraphing->setText(IntervalText(GraphInterval));
    txtLogging->setText(IntervalText(LogInterval));
    txtReadInt->setText(IntervalText(ReadInterval));
}

void frmSWOptions::cmdApply_Click() {
    // Every value is checked before any is taken, so Apply changes all settings or none.
    struct Field {
        const QLineEdit* box;
        const char* name;
        bool sixteenBit;
        std::optional<int32_t> value;
    };
    Field fields[] = {{txtReadInt, "Reading Interval (ms)", false, {}},
                      {txtLogging, "Logging Interval (ms)", false, {}},
                      {txtGraphing, "Graphing Interval (ms)", true, {}}};
    for (Field& field : fields) {
        field.value = ParseInterval(field.box, field.sixteenBit);
        if (!field.value) {
            ShowWarning(this, QStringLiteral("%1: the value must lie from %2 to %3. No setting was changed.")
                                  .arg(field.name)
                                  .arg(field.sixteenBit ? INT16_MIN : INT32_MIN)
                                  .arg(field.sixteenBit ? INT16_MAX : INT32_MAX));
            return;
        }
    }
    MonitoringEnabled = chkMonitoring->isChecked();
    ReadInterval = *fields[0].value;
    LogInterval = *fields[1].value;
    GraphInterval = static_cast<int16_t>(*fields[2].value);
}

void frmSWOptions::cmdCancel_Click() { OuterWindow()->close(); }
