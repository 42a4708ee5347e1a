#pragma once
// The application of a program whose windows are forms of the GUI definition.

#include "winlib/application.h"

namespace winlibGUI {

class GuiApplication : public winlib::Application {};

}  // namespace winlibGUI
