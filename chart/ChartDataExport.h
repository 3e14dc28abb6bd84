#pragma once
// The chart's points as CSV text: UTF-8, a header line, then one line per time with the date and
// time of day (ISO 8601, to the millisecond) and each trace's value, for spreadsheets and scripts.
#include "chart/TracePoints.h"

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

// The file dialog's filter. The dialog adds its suffix to a name typed without one, before it
// asks about replacing a file; a suffix the user typed is kept.
extern const QString ChartDataFilter;
