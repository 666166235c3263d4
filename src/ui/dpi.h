#pragma once
// The screen's dots per inch as a window meets them. Sizes are kept in 96-DPI units (the layout's
// to_pixels and to_units convert); these tell which DPI a window has.
#include <windows.h>

// The DPI of the monitor a window is on, or the system's on systems without per-monitor DPI.
int window_dpi(HWND window);
// The DPI a new window starts at: the system's.
int system_dpi();
// Makes window_dpi and system_dpi answer `dpi` (0 ends it), so that tests meet a high-DPI screen
// where the system has none (Wine runs at 96 unless told otherwise).
void override_dpi(int dpi);

// A copy of a font described in 96-DPI units, at `dpi`. The caller deletes it.
HFONT scaled_font(HFONT font, int dpi);
