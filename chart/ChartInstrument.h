#pragma once
// The strip chart as an instrument. Everything here is reached from the chart's right-click menu
// or shows only while the pointer is over the plot, so the chart's own look stays as it is:
// the readout of the stored points under the pointer, two time cursors with the differences
// between them, statistics of the view or of the span between the cursors, the chip's limits as
// lines, the points exported as CSV, and a note in a corner while the chart does not follow the
// newest point. Overlays go on the chart's top layer, which shares the one paint buffer.
#include "chart/ChartCursors.h"
#include "chart/ChartLabels.h"
#include "chart/ChartLimitLines.h"
#include "chart/ChartReadout.h"
#include "chart/ChartStatistics.h"

#include <QObject>
#include <QPoint>
#include <functional>

class QAction;
class QMenu;
class ChartView;

class ChartInstrument : public QObject {
    Q_OBJECT
public:
    ChartInstrument(ChartView& chart, QMenu* menu);

    // What the overlays and the export call the traces, and the unit of their values.
    void SetTraceNames(const QStringList& names, const QString& unit);

    ChartReadout& Readout() { return readout_; }
    ChartCursors& Cursors() { return cursors_; }
    ChartStatistics& Statistics() { return statistics_; }
    ChartLimitLines& Limits() { return *limits_; }
    bool ShowsPaused() const;

    // Asks for a file and writes the visible span or the whole run into it, whole or not at all;
    // says so through the chart's warning when it could not. The file written is the one the
    // dialog named (and asked about replacing).
    void ExportData(bool wholeRun);
    // The export's file dialog (an empty name when cancelled); tests replace it.
    std::function<QString(bool wholeRun)> chooseDataFile;

signals:
    // "Open Run…": the user asks for a finished run in a window of its own.
    void openRunRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void AddMenuEntries(QMenu* menu);
    void PrepareMenu(const QPoint& at);
    // After each layout, before the drawing: every overlay for the view as it now is.
    void Refresh();

    ChartView& chart_;
    ChartLabels labels_;
    ChartReadout readout_;
    ChartCursors cursors_;
    ChartStatistics statistics_;
    ChartLimitLines* limits_;
    QCPItemText* paused_;
    QPoint menuAt_;   // where the menu was asked for
    QAction* cursorA_ = nullptr;
    QAction* cursorB_ = nullptr;
    QAction* clearCursors_ = nullptr;
    QAction* exportView_ = nullptr;
    QAction* exportRun_ = nullptr;
    QAction* showStatistics_ = nullptr;
    QAction* showLimits_ = nullptr;
};
