#pragma once

#include "Logging.h"

VORNA_LOGGING_CATEGORY(lcAccount, "vorna.account")
