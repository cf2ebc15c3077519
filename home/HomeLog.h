#pragma once

#include "Logging.h"

VORNA_LOGGING_CATEGORY(lcHome, "vorna.home")
