// The program's one application object; the framework's WinMain hands control to it.
#include "app/windows_application.h"

namespace {

WindowsApplication application;

}  // namespace
