#pragma once

#include "Logging.h"

VORNA_LOGGING_CATEGORY(lcFlights, "vorna.flights")
