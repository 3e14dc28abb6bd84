#include "output/frmGraph.h"

#include "state/ChipLimits.h"
#include "state/Clock.h"
#include "state/GeneralStuff.h"
#include "board/USBStuff.h"
#include "chart/ChartInstrument.h"
#include "chart/StripChart.h"
#include "chip/ChipRegisters.h"
#include "registers/NumberText.h"
#include "registers/RegMapStuff.h"
#include "widgets/Twips.h"

#include <QPushButton>
#include <algorithm>

namespace {

enum Trace { LocalTrace = 0, RemoteTrace = 1, TraceCount = 2 };

const QString DegreesCelsius = QStringLiteral("°C");

// The chip's limits of both channels, each channel on its own trace.
std::vector<LimitLine> ChipLimitLines() {
    std::vector<LimitLine> lines;
    // After a board failure nothing may ask the chip again.
    if (USBStuff::FailureReported()) return lines;
    for (const int16_t channel : {LocalTrace, RemoteTrace}) {
        if (const auto limits = GeneralStuff::ReadChannelLimits(channel)) {
            lines.push_back({channel, QStringLiteral("High"), limits->high});
            lines.push_back({channel, QStringLiteral("Low"), limits->low});
            lines.push_back({channel, QStringLiteral("THERM"), limits->therm});
        }
    }
    return lines;
}

}  // namespace

frmGraph::frmGraph(QWidget* parent) : ChildForm(parent) {
    setObjectName("frmGraph");
    setWindowTitle("Graphing");

    stpGraph = new StripChart(TraceCount, this);
    stpGraph->setObjectName("stpGraph");
    stpGraph->setToolTip("Drag the arrows at the edges of this graph to zoom in and out");
    stpGraph->yAxis->setLabel("Temperature (" + DegreesCelsius + ")");
    stpGraph->SetTraceCaption(LocalTrace, "Local");
    stpGraph->SetTraceCaption(RemoteTrace, "Remote1");
    stpGraph->Instrument().SetTraceNames({"Local", "Remote1"}, DegreesCelsius);
    stpGraph->Instrument().SetDifference(RemoteTrace, LocalTrace);
    stpGraph->Instrument().Limits().readLimits = &ChipLimitLines;

    cmdOneShot = new QPushButton("One-Shot Reading", this);
    cmdOneShot->setObjectName("cmdOneShot");
    cmdConfig = new QPushButton("Configuration", this);
    cmdConfig->setObjectName("cmdConfig");
    setTabOrder(cmdOneShot, cmdConfig);

    connect(cmdOneShot, &QPushButton::clicked, this, &frmGraph::cmdOneShot_Click);
    connect(cmdConfig, &QPushButton::clicked, this, &frmGraph::cmdConfig_Click);
    connect(&stpGraph->Instrument(), &ChartInstrument::openRunRequested, this, &frmGraph::openRunRequested);

    Form_Load();
}

void frmGraph::Form_Load() {
    SetFixedFormSize(false);
    SetFormSizeTwips(9360, 7740);
    UpdateOneShot();
    GeneralStuff::GraphOpen = true;
}

void frmGraph::Form_Unload() { GeneralStuff::GraphOpen = false; }

void frmGraph::resizeEvent(QResizeEvent* event) {
    ChildForm::resizeEvent(event);
    Form_Resize();
}

void frmGraph::showEvent(QShowEvent* event) {
    ChildForm::showEvent(event);
    Form_Resize();
}

void frmGraph::Form_Resize() {
    // The rule works on the outer size; a window smaller than its margins, or minimized, gets an
    // empty chart rather than a negative size.
    const double chartTop = 0;
    const double chartWidth = std::max(0.0, OuterWidthTwips() - 200);
    const double chartHeight = std::max(0.0, OuterHeightTwips() - 1300);
    // A chart with no area is hidden: drawing into an empty buffer only yields warnings.
    const QRect chart = TwipsRect(0, chartTop, chartWidth, chartHeight);
    if (chart.isEmpty()) stpGraph->hide();
    stpGraph->setGeometry(chart);
    if (!chart.isEmpty()) stpGraph->show();

    const double buttonsTop = chartHeight + chartTop + 200;
    cmdOneShot->setGeometry(TwipsRect(2160, buttonsTop, 2415, 375));
    cmdConfig->setGeometry(TwipsRect(4800, buttonsTop, 2415, 375));
}

void frmGraph::UpdateGraph() {
    auto& temperature = GeneralStuff::Temperature;
    const double now = GeneralStuff::CurrentClock().SecondsSinceMidnight();
    stpGraph->AddPoint(LocalTrace, now, static_cast<double>(temperature[0]));
    stpGraph->AddPoint(RemoteTrace, now, static_cast<double>(temperature[1]));

    stpGraph->SetTraceCaption(
        LocalTrace, "Local = " + QString::fromStdString(GeneralStuff::TrimmedNumberText(temperature[0])) + DegreesCelsius);
    // Also leaves the remote temperature rounded to 3 decimals.
    stpGraph->SetTraceCaption(
        RemoteTrace, "Remote1 = " + QString::fromStdString(GeneralStuff::TwoDecimalText(temperature[1])) + DegreesCelsius);

    UpdateOneShot();
}

void frmGraph::UpdateOneShot() { cmdOneShot->setEnabled(RegMapStuff::Standby); }

void frmGraph::cmdOneShot_Click() {
    int32_t data = 1;
    USBStuff::WriteRegister(USBStuff::DeviceAddress, Chip::Reg::OneShotWrite, data);
}

void frmGraph::cmdConfig_Click() { emit configurationRequested(); }
