#pragma once
// A strip chart: traces plotted against the time of day, each with its caption in a legend above
// the plot. It keeps the points of the run (the newest DefaultMaxPointsPerTrace of each trace, a day
// and more at the default graph interval) in TracePoints; appending is cheap and a redraw draws at
// most two points a pixel column, the column's lowest and highest value, so a redraw costs the
// same at every zoom, an overnight run stays fast and its memory bounded.
//
// Viewing: while the newest point is in view the time axis follows it (the span stays as the
// user left it). Zooming or panning it out of view stops the following; bringing the newest
// point back into view, or a double-click, starts it again. The temperature axis fits the values
// of the visible time span, with a margin, after every new point, zoom and pan, until the user
// zooms or pans it; a double-click fits it again and restores the starting time span.
// Mouse: drag inside the plot to pan, the wheel inside the plot zooms the time axis; at the
// edges (the axes, with their arrows) dragging right or up zooms in, left or down zooms out,
// and the wheel zooms that axis alone. A right-click offers saving the chart as a PNG, PDF or SVG
// file, copying it to the clipboard and the starting view, and the instrument's entries. A
// picture saved or copied holds what the chart shows, not the readout that follows the pointer.
// Drawing: only when the picture changes (see DrawnView), the view or the overlays change, or
// the window is shown again.
#include "files/FinishedRun.h"
#include "files/ContinuousTime.h"
#include "chart/ChartView.h"
#include "chart/DrawnView.h"
#include "chart/TraceGaps.h"
#include "chart/TracePoints.h"

#include <QDate>
#include <QElapsedTimer>
#include <QTimer>

#include <qcustomplot.h>
#include <cstdint>
#include <functional>
#include <vector>

class ChartInstrument;

class StripChart : public QCustomPlot, public ChartView {
    Q_OBJECT
public:
    explicit StripChart(int traceCount, QWidget* parent = nullptr);

    // Adds a point to a trace at the time of day (seconds since midnight) it belongs to.
    void AddPoint(int trace, double timeOfDay, double value);
    void SetTraceCaption(int trace, const QString& caption);
    QString TraceCaption(int trace) const;
    int PointCount(int trace) const override;
    // The points kept of a trace (0 <= trace < the count of traces).
    const TracePoints& Points(int trace) const override { return traces_[trace]; }
    // The oldest point kept on any trace, on the time axis of NewestTime.
    double OldestTime() const;
    // The memory the points of every trace take, with their levels.
    std::size_t DataBytes() const;
    // The newest point's place on the time axis (seconds since the midnight the run began).
    double NewestTime() const { return newestTime_; }
    // The day the run began, on which its time axis counts from midnight.
    QDate RunDate() const override { return runDate_; }

    // A finished run in place of live points: its traces (as many as the chart has), its date
    // and times as its file gives them, the whole run in view. Adding points to it again (as a
    // followed file grows) follows the newest as a live chart does.
    void ShowRun(const FinishedRun& run);
    // Appends the rows of a run from `from` on, as its file grew.
    void AppendRun(const FinishedRun& run, std::size_t from);
    // Live points come in; a finished run's chart is live only while it follows its file.
    bool IsLive() const override { return live_; }
    void SetLive(bool live);

    bool FollowsNewest() const override { return following_; }
    bool FitsValues() const { return fittingValues_; }
    // The starting view: the newest point at the right edge, every value of the run in view.
    void ResetView();

    // The right-click menu, for the entries of the chart's owner.
    QMenu& Menu() { return *menu_; }
    // Readout, cursors, statistics, limit lines and data export.
    ChartInstrument& Instrument() { return *instrument_; }
    // One redraw when the event loop is next free, however many changes come before it.
    void RequestReplot() override;
    // The instrument's tools reach the chart as a ChartView, and its plot through this.
    QCustomPlot& Plot() override { return *this; }
    // New points and captions redraw at most once in this time (ms): three times a second by
    // default. Following the newest point the view moves by a pixel column nine times a second
    // at the default size and dozens of times in a large window, and each redraw costs about a
    // millisecond; what the user does (zoom, pan, the readout, the overlays) redraws at once.
    void SetNewPointsRedrawInterval(int ms) { newPointsRedrawMs_ = ms; }
    static constexpr int DefaultNewPointsRedrawMs = 333;
    // The plot's area (pixels) up to which new points redraw at that pace; larger plots slower.
    static constexpr double NewPointsRedrawArea = 640.0 * 480.0;
    // The pace (ms) of those redraws at the plot's present size.
    int NewPointsRedrawMs() const;

    static constexpr double DefaultSpanSeconds = 60.0;
    // 25 hours of points at the default 50 ms graph interval.
    static constexpr int DefaultMaxPointsPerTrace = 1'800'000;
    void SetMaxPointsPerTrace(int count);

    // The context menu's commands. Saving asks for a file (starting in the instrument's folder)
    // and says so when the file could not be written.
    void SaveChartAs();
    void CopyChart();
    // The file dialog (an empty name when cancelled); tests replace it.
    std::function<QString()> chooseImageFile;

protected:
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // A redraw for new points or captions, at the pace SetNewPointsRedrawInterval sets.
    void RequestNewPointsReplot();
    void SetUpLook();
    void SetUpMenu();
    // Before each drawing, the points each trace shows in the present view and plot width.
    void FillDrawnPoints();
    void FollowNewest(double span);
    void FitValues();
    // The lowest and highest value of the points in the visible time span.
    ValueSpan VisibleValues() const;
    // The readout goes as if the pointer had left the plot, until it moves over it again.
    void LeavePointer();
    void AddStoredPoint(int trace, double time, double value);
    void TimeRangeChanged(const QCPRange& range);
    void ValueRangeChanged();
    // The axis whose edge band (outside the plot, along the axis) holds the point, if any.
    QCPAxis* AxisAtEdge(const QPoint& pos) const;
    static void ScaleAxis(QCPAxis* axis, const QCPRange& from, double factor, double centre);

    ContinuousTime time_;
    ReadingInterval readingInterval_;   // of the first trace: a gap of a few breaks the lines
    std::vector<TracePoints> traces_;
    std::vector<TracePoint> drawn_;   // reused from drawing to drawing
    QVector<QCPGraphData> drawnData_;
    // What the points drawn were taken for: the time span, the plot's width, the points.
    struct DrawnPoints {
        double lower = 0;
        double upper = 0;
        int columns = 0;
        std::uint64_t pointsChanged = 0;
        bool operator==(const DrawnPoints& other) const {
            return lower == other.lower && upper == other.upper && columns == other.columns &&
                   pointsChanged == other.pointsChanged;
        }
    };
    DrawnPoints drawnPoints_;
    std::uint64_t pointsChanged_ = 1;   // counts every change of the points kept
    QMenu* menu_ = nullptr;
    ChartInstrument* instrument_ = nullptr;
    DrawnView drawnView_;
    QDate runDate_;
    bool hasPoints_ = false;
    double firstTime_ = 0;
    double newestTime_ = 0;

    bool following_ = true;
    bool live_ = true;
    bool fittingValues_ = true;
    bool settingRanges_ = false;   // the chart itself moves the axes, not the user
    bool replotPending_ = false;
    int newPointsRedrawMs_ = DefaultNewPointsRedrawMs;
    QElapsedTimer sinceDrawn_;
    QTimer newPointsRedraw_;
    bool mouseHeld_ = false;

    // A zoom by dragging at an edge.
    QCPAxis* edgeZoomAxis_ = nullptr;
    QPoint edgeZoomStart_;
    QCPRange edgeZoomFrom_;
    double edgeZoomCentre_ = 0;
};
