#include "chart/StripChart.h"

#include "chart/ChartImage.h"
#include "chart/ChartInstrument.h"
#include "chart/TimeOfDayTicker.h"
#include "chart/TraceGraph.h"
#include "chart/TraceLegendItem.h"
#include "widgets/DialogFolder.h"
#include "widgets/Prompts.h"

#include <QClipboard>
#include <QDateTime>
#include <QGuiApplication>
#include <QMenu>
#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>

namespace {

const QColor TraceColours[] = {QColor(0, 0, 200), QColor(200, 0, 0), QColor(0, 140, 0), QColor(160, 0, 160)};

// The narrowest temperature span fitted, so that quarter-degree steps do not fill the height.
constexpr double MinimumValueSpan = 4.0;
constexpr double ValueMargin = 0.1;        // of the span, above and below
constexpr double EdgeDragPixels = 100.0;   // a drag this long zooms by a factor of e
// A span holding more points than this a pixel column is drawn as its column envelope filled;
// the live chart's normal view (about two a column) stays a line.
constexpr int CondensedPointsPerColumn = 4;

double AlongAxis(const QCPAxis* axis, const QPointF& pos) {
    return axis->orientation() == Qt::Horizontal ? pos.x() : pos.y();
}

}  // namespace

StripChart::StripChart(int traceCount, QWidget* parent) : QCustomPlot(parent) {
    setAutoAddPlottableToLegend(false);
    for (int i = 0; i < traceCount; ++i) {
        auto* trace = new TraceGraph(xAxis, yAxis);
        legend->addItem(new TraceLegendItem(legend, trace));
        trace->setPen(QPen(TraceColours[i % std::size(TraceColours)], 1));
        trace->setLineStyle(QCPGraph::lsLine);
        trace->setAdaptiveSampling(false);   // the points drawn are already two a column at most
        traces_.emplace_back(DefaultMaxPointsPerTrace);
    }
    SetUpLook();
    SetUpMenu();
    instrument_ = new ChartInstrument(*this, menu_);
    connect(this, &QCustomPlot::afterLayout, this, &StripChart::FillDrawnPoints);
    newPointsRedraw_.setSingleShot(true);
    connect(&newPointsRedraw_, &QTimer::timeout, this, &StripChart::RequestReplot);
    connect(this, &QCustomPlot::afterReplot, this, [this] {
        sinceDrawn_.start();
        newPointsRedraw_.stop();   // whatever was waiting is drawn
    });

    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    axisRect()->setRangeDrag(Qt::Horizontal);
    axisRect()->setRangeZoom(Qt::Horizontal);
    setNoAntialiasingOnDrag(true);
    setMouseTracking(true);   // for the zoom cursor at the edges

    connect(xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this, &StripChart::TimeRangeChanged);
    connect(yAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this, &StripChart::ValueRangeChanged);
}

void StripChart::SetUpLook() {
    xAxis->setTicker(QSharedPointer<TimeOfDayTicker>::create());
    xAxis->ticker()->setTickCount(6);
    xAxis->setRange(0, DefaultSpanSeconds);
    yAxis->setRange(0, 50);
    xAxis->setUpperEnding(QCPLineEnding::esSpikeArrow);
    yAxis->setUpperEnding(QCPLineEnding::esSpikeArrow);

    // The legend sits in a row of its own above the plot, so it never hides the newest points.
    axisRect()->insetLayout()->take(legend);
    plotLayout()->insertRow(0);
    plotLayout()->addElement(0, 0, legend);
    plotLayout()->setRowStretchFactor(0, 0.001);
    legend->setFillOrder(QCPLegend::foColumnsFirst);
    legend->setBorderPen(Qt::NoPen);
    legend->setColumnSpacing(24);
    legend->setVisible(true);
}

void StripChart::AddPoint(int trace, double timeOfDay, double value) {
    if (trace < 0 || trace >= static_cast<int>(traces_.size())) return;
    const double time = time_.FromTimeOfDay(timeOfDay);
    if (!hasPoints_) {
        // The date is read just after the point's time; a midnight between the two readings
        // means the run began the day before.
        const QDateTime now = QDateTime::currentDateTime();
        const bool midnightBetween = timeOfDay - now.time().msecsSinceStartOfDay() / 1000.0 > 43200;
        runDate_ = now.date().addDays(midnightBetween ? -1 : 0);
    }
    // Times only rise; memory stays bounded however long the run: the oldest points give way.
    AddStoredPoint(trace, time, value);
    // While a mouse button is held the user is moving the view; it catches up on release.
    if (following_ && !mouseHeld_) FollowNewest(xAxis->range().size());
    FitValues();
    // Drawn when the picture changes by a pixel: most points at the default span move it by less.
    if (drawnView_.Changed(*xAxis, *yAxis, trace, time, value)) RequestNewPointsReplot();
}

void StripChart::AddStoredPoint(int trace, double time, double value) {
    // The rows of every trace share their times: the first trace's spacing is the readings'.
    if (trace == 0 && hasPoints_) readingInterval_.Add(time - newestTime_);
    traces_[trace].Append(time, value);
    ++pointsChanged_;
    if (!hasPoints_) {
        hasPoints_ = true;
        firstTime_ = time;
    }
    newestTime_ = time;
}

void StripChart::ShowRun(const FinishedRun& run) {
    live_ = false;
    runDate_ = run.date.isValid() ? run.date : QDate::currentDate();
    if (auto ticker = xAxis->ticker().dynamicCast<TimeOfDayTicker>()) ticker->SetStartDate(run.elapsedAxis ? QDate() : runDate_);
    SetMaxPointsPerTrace(std::max<int>(DefaultMaxPointsPerTrace, static_cast<int>(std::min<std::size_t>(run.Rows(), INT_MAX))));
    AppendRun(run, 0);
    for (int i = 0; i < graphCount() && i < run.traceNames.size(); ++i) SetTraceCaption(i, run.traceNames[i]);
    ResetView();
}

void StripChart::AppendRun(const FinishedRun& run, std::size_t from) {
    const int traces = std::min<int>(graphCount(), static_cast<int>(run.values.size()));
    // The run holds its rows from FirstRowHeld() on.
    for (std::size_t row = std::max(from, run.FirstRowHeld()) - run.FirstRowHeld(); row < run.times.size(); ++row) {
        for (int i = 0; i < traces; ++i) AddStoredPoint(i, run.times[row], run.values[i][row]);
    }
    if (from == 0) return;
    if (following_ && !mouseHeld_) FollowNewest(xAxis->range().size());
    FitValues();
    RequestNewPointsReplot();
}

void StripChart::SetLive(bool live) {
    live_ = live;
    following_ = live;
    if (live) FollowNewest(xAxis->range().size());
    RequestReplot();
}

void StripChart::SetTraceCaption(int trace, const QString& caption) {
    if (trace < 0 || trace >= graphCount() || graph(trace)->name() == caption) return;
    graph(trace)->setName(caption);
    RequestNewPointsReplot();
}

QString StripChart::TraceCaption(int trace) const {
    if (trace < 0 || trace >= graphCount()) return {};
    return graph(trace)->name();
}

int StripChart::PointCount(int trace) const {
    if (trace < 0 || trace >= static_cast<int>(traces_.size())) return 0;
    return traces_[trace].Size();
}

double StripChart::OldestTime() const {
    double oldest = newestTime_;
    for (const TracePoints& points : traces_) {
        if (!points.IsEmpty()) oldest = std::min(oldest, points.At(0).key);
    }
    return oldest;
}

std::size_t StripChart::DataBytes() const {
    std::size_t bytes = 0;
    for (const TracePoints& points : traces_) bytes += points.Bytes();
    return bytes;
}

void StripChart::SetMaxPointsPerTrace(int count) {
    for (TracePoints& points : traces_) points.SetCapacity(count);
    ++pointsChanged_;
    RequestReplot();
}

void StripChart::FillDrawnPoints() {
    const QCPRange range = xAxis->range();
    const int columns = std::max(1, axisRect()->width());
    // A redraw for the overlays alone (the readout follows the pointer) draws the points it drew.
    const DrawnPoints wanted{range.lower, range.upper, columns, pointsChanged_};
    if (!(wanted == drawnPoints_)) {
        drawnPoints_ = wanted;
        for (int i = 0; i < static_cast<int>(traces_.size()); ++i) {
            const TracePoints& points = traces_[i];
            points.Envelope(range.lower, range.upper, columns, drawn_);
            BreakAtGaps(drawn_, GapReadingIntervals * readingInterval_.Typical(), range.size() / columns);
            drawnData_.resize(static_cast<int>(drawn_.size()));
            for (int p = 0; p < drawnData_.size(); ++p) drawnData_[p] = QCPGraphData(drawn_[p].key, drawn_[p].value);
            graph(i)->data()->set(drawnData_, true);
            const int inView = points.UpperBound(range.upper) - points.LowerBound(range.lower);
            static_cast<TraceGraph*>(graph(i))->SetCondensed(inView > CondensedPointsPerColumn * columns);
        }
    }
    drawnView_.Record(*xAxis, *yAxis, columns, traces_);
}

void StripChart::ResetView() {
    fittingValues_ = true;
    if (!live_) {
        // A finished run: all of it.
        following_ = false;
        settingRanges_ = true;
        if (hasPoints_) xAxis->setRange(OldestTime(), std::max(newestTime_, OldestTime() + 1));
        settingRanges_ = false;
        FitValues();
        RequestReplot();
        return;
    }
    following_ = true;
    FollowNewest(DefaultSpanSeconds);
    FitValues();
    RequestReplot();
}

void StripChart::RequestReplot() {
    // A hidden chart (a minimized window) is drawn when it shows again.
    if (isVisible()) {
        replot(rpQueuedReplot);
    } else {
        replotPending_ = true;
    }
}

int StripChart::NewPointsRedrawMs() const {
    // A redraw costs about as much as the plot has pixels: a large plot redraws new points less
    // often (up to three times less, so that it still moves every second), and a program left
    // running maximised on a large screen stays as cheap as at its default size.
    const double area = static_cast<double>(axisRect()->width()) * axisRect()->height();
    const double scale = std::clamp(std::sqrt(area / NewPointsRedrawArea), 1.0, 3.0);
    return static_cast<int>(newPointsRedrawMs_ * scale);
}

void StripChart::RequestNewPointsReplot() {
    if (newPointsRedraw_.isActive()) return;   // the redraw already due shows these too
    const int pace = NewPointsRedrawMs();
    const qint64 since = sinceDrawn_.isValid() ? sinceDrawn_.elapsed() : pace;
    if (since >= pace) {
        RequestReplot();
    } else {
        newPointsRedraw_.start(static_cast<int>(pace - since));
    }
}

void StripChart::showEvent(QShowEvent* event) {
    QCustomPlot::showEvent(event);
    if (replotPending_) {
        replotPending_ = false;
        replot(rpQueuedReplot);
    }
}

void StripChart::FollowNewest(double span) {
    if (!hasPoints_) return;
    // Until the run fills the span the traces grow from the left edge.
    const double upper = std::max(newestTime_, firstTime_ + span);
    settingRanges_ = true;
    xAxis->setRange(upper - span, upper);
    settingRanges_ = false;
}

ValueSpan StripChart::VisibleValues() const {
    // From the levels the points keep: a few dozen steps a trace however many points are in view,
    // so that fitting after every new point costs the live chart nothing it would notice.
    const QCPRange view = xAxis->range();
    ValueSpan span;
    for (const TracePoints& points : traces_) {
        int from = points.LowerBound(view.lower);
        int to = points.UpperBound(view.upper);
        // Zoomed in between two points, the line across the view runs between them.
        if (from >= to) {
            from = std::max(from - 1, 0);
            to = std::min(to + 1, points.Size());
        }
        span.Add(points.Span(from, to));
    }
    return span;
}

void StripChart::FitValues() {
    if (!fittingValues_) return;
    const ValueSpan fit = VisibleValues();
    if (fit.IsEmpty()) return;
    const double span = std::max(fit.max - fit.min, MinimumValueSpan);
    const double centre = (fit.max + fit.min) / 2;
    const double half = span * (0.5 + ValueMargin);
    settingRanges_ = true;
    yAxis->setRange(centre - half, centre + half);
    settingRanges_ = false;
}

void StripChart::TimeRangeChanged(const QCPRange& range) {
    if (settingRanges_) return;
    FitValues();
    if (!hasPoints_ || !live_) return;
    const double tolerance = range.size() * 1e-9;
    following_ = range.lower - tolerance <= newestTime_ && newestTime_ <= range.upper + tolerance;
}

void StripChart::ValueRangeChanged() {
    if (!settingRanges_) fittingValues_ = false;
}

QCPAxis* StripChart::AxisAtEdge(const QPoint& pos) const {
    const QRect plot = axisRect()->rect();
    if (pos.x() < plot.left() && pos.y() >= plot.top() && pos.y() <= plot.bottom()) return yAxis;
    if (pos.y() > plot.bottom() && pos.x() >= plot.left() && pos.x() <= plot.right()) return xAxis;
    return nullptr;
}

void StripChart::ScaleAxis(QCPAxis* axis, const QCPRange& from, double factor, double centre) {
    const QCPRange range(centre + (from.lower - centre) * factor, centre + (from.upper - centre) * factor);
    if (QCPRange::validRange(range)) axis->setRange(range);
}

void StripChart::wheelEvent(QWheelEvent* event) {
    QCPAxis* axis = AxisAtEdge(event->position().toPoint());
    if (!axis) {
        QCustomPlot::wheelEvent(event);
        return;
    }
    const double steps = event->angleDelta().y() / 120.0;
    const double factor = std::pow(axisRect()->rangeZoomFactor(axis->orientation()), steps);
    ScaleAxis(axis, axis->range(), factor, axis->pixelToCoord(AlongAxis(axis, event->position())));
    RequestReplot();
    event->accept();
}

void StripChart::mousePressEvent(QMouseEvent* event) {
    mouseHeld_ = true;
    QCPAxis* axis = event->button() == Qt::LeftButton ? AxisAtEdge(event->pos()) : nullptr;
    if (!axis) {
        QCustomPlot::mousePressEvent(event);
        return;
    }
    edgeZoomAxis_ = axis;
    edgeZoomStart_ = event->pos();
    edgeZoomFrom_ = axis->range();
    edgeZoomCentre_ = axis->pixelToCoord(AlongAxis(axis, event->position()));
    event->accept();
}

void StripChart::mouseMoveEvent(QMouseEvent* event) {
    if (edgeZoomAxis_) {
        const QPoint moved = event->pos() - edgeZoomStart_;
        // Right along the time axis or up along the temperature axis stretches it: zooms in.
        const double pixels = edgeZoomAxis_->orientation() == Qt::Horizontal ? moved.x() : -moved.y();
        ScaleAxis(edgeZoomAxis_, edgeZoomFrom_, std::exp(-pixels / EdgeDragPixels), edgeZoomCentre_);
        RequestReplot();
        event->accept();
        return;
    }
    if (event->buttons() == Qt::NoButton) {
        const QCPAxis* axis = AxisAtEdge(event->pos());
        const Qt::CursorShape shape = !axis ? Qt::ArrowCursor
                                      : axis->orientation() == Qt::Horizontal ? Qt::SizeHorCursor
                                                                               : Qt::SizeVerCursor;
        if (cursor().shape() != shape) setCursor(shape);
    }
    QCustomPlot::mouseMoveEvent(event);
}

void StripChart::mouseReleaseEvent(QMouseEvent* event) {
    mouseHeld_ = event->buttons() != Qt::NoButton;
    if (edgeZoomAxis_) {
        if (!mouseHeld_) edgeZoomAxis_ = nullptr;
        event->accept();
    } else {
        QCustomPlot::mouseReleaseEvent(event);
    }
    if (!mouseHeld_ && following_) {
        FollowNewest(xAxis->range().size());
        RequestReplot();
    }
}

void StripChart::mouseDoubleClickEvent(QMouseEvent* event) {
    QCustomPlot::mouseDoubleClickEvent(event);
    ResetView();
}

void StripChart::SetUpMenu() {
    chooseImageFile = [this] {
        DialogFolder& folder = instrument_->Folder();
        QString filter;
        const QString name = folder.Remember(Prompts::Current().SaveFileName(this, QStringLiteral("Save Chart As"),
                                                                             folder.Start(), ChartImageFilter, &filter));
        return ChartImageFileName(name, filter);
    };
    menu_ = new QMenu(this);
    menu_->addAction(QStringLiteral("Save Chart As…"), this, &StripChart::SaveChartAs);
    menu_->addAction(QStringLiteral("Copy Chart"), this, &StripChart::CopyChart);
    menu_->addAction(QStringLiteral("Reset View"), this, &StripChart::ResetView);
}

void StripChart::contextMenuEvent(QContextMenuEvent* event) {
    // The menu takes the button's release, so the chart must not wait for it to follow again.
    mouseHeld_ = false;
    edgeZoomAxis_ = nullptr;
    menu_->popup(event->globalPos());
    event->accept();
}

void StripChart::LeavePointer() { instrument_->Readout().Follow(std::nullopt); }

void StripChart::SaveChartAs() {
    const QString fileName = chooseImageFile();
    if (fileName.isEmpty()) return;
    LeavePointer();
    const QString why = SaveChartImage(*this, fileName);
    if (!why.isEmpty()) {
        ShowWarning(this, QStringLiteral("The chart was not saved to %1.\n\n%2").arg(QDir::toNativeSeparators(fileName), why));
    }
}

void StripChart::CopyChart() {
    LeavePointer();
    QGuiApplication::clipboard()->setImage(ChartImage(*this));
}
