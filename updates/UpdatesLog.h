#pragma once

#include "Logging.h"

VORNA_LOGGING_CATEGORY(lcUpdates, "vorna.updates")
