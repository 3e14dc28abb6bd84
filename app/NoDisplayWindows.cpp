#include "app/NoDisplay.h"

// Windows' own platform always has the desktop to show the windows on.
QString NoDisplayAnswer(const QProcessEnvironment&) { return QString(); }
