// Registration of the framework's window classes.
#include "winlib/window_class.h"

#include "foundation/exceptions.h"
#include "winlib/application.h"
#include "winlib/callback_window.h"

namespace winlib {

void registerWindowClass(const vek::STRING& className, HBRUSH background) {
    const HINSTANCE instance = getInstanceHandle();
    WNDCLASSA existing{};
    if (GetClassInfoA(instance, className.getText(), &existing))
        return;
    Application* const application = Application::getInstance();
    WNDCLASSA windowClass{};
    windowClass.style = CS_GLOBALCLASS;
    windowClass.lpfnWndProc = CallbackWindow::windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = application != nullptr ? application->getIcon() : LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = className.getText();
    if (RegisterClassA(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        vek::LibraryException error("Could not register window class");
        error.addInfo(className);
        throw error;
    }
}

}  // namespace winlib
