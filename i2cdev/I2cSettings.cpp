#include "I2cSettings.h"

#include <cstdlib>

namespace I2cDev {

namespace {

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

I2cSettings I2cSettings::FromEnvironment() {
    I2cSettings settings;
    settings.bus = Variable("KTS_I2C_BUS");
    settings.force = Variable("KTS_I2C_FORCE") == "1";
    settings.tracePath = Variable("KTS_I2C_TRACE");
    settings.quiet = Variable("KTS_I2C_QUIET") == "1";
    return settings;
}

}  // namespace I2cDev
