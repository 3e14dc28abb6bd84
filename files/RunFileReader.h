#pragma once
// Reads the runs that the programs write: kts9320b-cli's monitor CSV (with or without its limit
// columns, the status as an integer or as 0x hex), the chart's CSV export, and the windows
// program's Windows-1252 log with one or more logging runs. The bytes may come in pieces, as a
// file that is still being written grows: a last line without its end waits for the next piece.
#include "files/FileIdentity.h"
#include "files/FinishedRun.h"

#include <QByteArray>
#include <QByteArrayView>

class QFile;

#include <atomic>
#include <optional>

// What stopped the reading: the line (0 for the file as a whole) and what was expected there.
struct RunFileProblem {
    qsizetype line = 0;
    QString what;
    bool IsEmpty() const { return what.isEmpty(); }
};

// How far a file has been read, and which file it was.
struct ReadPosition {
    qint64 offset = 0;
    FileIdentity identity;
    QByteArray lastBytes;   // the few bytes before the offset, as read
};

// What following found of its file.
enum class FileChange { None, Replaced, CutShort, Rewritten };

class RunFileReader {
public:
    static constexpr qsizetype MaxLineBytes = 4096;

    // Reads the file from the position on to its present end, or `budget` bytes further where
    // it is not negative, and moves the position there. At the end of a finished file (not
    // `growing`) the last line needs no line end, and a file without any reading is a problem.
    // Returns the message for the user, or nothing. A reading on a thread of its own stops
    // between pieces once `stop` is set. What is not a regular file (a pipe would block the
    // reading for good) is refused before it is opened.
    QString ReadFile(const QString& path, ReadPosition& position, bool growing, const std::atomic<bool>* stop = nullptr,
                     qint64 budget = -1);
    // Reads on as ReadFile does, as still growing, unless the file under the name is another one
    // now, or shorter than what was read, or changed in the bytes last read: then it is read
    // again from its start, by this reader begun anew, and `change` says why.
    QString Follow(const QString& path, ReadPosition& position, FileChange& change, const std::atomic<bool>* stop,
                   qint64 budget);

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
    QString ReadOpenFile(QFile& file, ReadPosition& position, bool growing, const std::atomic<bool>* stop, qint64 budget);

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
    // The run's first offset from UTC, in which every row of the run is placed.
    std::optional<int> offsetOfRun_;
};
