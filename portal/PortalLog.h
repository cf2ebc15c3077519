#pragma once

#include "Logging.h"

VORNA_LOGGING_CATEGORY(lcPortal, "vorna.portal")
