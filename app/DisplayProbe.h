#pragma once
// Asks, before any window is made, whether a window system can be reached: whether a platform
// plugin of that name exists, and whether an X or Wayland display answers. Qt's own attempt
// would end the program with an abort instead.
#include <QProcessEnvironment>
#include <QString>

// True when a platform plugin with this key ("xcb", "offscreen") is installed where Qt looks.
bool PlatformPluginExists(const QString& name, const QProcessEnvironment& environment);
// True when the X display (as DISPLAY names it) accepts a connection. The connection stays
// open until ReleaseProbedDisplay, once Qt has its own: a server such as Xvfb resets when its
// last client leaves, and refuses connections while it does.
bool XDisplayAnswers(const QString& display);
void ReleaseProbedDisplay();
// True when the Wayland display (as WAYLAND_DISPLAY names it) accepts a connection.
bool WaylandDisplayAnswers(const QProcessEnvironment& environment);
