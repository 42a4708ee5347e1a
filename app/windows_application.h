#pragma once
// The chess program's application object: names the program, supplies the built-in GUI
// definition and creates and deletes the main window. Main thread only.

#include "winlib/gui_application.h"

class WindowsApplication : public winlibGUI::GuiApplication {
public:
    // Names the program "chess" by the vendor "vek" (the registry key's names); never aborts.
    bool startApplication(HINSTANCE instance, const char* commandLine, int show) override;
    // A chess.gui file if there is one, else the built-in definition.
    vek::xml::Document* loadGui() override;
    // The main window built from the form "ChessFORM", restored and focused; null (after
    // reporting "Could not create window") when the form cannot be built.
    winlib::CallbackWindow* createMainWindow(const char* commandLine, int show) override;
    void deleteMainWindow(winlib::CallbackWindow* window) override;
};
