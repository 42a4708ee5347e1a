#pragma once
// The arithmetic of display scaling: the GUI definition counts in pixels of a 96-DPI screen,
// which a window on another screen multiplies by its DPI / 96.

namespace winlib {

// The DPI at which a definition's numbers are pixels as they stand.
constexpr int kBaseDpi = 96;

// value × dpi / 96, rounded to the nearest pixel (halves away from zero, as MulDiv rounds).
// At 96 DPI, or for a dpi of 0 or less (none known), the value unchanged.
int scaleForDpi(int value, int dpi);

}  // namespace winlib
