#pragma once
// The strip chart as an instrument. Everything here is reached from the chart's right-click menu
// or shows only while the pointer is over the plot, so the chart's own look stays as it is:
// the readout of the stored points under the pointer, two time cursors with the differences
// between them, statistics of the view or of the span between the cursors, the chip's limits as
// lines, the points (or the caller's own file) exported as CSV, and a note in a corner while the chart does not follow the
// newest point. Overlays go on the chart's top layer, which shares the one paint buffer.
#include "chart/ChartCursors.h"
#include "chart/ChartLabels.h"
#include "chart/ChartLimitLines.h"
#include "chart/ChartReadout.h"
#include "chart/ChartStatistics.h"
#include "widgets/DialogFolder.h"

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
    // The two traces whose difference the readout and the statistics show (minuend − subtrahend).
    void SetDifference(int minuend, int subtrahend);

    // Where the chart's file dialogs start: the program's folder (ChartFolder) unless the
    // chart's caller gives another, such as a finished run's own folder; then the last one used.
    DialogFolder& Folder() { return folder_; }
    void SetFolder(const QString& folder) { folder_ = DialogFolder(folder); }

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
    // The caller's own file for the times [from, to], in place of the chart's CSV of its points:
    // a finished run is written as its file holds it, every column kept. Returns why it could
    // not be had, or nothing.
    std::function<QString(double from, double to, QByteArray& file)> exportOwnFile;

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
    // The chart's points whose times lie in [from, to] as CSV.
    QByteArray PointsCsv(double from, double to) const;

    ChartView& chart_;
    DialogFolder folder_;
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
