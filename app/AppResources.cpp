#include "app/AppResources.h"

#include <QtGlobal>

// Outside any namespace, as the resource initialiser requires.
static void InitResourcesOnce() { Q_INIT_RESOURCE(resources); }

void InitAppResources() {
    static const bool initialised = (InitResourcesOnce(), true);
    (void)initialised;
}
