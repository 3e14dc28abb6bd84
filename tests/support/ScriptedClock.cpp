#include "support/ScriptedClock.h"
