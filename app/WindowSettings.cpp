#include "app/WindowSettings.h"

#include "state/GeneralStuff.h"
#include "registers/NumberText.h"

#include <QLocale>
#include <QSettings>
#include <cmath>

namespace WindowSettings {

namespace {

constexpr const char* Section = "Settings";


double ReadValue(QSettings& store, const char* key, double fallback) {
    const QVariant stored = store.value(key);
    if (!stored.isValid()) return fallback;
    bool ok = false;
    const float value = QLocale::c().toFloat(stored.toString().trimmed(), &ok);
    return ok && std::isfinite(value) ? value : fallback;
}

}  // namespace

QRectF LoadMainGeometry() {
    QSettings store(GeneralStuff::AppTitle, GeneralStuff::AppTitle);
    store.beginGroup(Section);
    const double left = ReadValue(store, "MainLeft", DefaultLeft);
    const double top = ReadValue(store, "MainTop", DefaultTop);
    const double width = ReadValue(store, "MainWidth", DefaultWidth);
    const double height = ReadValue(store, "MainHeight", DefaultHeight);
    return {left, top, width, height};
}

void SaveMainGeometry(const QRectF& twips) {
    QSettings store(GeneralStuff::AppTitle, GeneralStuff::AppTitle);
    store.beginGroup(Section);
    auto text = [](double v) { return QString::fromStdString(GeneralStuff::TrimmedNumberText(static_cast<float>(v))); };
    store.setValue("MainLeft", text(twips.left()));
    store.setValue("MainTop", text(twips.top()));
    store.setValue("MainWidth", text(twips.width()));
    store.setValue("MainHeight", text(twips.height()));
    store.sync();
}

}  // namespace WindowSettings
