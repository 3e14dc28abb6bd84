#include "app/SettingsStore.h"

#include "state/GeneralStuff.h"

namespace SettingsStore {

std::unique_ptr<QSettings> Open() {
    return std::make_unique<QSettings>(GeneralStuff::AppTitle, GeneralStuff::AppTitle);
}

}  // namespace SettingsStore
