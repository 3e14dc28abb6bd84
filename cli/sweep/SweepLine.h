#pragma once
// A sweep's reading in RUN.csv: the monitor's columns with the limits, then the step, its
// setpoint, the chamber's and the reference's readings, and the step's phase.
#include "cli/text/Reading.h"

#include <string>

struct SweepColumns {
    int step = 0;
    double setpoint = 0;
    double chamber = 0;
    double reference = 0;
    bool recording = false;  // else settling
};

std::string SweepCsvHeader();
std::string SweepCsvLine(const std::string& time, double elapsedSeconds, const Reading& reading, const Limits& limits,
                         const SweepColumns& columns);
