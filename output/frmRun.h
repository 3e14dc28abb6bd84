#pragma once
// A finished run in a chart of its own, with every instrument tool of the live graph: the run
// read from its file, the choice of run where the file holds several, the limits of its last
// reading, the spans with an alarm flag set as light bands, and Follow File for a run that is
// still being written.
#include "files/RunFileReader.h"
#include "widgets/ChildForm.h"

#include <QTimer>

class QCheckBox;
class QComboBox;
class QLabel;
class StripChart;

class frmRun : public ChildForm {
    Q_OBJECT
public:
    // Reads the file; on a problem returns nullptr and the message for the user in *problem.
    static frmRun* Open(const QString& path, QString* problem, QWidget* parent = nullptr);

    StripChart* stpRun = nullptr;
    QComboBox* cmbRun = nullptr;     // shown where the file holds more than one run
    QCheckBox* chkFollow = nullptr;  // "Follow File"
    QLabel* lblState = nullptr;      // what the window knows of its file: its runs, a stop in following

    int RunShown() const { return shown_; }
    void ShowRun(int index);
    // One look at the file while following: the rows appended since.
    void FollowTick();

signals:
    void openRunRequested();

private:
    frmRun(QString path, RunFileReader reader, qint64 offset, QWidget* parent);
    void SetFollowing(bool on);
    void ShowAlarmBands();
    void UpdateState();

    QString path_;
    RunFileReader reader_;
    qint64 offset_ = 0;
    int shown_ = -1;
    QTimer followTimer_;
    QString followStop_;   // why following stopped
    std::vector<class QCPItemRect*> bands_;
};
