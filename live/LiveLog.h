#pragma once

#include "Logging.h"

VORNA_LOGGING_CATEGORY(lcLive, "vorna.live")
