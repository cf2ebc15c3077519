#pragma once

#include <QLoggingCategory>

// Each folder logs under a category of its own, "vorna.<folder>", silent below warnings until a fault in
// the field calls for it: QT_LOGGING_RULES="vorna.client=true" (or "vorna.*=true"). Nothing secret goes in:
// no body, no cookie, no password, no session.
#define VORNA_LOGGING_CATEGORY(function, name)                                                               \
    inline const QLoggingCategory &function()                                                                \
    {                                                                                                        \
        static const QLoggingCategory category(name, QtWarningMsg);                                          \
        return category;                                                                                     \
    }
