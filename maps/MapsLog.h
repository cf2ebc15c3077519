#pragma once

#include "Logging.h"

VORNA_LOGGING_CATEGORY(lcMaps, "vorna.maps")
