#pragma once

#include "Logging.h"

VORNA_LOGGING_CATEGORY(lcUi, "vorna.ui")
