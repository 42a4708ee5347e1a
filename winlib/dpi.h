#pragma once
// What the system says about display scaling. The program declares itself per-monitor aware in
// its manifest; the functions for that came with Windows 8.1 and 10 and are looked up at run
// time, so that the program still starts on Windows 7 (which knows only one system DPI).

#include <windows.h>

#include "winlib/gdi_shared.h"

namespace winlib {

// The DPI of the primary screen as the process sees it: GetDpiForSystem, else LOGPIXELSX of the
// screen.
int systemDpi();
// The DPI of the screen the window is on: GetDpiForWindow, else the system DPI.
int windowDpi(HWND window);
// AdjustWindowRectExForDpi, else AdjustWindowRectEx (the system DPI's frame).
BOOL adjustWindowRectForDpi(RECT& rect, DWORD style, BOOL menu, DWORD exStyle, int dpi);
// The font of the framework's windows at that DPI: at 96 DPI the stock ANSI_VAR_FONT, elsewhere
// the same design as a scalable face at the scaled size (the stock font is a bitmap font of
// fixed pixel size). One font per DPI, shared and kept for the whole run.
SharedFont guiFont(int dpi);

}  // namespace winlib
