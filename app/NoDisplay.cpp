#include "app/NoDisplay.h"

#include "app/CommandLine.h"

#include <QStringList>

QString NoDisplayAnswer(const QProcessEnvironment& environment) {
    // QT_QPA_PLATFORM lists the platforms to try ("wayland;xcb"), each with options after ':'.
    const QString chosen = environment.value(QStringLiteral("QT_QPA_PLATFORM"));
#ifdef _WIN32
    // Windows' own platform always has the desktop to show the windows on.
    const QStringList defaults{QStringLiteral("windows")};
#else
    const QStringList defaults{QStringLiteral("wayland"), QStringLiteral("xcb")};
#endif
    const QStringList platforms = chosen.isEmpty() ? defaults : chosen.split(';');
    for (const QString& platform : platforms) {
        const QString name = platform.section(':', 0, 0);
        const char* display = name.startsWith(QLatin1String("xcb"))       ? "DISPLAY"
                              : name.startsWith(QLatin1String("wayland")) ? "WAYLAND_DISPLAY"
                                                                          : nullptr;
        if (!display || !environment.value(QLatin1String(display)).isEmpty()) return QString();
    }
    return QStringLiteral("%1: there is no display to show the windows on; kts9320b-cli works without one.")
        .arg(QLatin1String(CommandName));
}
