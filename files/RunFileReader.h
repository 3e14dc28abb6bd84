#pragma once
// Reads the runs that the programs write: kts9320b-cli's monitor CSV (with or without its limit
// columns, the status as an integer or as 0x hex), the chart's CSV export, and the windows
// program's Windows-1252 log with one or more logging runs. The bytes may come in pieces, as a
// file that is still being written grows: a last line without its end waits for the next piece.
#include "files/FinishedRun.h"

#include <QByteArray>
#include <QByteArrayView>

#include <atomic>

// What stopped the reading: the line (0 for the file as a whole) and what was expected there.
struct RunFileProblem {
    qsizetype line = 0;
    QString what;
    bool IsEmpty() const { return what.isEmpty(); }
};

class RunFileReader {
public:
    static constexpr qsizetype MaxLineBytes = 4096;

    // Reads the file from `offset` on to its present end and moves `offset` there. At the end of
    // a finished file (not `growing`) the last line needs no line end, and a file without any
    // reading is a problem. Returns the message for the user, or nothing. A reading on a thread
    // of its own stops between pieces once `stop` is set.
    QString ReadFile(const QString& path, qint64& offset, bool growing, const std::atomic<bool>* stop = nullptr);

    // Reads the whole lines of the bytes that follow what came before. At the end of the file a
    // last line without its end is read too. False once a problem is found; nothing more is read.
    bool Feed(QByteArrayView bytes, bool atEnd);
    // After the end of the file: a file without any reading is a problem too.
    bool Finish();

    std::vector<FinishedRun>& Runs() { return runs_; }
    const std::vector<FinishedRun>& Runs() const { return runs_; }
    // The memory the reader and its runs take.
    std::size_t Bytes() const;
    const RunFileProblem& Problem() const { return problem_; }
    // The message for the user: the file, the line and what was expected there.
    QString Message(const QString& fileName) const;

private:
    enum class Format { Unknown, Monitor, ChartExport, WindowsLog };
    bool ReadLine(QByteArrayView line);
    bool StartFormat(QByteArrayView line);
    bool ReadMonitorHeader(QByteArrayView line);
    bool ReadChartHeader(QByteArrayView line);
    bool ReadLogHeader(QByteArrayView line);
    // Splits a row into fields_ (reused: a run has millions of rows); false unless it has as
    // many fields as the header.
    bool SplitRow(QByteArrayView line);
    bool ReadMonitorRow(QByteArrayView line);
    bool ReadChartRow(QByteArrayView line);
    bool ReadLogRow(QByteArrayView line);
    // The clock time of an ISO 8601 field in seconds from the run's first date's midnight.
    bool ClockSeconds(QByteArrayView field, double& seconds);
    FinishedRun& NewRun(QStringList traceNames);
    bool Fail(const QString& what);

    Format format_ = Format::Unknown;
    std::vector<FinishedRun> runs_;
    RunFileProblem problem_;
    QByteArray pending_;   // a line still without its end
    std::vector<QByteArrayView> fields_;
    qsizetype line_ = 0;
    bool inLogHeading_ = false;   // between a log's title and its column header
    // Monitor columns: time, local, remote, status, then the six limits; -1 where absent.
    std::array<int, 10> columns_{};
    int fieldCount_ = 0;
    // The last date seen and its day from the run's first date, so each line's date is cheap.
    QByteArray dateText_;
    qint64 dateDay_ = 0;
};
