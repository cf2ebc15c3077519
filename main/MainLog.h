#pragma once

#include "Logging.h"

VORNA_LOGGING_CATEGORY(lcMain, "vorna.main")
