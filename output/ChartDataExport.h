#pragma once
// The chart's points as CSV text: UTF-8, a header line, then one line per time with the date and
// time of day (ISO 8601, to the millisecond) and each trace's value, for spreadsheets and scripts.
#include "output/TracePoints.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

// The points whose times lie in [from, to]. The time axis counts seconds from the midnight that
// began runDate. Traces whose points share a time share a line (the n-th of equal times with the
// n-th); a trace without a point at that time, or without a value, leaves its field empty.
QByteArray ChartDataCsv(const std::vector<const TracePoints*>& traces, const QStringList& columnNames,
                        const QDate& runDate, double from, double to);

// The file dialog's filter: its two entries choose the visible span or the whole run.
extern const QString ChartDataFilter;
bool ChartDataFilterWantsWholeRun(const QString& chosenFilter);
// The name with ".csv" added, unless it already ends in it.
QString ChartDataFileName(const QString& fileName);
