#pragma once

#include <QColor>

#include <algorithm>
#include <cmath>

namespace TestSupport {

// The relative luminance of an opaque colour, as the contrast ratio of WCAG counts it.
inline double luminance(const QColor &colour)
{
    const auto channel = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF())
           + 0.0722 * channel(colour.blueF());
}

// The contrast ratio of two opaque colours, 1 to 21.
inline double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace TestSupport
