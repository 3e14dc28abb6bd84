#include "files/RunFileExcerpt.h"

#include "files/RunFileReader.h"

#include <QFile>

namespace {

// Reads the file line by line and sorts each line into a run's head or its rows.
class Excerpt {
public:
    Excerpt(int run, double from, double to, QByteArray& out) : run_(run), from_(from), to_(to), out_(out) {}

    // False once the reader found a problem, or the run wanted is over.
    bool Line(QByteArrayView line, bool atEnd) {
        const std::size_t runsBefore = reader_.Runs().size();
        const std::size_t rowsBefore = runsBefore > 0 ? reader_.Runs().back().Rows() : 0;
        if (!reader_.Feed(line, atEnd)) return false;
        auto& runs = reader_.Runs();
        if (runs.size() > runsBefore) {   // a header: its run begins
            const int begun = static_cast<int>(runs.size()) - 1;
            if (begun > run_) return false;
            if (begun == run_) out_.append(head_).append(line.data(), line.size());
            head_.clear();
            return true;
        }
        if (runsBefore == 0 || runs.back().Rows() == rowsBefore) {   // a title, a blank line
            head_.append(line.data(), line.size());
            return true;
        }
        head_.clear();
        FinishedRun& current = runs.back();
        const double time = current.LastTime();
        if (static_cast<int>(runs.size()) - 1 == run_ && from_ <= time && time <= to_) out_.append(line.data(), line.size());
        // Only the count of rows and the last time are needed here: the memory stays small.
        if (current.times.size() >= RowsHeld) current.LetGoOfRows();
        return true;
    }
    bool Found() const { return static_cast<int>(reader_.Runs().size()) > run_; }
    QString Problem(const QString& path) const { return reader_.Problem().IsEmpty() ? QString() : reader_.Message(path); }

private:
    static constexpr std::size_t RowsHeld = 1 << 16;
    RunFileReader reader_;
    int run_;
    double from_;
    double to_;
    QByteArray& out_;
    QByteArray head_;   // the lines since the last row, which head the next run
};

}  // namespace

QString RunFileExcerpt(const QString& path, int run, double from, double to, bool growing, QByteArray& excerpt) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QStringLiteral("%1: %2").arg(path, file.errorString());
    Excerpt lines(run, from, to, excerpt);
    constexpr qint64 Piece = 1 << 20;
    QByteArray bytes;
    QByteArray pending;   // a line still without its end
    bool going = true;
    while (going) {
        bytes = file.read(Piece);
        if (bytes.isEmpty()) break;
        qsizetype start = 0;
        for (qsizetype end; going && (end = bytes.indexOf('\n', start)) >= 0; start = end + 1) {
            QByteArrayView line = QByteArrayView(bytes).sliced(start, end + 1 - start);
            if (!pending.isEmpty()) {
                pending.append(line.data(), line.size());
                line = pending;
            }
            going = lines.Line(line, false);
            pending.clear();
        }
        if (going) pending.append(bytes.constData() + start, bytes.size() - start);
    }
    if (file.error() != QFileDevice::NoError) return QStringLiteral("%1: %2").arg(path, file.errorString());
    if (going && !growing && !pending.isEmpty()) lines.Line(pending, true);
    if (const QString problem = lines.Problem(path); !problem.isEmpty()) return problem;
    if (!lines.Found()) return QStringLiteral("%1: the file no longer holds run %2").arg(path).arg(run + 1);
    return {};
}
