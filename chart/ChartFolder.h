#pragma once
// The program's folder, where the chart's file dialogs start (see DialogFolder). The chart knows
// nothing of where the program lies: the program gives it at start, before the first chart opens.
#include <QString>

namespace ChartFolder {

void SetProgramFolder(const QString& folder);
const QString& ProgramFolder();

}  // namespace ChartFolder
