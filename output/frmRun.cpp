#include "output/frmRun.h"

#include "chart/ChartAlarmBands.h"
#include "chart/ChartEventMarks.h"
#include "chart/ChartInstrument.h"
#include "chart/StripChart.h"
#include "chip/RegisterDescriptions.h"
#include "files/EventMark.h"
#include "files/RunFileExcerpt.h"
#include "registers/RegMapStuff.h"
#include "widgets/Prompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QSignalBlocker>
#include <QTime>
#include <QVBoxLayout>

#include <limits>
#include <utility>

namespace {
constexpr int FollowIntervalMs = 1000;
// What a followed file gives the window in one step: the rows of half a megabyte take the chart
// milliseconds, so a large append reaches it in steps between which the window repaints.
constexpr qint64 FollowStepBytes = 512 << 10;
constexpr int RecentSeconds = 60;   // a file written this recently is followed from the start
const QString DegreesCelsius = QStringLiteral("°C");

// The six limits of the file's last reading as lines on the local (0) and remote (1) traces.
std::vector<LimitLine> LinesOf(const std::array<double, 6>& limits) {
    const QString names[] = {QStringLiteral("High"), QStringLiteral("Low"), QStringLiteral("THERM")};
    std::vector<LimitLine> lines;
    for (int i = 0; i < 6; ++i) lines.push_back({i / 3, names[i % 3], limits[i]});
    return lines;
}

// Each alarm flag of the Status register (the busy bit is none), bit 6 first, with its spans:
// from the run's status column, or where it has none set, from its events.
std::vector<ChartFlag> FlagsOf(const FinishedRun& run, const std::vector<RunEvent>& events) {
    const auto names = RegMapStuff::SplitBitNames(Chip::BitLabels::Status);
    std::vector<ChartFlag> flags;
    bool anySet = false;
    for (int label = 1; label < 8; ++label) {
        flags.push_back({QString::fromStdString(names[label]), run.FlagSpans(1 << (7 - label))});
        anySet = anySet || !flags.back().spans.empty();
    }
    if (anySet || run.elapsedAxis) return flags;
    for (auto& [name, spans] : AlarmSpansOfEvents(events, run.date, run.LastTime())) {
        for (ChartFlag& flag : flags) {
            if (flag.name == name) flag.spans = spans;
        }
    }
    return flags;
}
}  // namespace

frmRun::Reading frmRun::ReadWhole(const QString& path, bool growing, const std::atomic<bool>* stop) {
    Reading reading;
    reading.growing = growing;
    reading.problem = reading.reader.ReadFile(path, reading.position, growing, stop);
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
    form->StartReading([form] { return Read(form->path_, &form->stopReading_); }, &frmRun::FirstReadingDone);
    return form;
}

void frmRun::StartReading(std::function<Reading()> read, void (frmRun::*done)(Reading), bool holdChoices) {
    readingDone_ = done;
    if (holdChoices) {
        // Following and the choice of run wait for the file as read.
        chkFollow->setEnabled(false);
        cmbRun->setEnabled(false);
        followTimer_.stop();
    }
    reading_ = std::thread([this, read = std::move(read)] {
        read_ = read();
        QMetaObject::invokeMethod(this, &frmRun::ReadingDone, Qt::QueuedConnection);
    });
}

frmRun::frmRun(QString path, RunFileReader reader, qint64 offset, bool growing, QWidget* parent)
    : frmRun(std::move(path), parent) {
    ShowReading({std::move(reader), {offset, {}, {}}, growing, {}});
}

frmRun::frmRun(QString path, QWidget* parent)
    : ChildForm(parent), path_(std::move(path)), eventsPath_(EventsFileBeside(path_)) {
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
    (this->*std::exchange(readingDone_, nullptr))(std::move(reading));
}

void frmRun::FirstReadingDone(Reading reading) {
    if (!reading.problem.isEmpty()) {
        emit readFailed(reading.problem);
        OuterWindow()->close();
        return;
    }
    ShowReading(std::move(reading));
}

void frmRun::ShowReading(Reading reading) {
    reader_ = std::move(reading.reader);
    position_ = reading.position;
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
    if (IsReading()) return;   // following: the run is read once the following step is done
    lblState->setText(QStringLiteral("Reading %1 …").arg(path_));
    // While following, a last line half written waits for its end, as the following reads it.
    const bool growing = growing_ || chkFollow->isChecked();
    StartReading([this, growing] { return ReadWhole(path_, growing, &stopReading_); }, &frmRun::ReadAgainDone);
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
    position_ = reading.position;
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
    stpRun = new StripChart(std::max<int>(1, run.traceNames.size()), this);
    alarmBands_ = new ChartAlarmBands(*stpRun);
    eventMarks_ = new ChartEventMarks(*stpRun);
    QAction* addMark = stpRun->Menu().addAction(QStringLiteral("Add Mark…"), this, &frmRun::AddMark);
    connect(&stpRun->Menu(), &QMenu::aboutToShow, addMark, [this, addMark] {
        addMark->setVisible(!reader_.Runs()[shown_].elapsedAxis);
        addMark->setEnabled(QFileInfo::exists(eventsPath_));
        addMark->setToolTip(addMark->isEnabled() ? QString() : QStringLiteral("No events file: %1").arg(eventsPath_));
    });
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
    ShowEvents();
    SetFollowing(chkFollow->isChecked());
    UpdateState();
}

void frmRun::ShowAlarmBands() {
    std::vector<ChartFlag> flags = FlagsOf(reader_.Runs()[shown_], events_.Events());
    const auto& shown = alarmBands_->Flags();
    const auto same = [&](std::size_t i) { return flags[i].spans == shown[i].spans; };
    bool unchanged = flags.size() == shown.size();
    for (std::size_t i = 0; unchanged && i < flags.size(); ++i) unchanged = same(i);
    if (!unchanged) alarmBands_->SetFlags(std::move(flags));
}

void frmRun::SetEventsFile(const QString& path) {
    eventsPath_ = path;
    eventsNamed_ = true;
    events_ = {};
    eventsOffset_ = 0;
    if (shown_ >= 0 && stpRun) ShowEvents();
    UpdateState();
}

bool frmRun::ReadEvents() {
    const std::size_t before = events_.Events().size();
    eventsProblem_.clear();
    if (!eventsNamed_ && !QFileInfo::exists(eventsPath_)) return false;   // a run without events
    const QString why = events_.ReadFile(eventsPath_, eventsOffset_);
    if (!why.isEmpty()) {
        eventsProblem_ = QStringLiteral("Events not read: %1").arg(why);
    } else if (!events_.Problem().isEmpty()) {
        eventsProblem_ = QStringLiteral("Events file %1, %2").arg(eventsPath_, events_.Problem());
    }
    return events_.Events().size() != before;
}

void frmRun::ShowEvents() {
    ReadEvents();
    const FinishedRun& run = reader_.Runs()[shown_];
    ShowAlarmBands();
    if (run.elapsedAxis) return;   // times from the run's start: the events' clock times have no place
    std::vector<ChartMoment> moments;
    for (const EventMoment& moment : MarkedMoments(events_.Events(), run.date)) moments.push_back({moment.time, moment.text});
    std::vector<ChartSpan> spans;
    for (const EventSpan& span : BoardLossSpans(events_.Events(), run.date, run.LastTime())) {
        spans.push_back({span.from, span.to, span.text.isEmpty() ? QStringLiteral("board lost") : span.text});
    }
    eventMarks_->SetMoments(moments);
    eventMarks_->SetSpans(spans);
}

void frmRun::AddMark() {
    const QString text = Prompts::Current().Text(this, QStringLiteral("Add Mark"), QStringLiteral("Text of the mark:"));
    if (text.isEmpty()) return;
    const std::string why = AppendEventMark(eventsPath_, text.toStdString());
    if (!why.empty()) {
        ShowWarning(this, QStringLiteral("The mark was not added to %1.\n\n%2")
                              .arg(QDir::toNativeSeparators(eventsPath_), QString::fromStdString(why)));
        return;
    }
    ShowEvents();
    UpdateState();
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
    if (IsReading()) return;   // a step still reading: the next tick looks again
    // The rows were let go: the copy holds where the reading stands, and the window keeps its own
    // until the step is done.
    StartReading(
        [this, reader = reader_, position = position_]() mutable {
            Reading reading{std::move(reader), position, true, {}};
            reading.problem = reading.reader.Follow(path_, reading.position, reading.change, &stopReading_, FollowStepBytes);
            const qint64 from = reading.change == FileChange::None ? position.offset : 0;
            reading.more = reading.position.offset - from == FollowStepBytes;
            return reading;
        },
        &frmRun::FollowDone, false);
}

void frmRun::FollowDone(Reading reading) {
    const bool more = reading.more;
    if (!reading.problem.isEmpty()) {
        // Shown in the window, not in a box: this follows a timer.
        followStop_ = QStringLiteral("Following stopped: %1").arg(reading.problem);
        chkFollow->setChecked(false);
    } else if (reading.change != FileChange::None) {
        TakeNewFile(std::move(reading));
    } else {
        TakeAppended(std::move(reading));
    }
    if (wanted_ >= 0) {
        ReadAgainFor(wanted_);
    } else if (more && followTimer_.isActive()) {
        FollowTick();
    }
}

void frmRun::TakeAppended(Reading reading) {
    const int runsBefore = static_cast<int>(reader_.Runs().size());
    const bool showsNewest = shown_ == runsBefore - 1;
    const std::size_t rowsBefore = shown_ >= 0 ? reader_.Runs()[shown_].Rows() : 0;
    bool grew = false;
    reader_ = std::move(reading.reader);
    position_ = reading.position;
    if (shown_ >= 0) {
        const FinishedRun& run = reader_.Runs()[shown_];
        // The chart keeps every row of an opened run, the rows followed too: past its room it
        // would drop its oldest point at every row added, each drop moving all it keeps.
        const int room = stpRun->Points(0).Capacity();
        if (run.Rows() > static_cast<std::size_t>(room)) {
            stpRun->SetMaxPointsPerTrace(static_cast<int>(std::min<std::size_t>(
                std::max<std::size_t>(run.Rows(), room + room / 2), std::numeric_limits<int>::max())));
        }
        grew = run.Rows() != rowsBefore;
        if (grew) stpRun->AppendRun(run, rowsBefore);
    }
    if (static_cast<int>(reader_.Runs().size()) != runsBefore) {
        FillRunChoice();
        // Whoever watched the newest run goes on to the one begun; a run picked from before stays.
        if (showsNewest) ShowRun(static_cast<int>(reader_.Runs().size()) - 1);
    }
    LetGoOfRows();
    // The events follow too; a board still lost, or a flag still set, reaches the newest reading.
    if (ReadEvents() || grew) {
        if (shown_ >= 0) ShowEvents();
    }
    UpdateState();
}

void frmRun::TakeNewFile(Reading reading) {
    const QString why = reading.change == FileChange::Replaced   ? QStringLiteral("another file took its name")
                        : reading.change == FileChange::CutShort ? QStringLiteral("it was cut short")
                                                                 : QStringLiteral("it was written anew");
    followNote_ = QStringLiteral("Read again from the start at %1: %2.")
                      .arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")), why);
    reader_ = std::move(reading.reader);
    position_ = reading.position;
    // Nothing of the file before stays on show, even while the new one holds no run yet.
    shown_ = -1;
    if (stpRun) {
        delete stpRun;
        stpRun = nullptr;
        static_cast<QVBoxLayout*>(layout())->insertStretch(0, 1);   // where the chart comes
    }
    FillRunChoice();
    ShowRun(static_cast<int>(reader_.Runs().size()) - 1);
    UpdateState();
}

void frmRun::UpdateState() {
    if (shown_ < 0 && followNote_.isEmpty()) return;
    QString text = QStringLiteral("%1 readings").arg(shown_ < 0 ? 0 : reader_.Runs()[shown_].Rows());
    if (reader_.Runs().size() > 1) text += QStringLiteral("; the file holds %1 runs").arg(reader_.Runs().size());
    const QString problem = !readProblem_.isEmpty() ? readProblem_ : !followStop_.isEmpty() ? followStop_ : eventsProblem_;
    if (!problem.isEmpty()) text += QStringLiteral(". ") + problem;
    if (!followNote_.isEmpty()) text += QStringLiteral(". ") + followNote_;
    lblState->setText(text);
    lblState->setToolTip(problem);
}

QString frmRun::Folder() const { return QFileInfo(path_).absolutePath(); }

std::size_t frmRun::DataBytes() const {
    std::size_t bands = 0;
    if (alarmBands_) {
        for (const ChartFlag& flag : alarmBands_->Flags()) bands += flag.spans.capacity() * sizeof(flag.spans.front());
        bands += alarmBands_->Strips().size() * (sizeof(FlagStrip) + sizeof(QCPItemRect));
    }
    return reader_.Bytes() + (stpRun ? stpRun->DataBytes() : 0) + bands;
}
