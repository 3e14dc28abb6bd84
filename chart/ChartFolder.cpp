#include "chart/ChartFolder.h"

namespace ChartFolder {

namespace {
QString g_programFolder;
}  // namespace

void SetProgramFolder(const QString& folder) { g_programFolder = folder; }
const QString& ProgramFolder() { return g_programFolder; }

}  // namespace ChartFolder
