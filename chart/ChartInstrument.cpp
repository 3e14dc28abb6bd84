#include "chart/ChartInstrument.h"

#include "widgets/DialogFolder.h"
#include "widgets/Prompts.h"
#include "chart/ChartDataExport.h"
#include "chart/ChartFolder.h"
#include "files/FileSafety.h"
#include "chart/ChartView.h"

#include <QMenu>
#include <QMouseEvent>
#include <QToolTip>

namespace {
constexpr int CornerGap = 6;
}  // namespace

ChartInstrument::ChartInstrument(ChartView& chart, QMenu* menu)
    : QObject(&chart.Plot()),
      chart_(WithOverlayLayers(chart)),   // before the overlays take their places on them
      folder_(ChartFolder::ProgramFolder()),
      readout_(chart, labels_),
      cursors_(chart, labels_),
      statistics_(chart, labels_),
      limits_(new ChartLimitLines(chart)),
      paused_(NewOverlayText(chart.Plot())) {
    paused_->setText(QStringLiteral("Paused: double-click or Reset View to follow"));
    paused_->setPositionAlignment(Qt::AlignRight | Qt::AlignTop);
    chooseDataFile = [this](bool wholeRun) {
        return folder_.Remember(Prompts::Current().SaveFileName(
            &chart_.Plot(), wholeRun ? QStringLiteral("Export Whole Run As CSV") : QStringLiteral("Export Visible Span As CSV"),
            folder_.Start(), ChartDataFilter));
    };
    AddMenuEntries(menu);
    chart.Plot().installEventFilter(this);
    connect(&chart.Plot(), &QCustomPlot::afterLayout, this, &ChartInstrument::Refresh);
}

void ChartInstrument::SetTraceNames(const QStringList& names, const QString& unit) {
    labels_.names = names;
    labels_.unit = unit;
    chart_.RequestReplot();
}

void ChartInstrument::SetDifference(int minuend, int subtrahend) {
    labels_.difference = TraceDifference{minuend, subtrahend};
    chart_.RequestReplot();
}

void ChartInstrument::AddMenuEntries(QMenu* menu) {
    menu->setToolTipsVisible(true);
    menu->addAction(QStringLiteral("Open Run…"), this, &ChartInstrument::openRunRequested);
    menu->addSeparator();
    exportView_ = menu->addAction(QStringLiteral("Export Visible Span As CSV…"), this, [this] { ExportData(false); });
    exportRun_ = menu->addAction(QStringLiteral("Export Whole Run As CSV…"), this, [this] { ExportData(true); });
    menu->addSeparator();
    cursorA_ = menu->addAction(QStringLiteral("Set Cursor A"), this,
                               [this] { cursors_.Set(0, chart_.Plot().xAxis->pixelToCoord(menuAt_.x())); });
    cursorB_ = menu->addAction(QStringLiteral("Set Cursor B"), this,
                               [this] { cursors_.Set(1, chart_.Plot().xAxis->pixelToCoord(menuAt_.x())); });
    clearCursors_ = menu->addAction(QStringLiteral("Clear Cursors"), this, [this] { cursors_.Clear(); });
    menu->addSeparator();
    showStatistics_ = menu->addAction(QStringLiteral("Show Statistics"));
    showStatistics_->setCheckable(true);
    connect(showStatistics_, &QAction::toggled, this, [this](bool on) { statistics_.SetShown(on); });
    showLimits_ = menu->addAction(QStringLiteral("Show Limits"));
    showLimits_->setCheckable(true);
    connect(showLimits_, &QAction::toggled, this, [this](bool on) { limits_->SetShown(on); });
}

void ChartInstrument::PrepareMenu(const QPoint& at) {
    menuAt_ = at;
    const bool overPlot = chart_.Plot().axisRect()->rect().contains(at);
    cursorA_->setEnabled(overPlot);
    cursorB_->setEnabled(overPlot);
    clearCursors_->setEnabled(cursors_.Time(0) || cursors_.Time(1));
    bool anyPoints = false;
    for (int i = 0; i < chart_.Plot().graphCount(); ++i) anyPoints = anyPoints || chart_.PointCount(i) > 0;
    exportView_->setEnabled(anyPoints);
    exportRun_->setEnabled(anyPoints);
    showLimits_->setVisible(limits_->readLimits || !limits_->unavailable.isEmpty());
    showLimits_->setEnabled(static_cast<bool>(limits_->readLimits));
    showLimits_->setToolTip(limits_->readLimits ? QString() : limits_->unavailable);
}

bool ChartInstrument::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &chart_.Plot()) return false;
    switch (event->type()) {
    case QEvent::MouseMove: {
        const QPoint at = static_cast<QMouseEvent*>(event)->pos();
        readout_.Follow(chart_.Plot().axisRect()->rect().contains(at) ? std::optional(at) : std::nullopt);
        break;
    }
    case QEvent::Leave:
        readout_.Follow(std::nullopt);
        break;
    case QEvent::ContextMenu:
        PrepareMenu(static_cast<QContextMenuEvent*>(event)->pos());
        break;
    case QEvent::ToolTip:
        // Over the plot the readout speaks; the hint about the arrows belongs to the edges.
        if (chart_.Plot().axisRect()->rect().contains(static_cast<QHelpEvent*>(event)->pos())) {
            QToolTip::hideText();
            return true;
        }
        break;
    default:
        break;
    }
    return false;
}

bool ChartInstrument::ShowsPaused() const { return paused_->visible(); }

void ChartInstrument::Refresh() {
    const QRect plot = chart_.Plot().axisRect()->rect();
    std::vector<double> cursorColumns;
    for (int i = 0; i < 2; ++i) {
        if (cursors_.Time(i)) cursorColumns.push_back(chart_.Plot().xAxis->coordToPixel(*cursors_.Time(i)));
    }
    readout_.Refresh(cursorColumns);
    cursors_.Refresh(plot);
    const bool betweenCursors = cursors_.BothSet();
    const QCPRange view = chart_.Plot().xAxis->range();
    statistics_.Refresh(betweenCursors ? *cursors_.Time(0) : view.lower, betweenCursors ? *cursors_.Time(1) : view.upper,
                        betweenCursors, plot);
    limits_->Refresh(plot);
    paused_->setVisible(chart_.IsLive() && chart_.PointCount(0) > 0 && !chart_.FollowsNewest());
    paused_->position->setCoords(plot.right() - CornerGap, plot.top() + CornerGap);
}

void ChartInstrument::ExportData(bool wholeRun) {
    const QString fileName = chooseDataFile(wholeRun);
    if (fileName.isEmpty()) return;
    const QCPRange view = chart_.Plot().xAxis->range();
    const double from = wholeRun ? -std::numeric_limits<double>::infinity() : view.lower;
    const double to = wholeRun ? std::numeric_limits<double>::infinity() : view.upper;
    QByteArray file;
    QString why = exportOwnFile ? exportOwnFile(from, to, file) : QString();
    if (!exportOwnFile) file = PointsCsv(from, to);
    if (why.isEmpty()) why = GeneralStuff::ReplaceFileContents(fileName, file);
    if (!why.isEmpty()) {
        ShowWarning(&chart_.Plot(),
            QStringLiteral("The chart data was not saved to %1.\n\n%2").arg(QDir::toNativeSeparators(fileName), why));
    }
}

QByteArray ChartInstrument::PointsCsv(double from, double to) const {
    std::vector<const TracePoints*> traces;
    QStringList columns;
    for (int i = 0; i < chart_.Plot().graphCount(); ++i) {
        traces.push_back(&chart_.Points(i));
        columns << (labels_.unit.isEmpty() ? labels_.Name(i) : QStringLiteral("%1 (%2)").arg(labels_.Name(i), labels_.unit));
    }
    return ChartDataCsv(traces, columns, chart_.RunDate(), from, to);
}
