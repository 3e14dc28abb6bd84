#pragma once
// RUN.steps.csv: one row per finished step, under a line that carries the plan's fingerprint
// so that a resumed sweep can tell it continues the same plan.
#include <QString>
#include <optional>
#include <string>
#include <vector>

struct StepResult {
    int step = 0;  // from 1
    double setpoint = 0;
    bool settled = false;
    double settleS = 0;
    double reference = 0;  // the means over the recorded readings
    double local = 0;
    double localSd = 0;
    double remote = 0;
    double remoteSd = 0;
    bool pass = false;
    double gapS = 0;  // readings lost while recording, made up by recording longer
    double LocalError() const { return local - reference; }
    double RemoteError() const { return remote - reference; }
};

// RUN.csv -> RUN.steps.csv; any other name gains ".steps.csv".
QString StepsFileName(const QString& runFile);
// "# plan 0123456789abcdef\nstep,setpoint_C,...\n"
std::string StepsFileHead(const std::string& fingerprint);
std::string StepsCsvLine(const StepResult& step);

// The steps a file already holds, for a resume: none, with the refusal, for a file whose plan
// is another one or whose rows cannot be read. A missing or empty file holds no steps.
std::optional<std::vector<StepResult>> ReadStepsFile(const QString& path, const std::string& fingerprint,
                                                     std::string& refusal);
