#pragma once
// The windows need a display. Without one (none set, a stale DISPLAY left by an ended ssh -X
// session, a platform that is not installed), Qt's window system would abort the program; the
// program says what is wrong instead, before any window is made, and points to the program
// that needs no display.
#include <QProcessEnvironment>
#include <QString>

// The line for standard error when no platform Qt would try is installed and can reach its
// display; empty when one can (or when the user chose an installed platform that needs none,
// such as offscreen or vnc).
QString NoDisplayAnswer(const QProcessEnvironment& environment);
