#include "app/windows_application.h"

#include <memory>
#include <string_view>

#include "app/chess_form_definition.h"
#include "app/chess_main_window.h"
#include "winlib/error_report.h"

bool WindowsApplication::startApplication(HINSTANCE, const char*, int) {
    setApplicationName("chess");
    setVendorName("vek");
    return false;
}

vek::xml::Document* WindowsApplication::loadGui() {
    if (vek::xml::Document* fromFile = GuiApplication::loadGui())
        return fromFile;
    const std::string_view text = chessapp::chessFormDefinition();
    // Named like the file that would have replaced it, without a directory.
    vek::STRING name = getApplicationName();
    name += ".";
    name += getLanguage();
    name += ".gui";
    return parseGui(vek::STRING(text.data(), text.size()), name);
}

winlib::CallbackWindow* WindowsApplication::createMainWindow(const char*, int) {
    auto window = std::make_unique<ChessMainWindow>();
    if (window->create(nullptr) != 0) {
        winlib::reportError("Could not create window");
        return nullptr;
    }
    const HWND handle = window->getHandle();
    if (IsIconic(handle)) {
        window->setStyle(window->getStyle() | WS_VISIBLE);
        ShowWindow(handle, SW_RESTORE);
    }
    SetFocus(handle);
    return window.release();
}

void WindowsApplication::deleteMainWindow(winlib::CallbackWindow* window) {
    delete window;
}
