#pragma once

// The colours that records name by meaning; the theme gives each its light and dark value.
enum class ThemeRole {
    Accent,
    Approved,
    Rejected,
    Pending,
};
