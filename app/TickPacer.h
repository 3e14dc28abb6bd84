#pragma once
// Drives the monitoring cycle from the master timer. The timer keeps its 10 ms grid, but wakes
// only for the ticks at which an activity is due: at a hundred wakes a second the ticks that
// found nothing to do were most of what the idle program cost. The user's input (a click, a
// key) brings the next tick back to 10 ms, so whatever it switches on runs as promptly as it
// would on a plain 10 ms timer.
#include <QElapsedTimer>
#include <QObject>

class QTimer;
class MonitoringCycle;

class TickPacer : public QObject {
public:
    TickPacer(QTimer& timer, MonitoringCycle& cycle);
    // The first tick one grid step from now.
    void Start();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Tick();

    QTimer& timer_;
    MonitoringCycle& cycle_;
    QElapsedTimer clock_;
    qint64 nextTickMs_ = 0;   // on clock_
};
