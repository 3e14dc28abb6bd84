#include "app/DisplayProbe.h"

// Windows has no Wayland display to ask.
bool WaylandDisplayAnswers(const QProcessEnvironment&) { return false; }
