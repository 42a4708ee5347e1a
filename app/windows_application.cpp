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
    // Named after the program, so that anything the form refers to is looked for beside it.
    return parseGui(vek::STRING(text.data(), text.size()), getModuleFileName());
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
