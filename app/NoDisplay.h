#pragma once
// The windows need a display. Without one, Qt's window system would abort the program with a
// message about reinstalling it; the program says what is wrong instead, before any window is
// made, and points to the program that needs no display.
#include <QProcessEnvironment>
#include <QString>

// The line for standard error when no platform Qt would try can reach a display; empty when
// one can (or when the user chose a platform that needs none, such as offscreen or vnc).
QString NoDisplayAnswer(const QProcessEnvironment& environment);
