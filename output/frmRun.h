#pragma once
// A finished run in a chart of its own, with every instrument tool of the live graph: the run
// read from its file, the choice of run where the file holds several, the limits of its last
// reading, the spans with an alarm flag set as light bands, and Follow File for a run that is
// still being written. Once the chart has taken a run's rows, the window lets the reader's copy
// go: showing another run of the file reads the file again, off the user's thread as at first.
#include "files/RunFileReader.h"
#include "widgets/ChildForm.h"

#include <QTimer>

#include <atomic>
#include <functional>
#include <thread>

class QCheckBox;
class QComboBox;
class QLabel;
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
    void ShowRun(int index);
    // One look at the file while following: the rows appended since, and the runs begun since.
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
        qint64 offset = 0;
        bool growing = false;   // written in the last minute: read as still being written
        QString problem;
    };
    // The whole file, its last line waiting for its end where `growing`.
    static Reading ReadWhole(const QString& path, bool growing, const std::atomic<bool>* stop);
    // A first reading: growing where written in the last minute, and then refused without readings.
    static Reading Read(const QString& path, const std::atomic<bool>* stop);
    // Reads the whole file on the reading thread; ReadingDone takes it up.
    void StartReading(std::function<Reading()> read);
    // The window still without its run.
    frmRun(QString path, QWidget* parent);
    void ShowReading(Reading reading);
    void ReadingDone();

    // Reads the whole file anew for run `index`, whose rows were let go; the chart shows the run
    // before until it is read, or says in the window why it could not be.
    void ReadAgainFor(int index);
    void ReadAgainDone(Reading reading);
    // The choice of run as the reader has the runs.
    void FillRunChoice();
    void LetGoOfRows();
    void SetFollowing(bool on);
    void ShowAlarmBands();
    void UpdateState();

    QString path_;
    RunFileReader reader_;
    qint64 offset_ = 0;
    bool growing_ = false;   // how the file was read at first, and so how it is read again (unless followed)
    int shown_ = -1;
    std::vector<std::pair<double, double>> alarmSpans_;   // of the run shown, as banded
    QTimer followTimer_;
    QString followStop_;   // why following stopped
    QString readProblem_;  // why another run could not be shown
    int wanted_ = -1;      // the run to show once the file is read again
    std::vector<class QCPItemRect*> bands_;
    std::thread reading_;
    std::atomic<bool> stopReading_{false};
    Reading read_;   // the reading thread's until it is done
};
