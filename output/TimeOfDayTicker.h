#pragma once
// Tick marks and labels of the strip chart's time axis: the time of day as hours, minutes and
// seconds ("14 05 09"), on steps that suit clock time (seconds, minutes, hours).
#include <qcustomplot.h>

#include <QString>

// The time of day of a time on the chart's axis, which goes on past 24 hours after midnight:
// "HH MM SS", with the given number of decimals (0 to 2) after the seconds.
QString TimeOfDayText(double seconds, int decimals = 0);

class TimeOfDayTicker : public QCPAxisTicker {
protected:
    double getTickStep(const QCPRange& range) override;
    int getSubTickCount(double tickStep) override;
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar, int precision) override;

private:
    int decimals_ = 0;   // for steps below a second
};
