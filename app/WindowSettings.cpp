#include "app/WindowSettings.h"

#include "app/SettingsStore.h"
#include "state/GeneralStuff.h"
#include "registers/NumberText.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>

namespace WindowSettings {

namespace {

// The part of the title bar that must stay on a screen for the window to be moved.
constexpr int TitleBarWidth = 120;
constexpr int TitleBarHeight = 24;

double ReadValue(QSettings& store, const char* key, double fallback) {
    const QVariant stored = store.value(key);
    if (!stored.isValid()) return fallback;
    bool ok = false;
    const float value = QLocale::c().toFloat(stored.toString().trimmed(), &ok);
    // Beyond the int range a position or size would wrap round on its way to pixels.
    const bool usable = ok && std::isfinite(value) && value >= std::numeric_limits<int>::min() &&
                        value <= std::numeric_limits<int>::max();
    return usable ? value : fallback;
}

QRect TitleBar(const QRect& window) {
    return {window.topLeft(), QSize(std::min(window.width(), TitleBarWidth), TitleBarHeight)};
}

const QRect* ScreenOf(const QRect& window, const QList<QRect>& areas) {
    if (window.width() < 1 || window.height() < 1) return nullptr;
    for (const QRect& area : areas)
        if (area.intersects(TitleBar(window))) return &area;
    return nullptr;
}

}  // namespace

QRectF LoadMainGeometry() {
    using namespace SettingsStore;
    const std::unique_ptr<QSettings> store = Open();
    if (!store) return {DefaultLeft, DefaultTop, DefaultWidth, DefaultHeight};
    store->beginGroup(Section);
    const double left = ReadValue(*store, MainLeft, DefaultLeft);
    const double top = ReadValue(*store, MainTop, DefaultTop);
    const double width = ReadValue(*store, MainWidth, DefaultWidth);
    const double height = ReadValue(*store, MainHeight, DefaultHeight);
    return {left, top, width, height};
}

QRect FitOnScreens(const QRect& window, const QList<QRect>& areas, const QRect& fallback) {
    QRect fitted = window;
    const QRect* area = ScreenOf(fitted, areas);
    if (!area) {
        fitted = fallback;
        area = ScreenOf(fitted, areas);
        if (!area) return fitted;
    }
    // A window larger than its screen would need an image of its full size.
    if (fitted.width() > area->width()) fitted = QRect(area->left(), fitted.top(), area->width(), fitted.height());
    if (fitted.height() > area->height()) fitted = QRect(fitted.left(), area->top(), fitted.width(), area->height());
    const QRect bar = TitleBar(fitted);
    fitted.moveTo(std::max(area->left(), std::min(fitted.left(), area->right() + 1 - bar.width())),
                  std::max(area->top(), std::min(fitted.top(), area->bottom() + 1 - bar.height())));
    return fitted;
}

void SaveMainGeometry(const QRectF& twips) {
    using namespace SettingsStore;
    const std::unique_ptr<QSettings> store = Open();
    if (!store) return;
    store->beginGroup(Section);
    auto text = [](double v) { return QString::fromStdString(GeneralStuff::TrimmedNumberText(static_cast<float>(v))); };
    store->setValue(MainLeft, text(twips.left()));
    store->setValue(MainTop, text(twips.top()));
    store->setValue(MainWidth, text(twips.width()));
    store->setValue(MainHeight, text(twips.height()));
    store->sync();
}

}  // namespace WindowSettings
