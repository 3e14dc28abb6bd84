#include "app/DisplayProbe.h"

#include <QFile>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

bool WaylandDisplayAnswers(const QProcessEnvironment& environment) {
    QString path = environment.value(QStringLiteral("WAYLAND_DISPLAY"));
    if (path.isEmpty()) return false;
    if (!path.startsWith(QLatin1Char('/')))
        path = environment.value(QStringLiteral("XDG_RUNTIME_DIR")) + QLatin1Char('/') + path;
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    if (name.size() >= static_cast<qsizetype>(sizeof(address.sun_path))) return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0) return false;
    const bool answers = ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::close(socket);
    return answers;
}
