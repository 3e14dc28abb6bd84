#include "app/DisplayProbe.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibrary>
#include <QPluginLoader>

namespace {

QStringList PlatformPluginFolders(const QProcessEnvironment& environment) {
    QStringList folders = environment.value(QStringLiteral("QT_QPA_PLATFORM_PLUGIN_PATH")).split(QDir::listSeparator(), Qt::SkipEmptyParts);
    for (const QString& path : QCoreApplication::libraryPaths()) folders << path + QStringLiteral("/platforms");
    return folders;
}

bool HasKey(const QString& file, const QString& name) {
    const QJsonArray keys = QPluginLoader(file).metaData().value(QStringLiteral("MetaData")).toObject().value(QStringLiteral("Keys")).toArray();
    for (const auto& key : keys) {
        if (key.toString().compare(name, Qt::CaseInsensitive) == 0) return true;
    }
    return false;
}

}  // namespace

bool PlatformPluginExists(const QString& name, const QProcessEnvironment& environment) {
    QStringList files;
    for (const QString& folder : PlatformPluginFolders(environment)) {
        for (const QString& file : QDir(folder).entryList(QDir::Files)) files << QDir(folder).filePath(file);
    }
    // The file's name usually tells (libqxcb.so, qwindows.dll) without reading a plugin; only a
    // name no file tells is looked up in every plugin's keys.
    for (const QString& file : files) {
        const QString base = QFileInfo(file).completeBaseName();
        if (base == QLatin1String("libq") + name || base == QLatin1Char('q') + name) return true;
    }
    for (const QString& file : files) {
        if (QLibrary::isLibrary(file) && HasKey(file, name)) return true;
    }
    return false;
}

namespace {

using Disconnect = void (*)(void*);
// The connection that answered, and how to close it.
void* g_heldConnection = nullptr;
Disconnect g_disconnect = nullptr;

}  // namespace

bool XDisplayAnswers(const QString& display) {
    if (display.isEmpty()) return false;
    // libxcb is what Qt's xcb plugin connects with; it is loaded only to ask.
    QLibrary xcb(QStringLiteral("xcb"), 1);
    using Connect = void* (*)(const char*, int*);
    using HasError = int (*)(void*);
    const auto connect = reinterpret_cast<Connect>(xcb.resolve("xcb_connect"));
    const auto hasError = reinterpret_cast<HasError>(xcb.resolve("xcb_connection_has_error"));
    const auto disconnect = reinterpret_cast<Disconnect>(xcb.resolve("xcb_disconnect"));
    if (!connect || !hasError || !disconnect) return false;
    ReleaseProbedDisplay();
    void* connection = connect(display.toLocal8Bit().constData(), nullptr);
    if (hasError(connection) != 0) {
        disconnect(connection);
        return false;
    }
    g_heldConnection = connection;
    g_disconnect = disconnect;
    return true;
}

void ReleaseProbedDisplay() {
    if (g_heldConnection) g_disconnect(g_heldConnection);
    g_heldConnection = nullptr;
}
