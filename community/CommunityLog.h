#pragma once

#include "Logging.h"

VORNA_LOGGING_CATEGORY(lcCommunity, "vorna.community")
