#pragma once

// How long a test waits for a condition before it gives up. A wait ends as soon as its condition holds, so
// a long limit costs nothing when all is well; it is there for a machine whose every core is busy, where a
// sign-in, a window's first frame or a page's loads take many times as long as on a quiet one. Every wait of
// the tests uses this one limit: QtTest's QTRY_ macros, whose own five seconds are not enough there, are
// given it here, and this header comes ahead of every test source (vorna_add_test in cmake/Vorna.cmake).
#include <QtCore/qtestsupport_core.h>
#include <QtGui/qtestsupport_gui.h>
#include <QtTest/qtestcase.h>

#include <utility>

namespace TestSupport {

// In milliseconds; five times as long under the sanitizers, where everything runs that much slower.
#ifdef VORNA_SANITIZE
inline constexpr int patience = 150000;
#else
inline constexpr int patience = 30000;
#endif

// Waits until the condition holds; false when the limit came first.
template <typename Condition>
[[nodiscard]] bool waitFor(Condition &&condition)
{
    return QTest::qWaitFor(std::forward<Condition>(condition), patience);
}

} // namespace TestSupport

#undef QTRY_VERIFY
#undef QTRY_VERIFY2
#undef QTRY_COMPARE
#define QTRY_VERIFY(expr) QTRY_VERIFY_WITH_TIMEOUT(expr, TestSupport::patience)
#define QTRY_VERIFY2(expr, messageExpression)                                                                \
    QTRY_VERIFY2_WITH_TIMEOUT(expr, messageExpression, TestSupport::patience)
#define QTRY_COMPARE(expr, expected) QTRY_COMPARE_WITH_TIMEOUT(expr, expected, TestSupport::patience)
