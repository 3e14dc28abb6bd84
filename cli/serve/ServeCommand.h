#pragma once
// serve: the chips' metrics for Prometheus at http://LISTEN/metrics, read at each scrape, until
// SIGTERM or SIGINT ends it with status 0. It ends with status 2 and one line when it cannot
// listen. A board failure never ends it: the chip is down until a scrape finds it back.
#include "cli/CliRequest.h"

CliAnswer RunServe(const CliRequest& request);
