#pragma once

#include "Logging.h"

VORNA_LOGGING_CATEGORY(lcText, "vorna.text")
