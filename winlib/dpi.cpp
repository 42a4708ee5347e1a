// Display scaling: the DPI functions of newer Windows when there, the older ones otherwise.
#include "winlib/dpi.h"

#include <cstring>
#include <map>

#include "winlib/dpi_scale.h"

namespace winlib {

namespace {

using GetDpiForSystemFunction = UINT(WINAPI*)();
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustForDpiFunction = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

// A function of user32, or null where this Windows lacks it.
template <typename Function>
Function user32Function(const char* name) {
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    if (user32 == nullptr)
        return nullptr;
    // The function types are the documented ones; GetProcAddress knows none.
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

// The cell height of ANSI_VAR_FONT ("MS Sans Serif") on a 96-DPI screen.
constexpr LONG kGuiFontHeight96 = 12;
// The TrueType face of the same design, which scales to any size.
constexpr const char* kScalableGuiFace = "Microsoft Sans Serif";

}  // namespace

int systemDpi() {
    static const auto getDpiForSystem = user32Function<GetDpiForSystemFunction>("GetDpiForSystem");
    if (getDpiForSystem != nullptr)
        return static_cast<int>(getDpiForSystem());
    const HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : kBaseDpi;
    if (screen != nullptr)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kBaseDpi;
}

int windowDpi(HWND window) {
    static const auto getDpiForWindow = user32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow != nullptr && window != nullptr) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi > 0)
            return static_cast<int>(dpi);
    }
    return systemDpi();
}

BOOL adjustWindowRectForDpi(RECT& rect, DWORD style, BOOL menu, DWORD exStyle, int dpi) {
    static const auto adjustForDpi = user32Function<AdjustForDpiFunction>("AdjustWindowRectExForDpi");
    if (adjustForDpi != nullptr)
        return adjustForDpi(&rect, style, menu, exStyle, static_cast<UINT>(dpi));
    return AdjustWindowRectEx(&rect, style, menu, exStyle);
}

SharedFont guiFont(int dpi) {
    if (dpi <= 0 || dpi == kBaseDpi)
        return SharedFont::stock(ANSI_VAR_FONT);
    // Main thread only, as every window; the fonts live as long as the program.
    static std::map<int, SharedFont> fonts;
    SharedFont& font = fonts[dpi];
    if (!font) {
        LOGFONTA description{};
        description.lfHeight = scaleForDpi(kGuiFontHeight96, dpi);
        description.lfWeight = FW_NORMAL;
        description.lfCharSet = DEFAULT_CHARSET;
        description.lfOutPrecision = OUT_TT_PRECIS;
        description.lfQuality = DEFAULT_QUALITY;
        description.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
        std::strncpy(description.lfFaceName, kScalableGuiFace, sizeof description.lfFaceName - 1);
        font = SharedFont::create(description);
    }
    return font;
}

}  // namespace winlib
