#include "output/frmRun.h"

#include "chart/ChartInstrument.h"
#include "chart/StripChart.h"
#include "files/RunFileExcerpt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <utility>

namespace {
constexpr int FollowIntervalMs = 1000;
constexpr int RecentSeconds = 60;   // a file written this recently is followed from the start
constexpr std::size_t MaxBands = 2000;
const QColor AlarmBandColour(255, 215, 215);
const QString DegreesCelsius = QStringLiteral("°C");

// The six limits of the file's last reading as lines on the local (0) and remote (1) traces.
std::vector<LimitLine> LinesOf(const std::array<double, 6>& limits) {
    const QString names[] = {QStringLiteral("High"), QStringLiteral("Low"), QStringLiteral("THERM")};
    std::vector<LimitLine> lines;
    for (int i = 0; i < 6; ++i) lines.push_back({i / 3, names[i % 3], limits[i]});
    return lines;
}

// Bands closer than a two-thousandth of the run merge, so a flapping alarm stays drawable.
std::vector<std::pair<double, double>> Drawable(std::vector<std::pair<double, double>> spans) {
    if (spans.size() <= MaxBands) return spans;
    const double gap = (spans.back().second - spans.front().first) / MaxBands;
    std::vector<std::pair<double, double>> merged{spans.front()};
    for (const auto& span : spans) {
        if (span.first - merged.back().second <= gap) {
            merged.back().second = std::max(merged.back().second, span.second);
        } else {
            merged.push_back(span);
        }
    }
    return merged;
}
}  // namespace

frmRun::Reading frmRun::ReadWhole(const QString& path, bool growing, const std::atomic<bool>* stop) {
    Reading reading;
    reading.growing = growing;
    reading.problem = reading.reader.ReadFile(path, reading.offset, growing, stop);
    return reading;
}

frmRun::Reading frmRun::Read(const QString& path, const std::atomic<bool>* stop) {
    const bool recent = QFileInfo(path).lastModified().secsTo(QDateTime::currentDateTime()) < RecentSeconds;
    // A file being written may still hold no reading and end in half a line.
    Reading reading = ReadWhole(path, recent, stop);
    if (reading.problem.isEmpty() && reading.growing && reading.reader.Runs().empty()) {
        reading.problem = reading.reader.Message(path);
    }
    return reading;
}

frmRun* frmRun::Open(const QString& path, QString* problem, QWidget* parent) {
    Reading reading = Read(path, nullptr);
    if (!reading.problem.isEmpty()) {
        if (problem) *problem = reading.problem;
        return nullptr;
    }
    auto* form = new frmRun(path, parent);
    form->ShowReading(std::move(reading));
    return form;
}

frmRun* frmRun::StartOpen(const QString& path, QWidget* parent) {
    auto* form = new frmRun(path, parent);
    // In the middle of the room where the chart comes.
    auto* reading = new QLabel(QStringLiteral("Reading %1 …").arg(path), form);
    reading->setObjectName("lblReading");
    reading->setAlignment(Qt::AlignCenter);
    reading->setWordWrap(true);
    auto* window = static_cast<QVBoxLayout*>(form->layout());
    delete window->takeAt(0);
    window->insertWidget(0, reading, 1);
    form->StartReading([form] { return Read(form->path_, &form->stopReading_); });
    return form;
}

void frmRun::StartReading(std::function<Reading()> read) {
    // Following and the choice of run wait for the file as read.
    chkFollow->setEnabled(false);
    cmbRun->setEnabled(false);
    followTimer_.stop();
    reading_ = std::thread([this, read = std::move(read)] {
        read_ = read();
        QMetaObject::invokeMethod(this, &frmRun::ReadingDone, Qt::QueuedConnection);
    });
}

frmRun::frmRun(QString path, RunFileReader reader, qint64 offset, bool growing, QWidget* parent)
    : frmRun(std::move(path), parent) {
    ShowReading({std::move(reader), offset, growing, {}});
}

frmRun::frmRun(QString path, QWidget* parent) : ChildForm(parent), path_(std::move(path)) {
    setObjectName("frmRun");
    setWindowTitle(QFileInfo(path_).fileName());
    setToolTip(QString());
    cmbRun = new QComboBox(this);
    cmbRun->setObjectName("cmbRun");
    cmbRun->setVisible(false);
    chkFollow = new QCheckBox(QStringLiteral("Follow File"), this);
    chkFollow->setObjectName("chkFollow");
    lblState = new QLabel(this);
    lblState->setObjectName("lblState");

    auto* bar = new QHBoxLayout;
    bar->addWidget(cmbRun);
    bar->addWidget(chkFollow);
    bar->addWidget(lblState, 1);
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(4, 4, 4, 4);
    window->addStretch(1);   // where the chart comes
    window->addLayout(bar);

    followTimer_.setInterval(FollowIntervalMs);
    connect(&followTimer_, &QTimer::timeout, this, &frmRun::FollowTick);
    connect(chkFollow, &QCheckBox::toggled, this, &frmRun::SetFollowing);
    connect(cmbRun, qOverload<int>(&QComboBox::currentIndexChanged), this, &frmRun::ShowRun);
    SetFixedFormSize(false);
    SetFormSizeTwips(9360, 7740);
}

frmRun::~frmRun() {
    stopReading_ = true;
    if (reading_.joinable()) reading_.join();
}

void frmRun::closeEvent(QCloseEvent* event) {
    stopReading_ = true;   // the reading thread stops at its next piece
    ChildForm::closeEvent(event);
}

void frmRun::ReadingDone() {
    reading_.join();
    Reading reading = std::move(read_);
    read_ = {};
    if (stopReading_) return;
    chkFollow->setEnabled(true);
    cmbRun->setEnabled(true);
    if (shown_ >= 0) {
        ReadAgainDone(std::move(reading));
        return;
    }
    if (!reading.problem.isEmpty()) {
        emit readFailed(reading.problem);
        OuterWindow()->close();
        return;
    }
    ShowReading(std::move(reading));
}

void frmRun::ShowReading(Reading reading) {
    reader_ = std::move(reading.reader);
    offset_ = reading.offset;
    growing_ = reading.growing;
    FillRunChoice();
    ShowRun(static_cast<int>(reader_.Runs().size()) - 1);
    chkFollow->setChecked(growing_);
}

void frmRun::FillRunChoice() {
    const QSignalBlocker quiet(cmbRun);
    const auto& runs = reader_.Runs();
    const int count = static_cast<int>(runs.size());
    while (cmbRun->count() > count) cmbRun->removeItem(cmbRun->count() - 1);
    for (int i = 0; i < count; ++i) {
        const QString text = QStringLiteral("Run %1 of %2, %3").arg(i + 1).arg(count).arg(runs[i].heading);
        if (i < cmbRun->count()) {
            cmbRun->setItemText(i, text);
        } else {
            cmbRun->addItem(text);
        }
    }
    if (shown_ >= 0) cmbRun->setCurrentIndex(shown_);
    cmbRun->setVisible(count > 1);
}

void frmRun::ReadAgainFor(int index) {
    wanted_ = index;
    lblState->setText(QStringLiteral("Reading %1 …").arg(path_));
    // While following, a last line half written waits for its end, as the following reads it.
    const bool growing = growing_ || chkFollow->isChecked();
    StartReading([this, growing] { return ReadWhole(path_, growing, &stopReading_); });
}

void frmRun::ReadAgainDone(Reading reading) {
    QString why = reading.problem;
    if (why.isEmpty() && reading.reader.Runs().size() < reader_.Runs().size()) {
        why = QStringLiteral("%1: the file now holds %2 runs, fewer than before")
                  .arg(path_)
                  .arg(reading.reader.Runs().size());
    }
    if (!why.isEmpty()) {
        readProblem_ = why;
        const QSignalBlocker quiet(cmbRun);
        cmbRun->setCurrentIndex(shown_);
        SetFollowing(chkFollow->isChecked());
        return;
    }
    reader_ = std::move(reading.reader);
    offset_ = reading.offset;
    FillRunChoice();
    // Every run of the file is held again, so the one asked for shows at once.
    ShowRun(std::exchange(wanted_, -1));
}

void frmRun::LetGoOfRows() {
    for (FinishedRun& run : reader_.Runs()) run.LetGoOfRows();
}

void frmRun::ShowRun(int index) {
    if (index < 0 || index >= static_cast<int>(reader_.Runs().size()) || index == shown_) return;
    // The chart took the rows of every run shown before; the file has them still.
    if (reader_.Runs()[index].FirstRowHeld() > 0) {
        ReadAgainFor(index);
        return;
    }
    readProblem_.clear();
    shown_ = index;
    cmbRun->setCurrentIndex(index);
    const FinishedRun& run = reader_.Runs()[index];
    // A chart of its own for each run shown: its traces, its axis, nothing of the run before.
    delete stpRun;
    bands_.clear();
    stpRun = new StripChart(std::max<int>(1, run.traceNames.size()), this);
    stpRun->setObjectName("stpRun");
    stpRun->yAxis->setLabel("Temperature (" + DegreesCelsius + ")");
    if (run.elapsedAxis) stpRun->xAxis->setLabel(QStringLiteral("Time from the start of the run"));
    ChartInstrument& instrument = stpRun->Instrument();
    instrument.SetTraceNames(run.traceNames, DegreesCelsius);
    connect(&instrument, &ChartInstrument::openRunRequested, this, &frmRun::openRunRequested);
    instrument.SetFolder(Folder());
    const int local = run.traceNames.indexOf(QStringLiteral("Local"));
    const int remote = run.traceNames.indexOf(QStringLiteral("Remote1"));
    if (local >= 0 && remote >= 0) instrument.SetDifference(remote, local);
    // The run's own rows from its file, every column it came with; a followed file's half-written
    // last line stays out.
    instrument.exportOwnFile = [this](double from, double to, QByteArray& file) {
        return RunFileExcerpt(path_, shown_, from, to, growing_ || chkFollow->isChecked(), file);
    };
    if (run.limits) {
        instrument.Limits().readLimits = [this] { return LinesOf(*reader_.Runs()[shown_].limits); };
    } else {
        instrument.Limits().unavailable =
            QStringLiteral("This file has no limit columns; kts9320b-cli monitor --limits writes them.");
    }
    stpRun->ShowRun(run);
    LetGoOfRows();
    auto* window = static_cast<QVBoxLayout*>(layout());
    if (!window->itemAt(0)->layout()) {   // the room kept while reading, or its word
        QLayoutItem* room = window->takeAt(0);
        delete room->widget();
        delete room;
    }
    window->insertWidget(0, stpRun, 1);
    ShowAlarmBands();
    SetFollowing(chkFollow->isChecked());
    UpdateState();
}

void frmRun::ShowAlarmBands() {
    for (QCPItemRect* band : bands_) stpRun->removeItem(band);
    bands_.clear();
    alarmSpans_ = reader_.Runs()[shown_].AlarmSpans();
    for (const auto& [from, to] : Drawable(alarmSpans_)) {
        auto* band = new QCPItemRect(stpRun);
        band->setLayer(QStringLiteral("grid"));
        band->setPen(Qt::NoPen);
        band->setBrush(AlarmBandColour);
        band->topLeft->setTypeY(QCPItemPosition::ptAxisRectRatio);
        band->bottomRight->setTypeY(QCPItemPosition::ptAxisRectRatio);
        band->topLeft->setCoords(from, 0);
        band->bottomRight->setCoords(to, 1);
        bands_.push_back(band);
    }
    stpRun->RequestReplot();
}

void frmRun::SetFollowing(bool on) {
    // The file is watched for new runs whichever is shown, but only the last run of a file grows.
    if (on) followStop_.clear();
    on ? followTimer_.start() : followTimer_.stop();
    const bool live = on && shown_ == static_cast<int>(reader_.Runs().size()) - 1;
    if (stpRun && stpRun->IsLive() != live) stpRun->SetLive(live);
    if (stpRun && !live) stpRun->ResetView();
    UpdateState();
}

void frmRun::FollowTick() {
    const int runsBefore = static_cast<int>(reader_.Runs().size());
    const bool showsNewest = shown_ == runsBefore - 1;
    const std::size_t rowsBefore = reader_.Runs()[shown_].Rows();
    const QString why = reader_.ReadFile(path_, offset_, true);
    if (!why.isEmpty()) {
        // Shown in the window, not in a box: this runs from a timer.
        followStop_ = QStringLiteral("Following stopped: %1").arg(why);
        chkFollow->setChecked(false);
        return;
    }
    const FinishedRun& run = reader_.Runs()[shown_];
    if (run.Rows() != rowsBefore) stpRun->AppendRun(run, rowsBefore);
    if (static_cast<int>(reader_.Runs().size()) != runsBefore) {
        FillRunChoice();
        // Whoever watched the newest run goes on to the one begun; a run picked from before stays.
        if (showsNewest) ShowRun(static_cast<int>(reader_.Runs().size()) - 1);
    }
    LetGoOfRows();
    if (reader_.Runs()[shown_].AlarmSpans() != alarmSpans_) ShowAlarmBands();
    UpdateState();
}

void frmRun::UpdateState() {
    if (shown_ < 0) return;
    const FinishedRun& run = reader_.Runs()[shown_];
    QString text = QStringLiteral("%1 readings").arg(run.Rows());
    if (reader_.Runs().size() > 1) text += QStringLiteral("; the file holds %1 runs").arg(reader_.Runs().size());
    const QString problem = !readProblem_.isEmpty() ? readProblem_ : followStop_;
    if (!problem.isEmpty()) text += QStringLiteral(". ") + problem;
    lblState->setText(text);
    lblState->setToolTip(problem);
}

QString frmRun::Folder() const { return QFileInfo(path_).absolutePath(); }

std::size_t frmRun::DataBytes() const {
    return reader_.Bytes() + (stpRun ? stpRun->DataBytes() : 0) +
           alarmSpans_.capacity() * sizeof(std::pair<double, double>) + bands_.size() * sizeof(QCPItemRect);
}
