#include "cli/sweep/StepsFile.h"

#include <QFile>
#include <QStringList>

namespace {

constexpr const char* PlanMark = "# plan ";
constexpr const char* Header = "step,setpoint_C,settled,settle_s,reference_C,local_C,local_sd,local_error_C,remote_C,"
                               "remote_sd,remote_error_C,pass";
constexpr int Columns = 12;

std::string Fixed(double value, int decimals) { return QString::number(value, 'f', decimals).toStdString(); }
std::string YesNo(bool yes) { return yes ? "yes" : "no"; }

std::optional<StepResult> ParseRow(const QString& line) {
    const QStringList cells = line.split(',');
    if (cells.size() != Columns) return std::nullopt;
    std::vector<double> numbers;
    bool ok = true;
    for (const int i : {1, 3, 4, 5, 6, 8, 9}) {
        bool cell = false;
        numbers.push_back(cells[i].toDouble(&cell));
        ok = ok && cell;
    }
    StepResult r;
    bool step = false;
    r.step = cells[0].toInt(&step);
    const auto yes = [](const QString& cell) { return cell == QLatin1String("yes"); };
    if (!ok || !step) return std::nullopt;
    r.setpoint = numbers[0];
    r.settled = yes(cells[2]);
    r.settleS = numbers[1];
    r.reference = numbers[2];
    r.local = numbers[3];
    r.localSd = numbers[4];
    r.remote = numbers[5];
    r.remoteSd = numbers[6];
    r.pass = yes(cells[11]);
    return r;
}

}  // namespace

QString StepsFileName(const QString& runFile) {
    if (runFile.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        return runFile.left(runFile.size() - 4) + QStringLiteral(".steps.csv");
    return runFile + QStringLiteral(".steps.csv");
}

std::string StepsFileHead(const std::string& fingerprint) {
    return PlanMark + fingerprint + "\n" + Header + "\n";
}

std::string StepsCsvLine(const StepResult& s) {
    return std::to_string(s.step) + "," + Fixed(s.setpoint, 3) + "," + YesNo(s.settled) + "," + Fixed(s.settleS, 1) +
           "," + Fixed(s.reference, 3) + "," + Fixed(s.local, 3) + "," + Fixed(s.localSd, 3) + "," +
           Fixed(s.LocalError(), 3) + "," + Fixed(s.remote, 3) + "," + Fixed(s.remoteSd, 3) + "," +
           Fixed(s.RemoteError(), 3) + "," + YesNo(s.pass) + "\n";
}

std::optional<std::vector<StepResult>> ReadStepsFile(const QString& path, const std::string& fingerprint,
                                                     std::string& refusal) {
    std::vector<StepResult> steps;
    QFile file(path);
    if (!file.exists()) return steps;
    const std::string name = QFile::encodeName(path).toStdString();
    if (!file.open(QIODevice::ReadOnly)) {
        refusal = "could not read " + name + ": " + file.errorString().toStdString();
        return std::nullopt;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    if (lines.isEmpty()) return steps;
    if (lines[0] != QString::fromStdString(PlanMark + fingerprint)) {
        refusal = name + " belongs to another plan: a sweep resumes only the plan it started with";
        return std::nullopt;
    }
    for (int i = 2; i < lines.size(); ++i) {
        const auto row = ParseRow(lines[i]);
        if (!row || row->step != static_cast<int>(steps.size()) + 1) {
            refusal = name + ":" + std::to_string(i + 1) + ": not a step of this sweep";
            return std::nullopt;
        }
        steps.push_back(*row);
    }
    return steps;
}
