#pragma once

#include "Logging.h"

VORNA_LOGGING_CATEGORY(lcImages, "vorna.images")
