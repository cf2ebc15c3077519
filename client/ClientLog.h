#pragma once

#include "Logging.h"

VORNA_LOGGING_CATEGORY(lcClient, "vorna.client")
