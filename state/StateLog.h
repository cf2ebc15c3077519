#pragma once

#include "Logging.h"

VORNA_LOGGING_CATEGORY(lcState, "vorna.state")
