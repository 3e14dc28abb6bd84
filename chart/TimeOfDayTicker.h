#pragma once
// Tick marks and labels of the strip chart's time axis: the time of day as hours, minutes and
// seconds ("14 05 09"), on steps that suit clock time (seconds, minutes, hours). Steps of whole
// days, as a run of many days has them, are labelled with the day: its date ("9 Dec") where the
// axis starts at a date's midnight, or the days from the start ("3 d") on an elapsed-time axis.
#include <qcustomplot.h>

#include <QDate>
#include <QString>

// The time of day of a time on the chart's axis, which goes on past 24 hours after midnight:
// "HH MM SS", with the given number of decimals (0 to 2) after the seconds.
QString TimeOfDayText(double seconds, int decimals = 0);

class TimeOfDayTicker : public QCPAxisTicker {
public:
    // The date whose midnight the axis counts from; none for an axis of elapsed time.
    void SetStartDate(const QDate& date) { startDate_ = date; }

protected:
    double getTickStep(const QCPRange& range) override;
    int getSubTickCount(double tickStep) override;
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar, int precision) override;

private:
    int decimals_ = 0;   // for steps below a second
    bool daySteps_ = false;
    QDate startDate_;
};
