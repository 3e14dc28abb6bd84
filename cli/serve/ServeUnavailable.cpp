// serve in a build without prometheus-cpp (the Windows one): it says so.
#include "cli/serve/ServeCommand.h"

CliAnswer RunServe(const CliRequest&) {
    return {ExitUsage, {}, std::string(CliName) + ": serve is not part of this build: it needs prometheus-cpp.\n"};
}
