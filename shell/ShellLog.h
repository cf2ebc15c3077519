#pragma once

#include "Logging.h"

VORNA_LOGGING_CATEGORY(lcShell, "vorna.shell")
