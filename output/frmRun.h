#pragma once
// A finished run in a chart of its own, with every instrument tool of the live graph: the run
// read from its file, the choice of run where the file holds several, the limits of its last
// reading, each alarm flag's spans as bands of its own, the run's events (its marks, the steps
// of a sweep, the board lost and back) from the events file beside it, and Follow File for a run
// that is still being written, its events included. Once the chart has taken a run's rows, the window lets the reader's copy
// go: showing another run of the file reads the file again, off the user's thread as at first.
#include "files/RunEvents.h"
#include "files/RunFileReader.h"
#include "widgets/ChildForm.h"

#include <QTimer>

#include <atomic>
#include <functional>
#include <thread>

class QCheckBox;
class QComboBox;
class QLabel;
class ChartAlarmBands;
class ChartEventMarks;
class StripChart;

class frmRun : public ChildForm {
    Q_OBJECT
public:
    // Reads the file; on a problem returns nullptr and the message for the user in *problem.
    static frmRun* Open(const QString& path, QString* problem, QWidget* parent = nullptr);
    // A window at once, which reads the file on a thread of its own with "Reading …" in it (a
    // large run takes seconds): then it shows the run, or emits readFailed and closes. Closed
    // while it reads, it stops reading.
    static frmRun* StartOpen(const QString& path, QWidget* parent = nullptr);
    // A window on a file read already up to `offset`, as finished or as `growing`.
    frmRun(QString path, RunFileReader reader, qint64 offset, bool growing, QWidget* parent = nullptr);
    ~frmRun() override;
    bool IsReading() const { return reading_.joinable(); }

    StripChart* stpRun = nullptr;
    QComboBox* cmbRun = nullptr;     // shown where the file holds more than one run
    QCheckBox* chkFollow = nullptr;  // "Follow File"
    QLabel* lblState = nullptr;      // what the window knows of its file: its runs, a stop in following

    int RunShown() const { return shown_; }
    // The run's events from this file instead of the one beside it; a named file that cannot be
    // read is said in the window.
    void SetEventsFile(const QString& path);
    const QString& EventsFile() const { return eventsPath_; }
    // "Add Mark…": asks for a text and appends it to the events file as a mark at this moment.
    void AddMark();
    ChartAlarmBands* AlarmBands() const { return alarmBands_; }
    ChartEventMarks* EventMarks() const { return eventMarks_; }
    void ShowRun(int index);
    // One look at the file while following, on the reading thread: the rows appended since, and
    // the runs begun since. A file put in place of it, or cut short, is read again from its start.
    void FollowTick();
    // The run's folder, where the window's file dialogs start.
    QString Folder() const;
    // The memory the window keeps of its file: the chart's points and what it holds of the runs.
    std::size_t DataBytes() const;

signals:
    void openRunRequested();
    // The message for the user; the window closes after.
    void readFailed(const QString& problem);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // What the first reading of a file gives.
    struct Reading {
        RunFileReader reader;
        ReadPosition position;
        bool growing = false;   // written in the last minute: read as still being written
        QString problem;
        FileChange change = FileChange::None;   // of a followed file
        bool more = false;                      // a followed file has more to read at once
    };
    // The whole file, its last line waiting for its end where `growing`.
    static Reading ReadWhole(const QString& path, bool growing, const std::atomic<bool>* stop);
    // A first reading: growing where written in the last minute, and then refused without readings.
    static Reading Read(const QString& path, const std::atomic<bool>* stop);
    // Reads on the reading thread; ReadingDone hands the reading to `done`. Following leaves the
    // choices open while it reads.
    void StartReading(std::function<Reading()> read, void (frmRun::*done)(Reading), bool holdChoices = true);
    // The window still without its run.
    frmRun(QString path, QWidget* parent);
    void ShowReading(Reading reading);
    void ReadingDone();
    void FirstReadingDone(Reading reading);
    void FollowDone(Reading reading);
    // The rows and runs a followed file gained.
    void TakeAppended(Reading reading);
    // A followed file read again from its start, in place of the run shown.
    void TakeNewFile(Reading reading);

    // Reads the whole file anew for run `index`, whose rows were let go; the chart shows the run
    // before until it is read, or says in the window why it could not be.
    void ReadAgainFor(int index);
    void ReadAgainDone(Reading reading);
    // The choice of run as the reader has the runs.
    void FillRunChoice();
    void LetGoOfRows();
    void SetFollowing(bool on);
    void ShowAlarmBands();
    // Reads what the events file gained since the last reading; true when that changed anything.
    bool ReadEvents();
    void ShowEvents();
    void UpdateState();

    QString path_;
    RunFileReader reader_;
    ReadPosition position_;
    bool growing_ = false;   // how the file was read at first, and so how it is read again (unless followed)
    int shown_ = -1;
    ChartAlarmBands* alarmBands_ = nullptr;   // of the chart shown
    ChartEventMarks* eventMarks_ = nullptr;
    QString eventsPath_;
    bool eventsNamed_ = false;   // by the user, not only looked for beside the run
    RunEventsReader events_;
    qint64 eventsOffset_ = 0;
    QString eventsProblem_;
    QTimer followTimer_;
    QString followStop_;   // why following stopped
    QString readProblem_;  // why another run could not be shown
    QString followNote_;   // that a followed file was read again from its start, and why
    int wanted_ = -1;      // the run to show once the file is read again
    std::thread reading_;
    std::atomic<bool> stopReading_{false};
    Reading read_;   // the reading thread's until it is done
    void (frmRun::*readingDone_)(Reading) = nullptr;
};
