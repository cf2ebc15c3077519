#pragma once

#include "Logging.h"

VORNA_LOGGING_CATEGORY(lcReview, "vorna.review")
