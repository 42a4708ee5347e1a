// Registration of the framework's window classes.
#include "winlib/window_class.h"

#include "foundation/exceptions.h"
#include "winlib/application.h"
#include "winlib/callback_window.h"
#include "winlib/wide_text.h"

namespace winlib {

void registerWindowClass(const vek::STRING& className, HBRUSH background) {
    const HINSTANCE instance = getInstanceHandle();
    const std::wstring name = wideText(className);
    WNDCLASSW existing{};
    if (GetClassInfoW(instance, name.c_str(), &existing))
        return;
    Application* const application = Application::getInstance();
    WNDCLASSW windowClass{};
    windowClass.style = CS_GLOBALCLASS;
    windowClass.lpfnWndProc = CallbackWindow::windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = application != nullptr ? application->getIcon() : LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name.c_str();
    if (RegisterClassW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        vek::LibraryException error("Could not register window class");
        error.addInfo(className);
        throw error;
    }
}

}  // namespace winlib
