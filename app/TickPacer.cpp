#include "app/TickPacer.h"

#include "app/MonitoringCycle.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace {
const int TickMs = static_cast<int>(std::lround(MonitoringCycle::TickSeconds * 1000));
}

TickPacer::TickPacer(QTimer& timer, MonitoringCycle& cycle) : QObject(&timer), timer_(timer), cycle_(cycle) {
    timer_.setInterval(TickMs);
    timer_.setTimerType(Qt::PreciseTimer);
    clock_.start();
    connect(&timer_, &QTimer::timeout, this, &TickPacer::Tick);
    QCoreApplication::instance()->installEventFilter(this);
}

void TickPacer::Start() {
    nextTickMs_ = clock_.elapsed() + TickMs;
    timer_.start(TickMs);
}

void TickPacer::Tick() {
    cycle_.tmrMaster_Timer();
    // Stopped by the tick (a board failure) or by a dialog that restarts it itself.
    if (!timer_.isActive()) return;
    const qint64 now = clock_.elapsed();
    // As a repeating timer keeps to its grid, unless the tick came so late that it is past.
    nextTickMs_ = std::max(nextTickMs_ + qint64{cycle_.PlanNextTick()} * TickMs, now);
    timer_.start(static_cast<int>(nextTickMs_ - now));
}

bool TickPacer::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
        if (timer_.isActive() && timer_.remainingTime() > TickMs) Start();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
