// The program entry point: hands control to the application object.
#include <windows.h>

#include <exception>

#include "winlib/application.h"
#include "winlib/error_report.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    winlib::Application* application = winlib::Application::getInstance();
    if (application == nullptr)
        return 0;
    winlib::setInstanceHandle(instance);
    try {
        return application->run(instance, commandLine, show);
    } catch (const std::exception& error) {
        winlib::reportError(error.what());
    } catch (...) {
        winlib::reportError("Unknown error");
    }
    return 1;
}
