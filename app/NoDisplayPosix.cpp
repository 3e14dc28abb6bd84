#include "app/NoDisplay.h"

#include "app/CommandName.h"
#include "app/DisplayProbe.h"

#include <QStringList>

QString NoDisplayAnswer(const QProcessEnvironment& environment) {
    // QT_QPA_PLATFORM lists the platforms to try ("wayland;xcb"), each with options after ':';
    // the windows can be shown when one of them can be reached.
    const QString chosen = environment.value(QStringLiteral("QT_QPA_PLATFORM"));
    const QStringList defaults{QStringLiteral("wayland"), QStringLiteral("xcb")};
    const QStringList platforms = chosen.isEmpty() ? defaults : chosen.split(';');
    for (const QString& platform : platforms) {
        const QString name = platform.section(':', 0, 0);
        // Other platforms, such as offscreen or vnc, need no display. The display is asked
        // first: it is the quicker question.
        const bool reached = name.startsWith(QLatin1String("wayland")) ? WaylandDisplayAnswers(environment)
                             : name == QLatin1String("xcb") ? XDisplayAnswers(environment.value(QStringLiteral("DISPLAY")))
                                                            : true;
        if (reached && PlatformPluginExists(name, environment)) return QString();
    }
    return QStringLiteral("%1: there is no display to show the windows on; kts9320b-cli works without one.")
        .arg(QLatin1String(CommandName));
}
