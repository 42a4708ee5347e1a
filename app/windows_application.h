#pragma once
// The chess program's application object: names the program, supplies the built-in GUI
// definition and creates and deletes the main window. Main thread only.

#include <memory>

#include "app/single_run.h"
#include "winlib/gui_application.h"

class ChessMainWindow;

class WindowsApplication : public winlibGUI::GuiApplication {
public:
    // Names the program "chess" by the vendor "vek" (the registry key's names). Aborts when
    // another run plays on the same game file, after bringing that run's window to the front.
    bool startApplication(HINSTANCE instance, const char* commandLine, int show) override;
    // A chess.gui file if there is one, else the built-in definition. A file that cannot be
    // read is reported and replaced by the built-in definition.
    vek::xml::Document* loadGui() override;
    // The main window built from the form "ChessFORM", shown once whole as `show` asks, its first
    // control focused.
    // When a replacement GUI file cannot serve (no such form, a control missing, a definition
    // error, a window that would be invisible or too small for the panel and a board), that is
    // reported once, naming the file and the fault, before any window shows, and the window is
    // built from the built-in definition. Null (after reporting "Could not create window") when
    // even that fails.
    winlib::CallbackWindow* createMainWindow(const char* commandLine, int show) override;
    // Deletes the window and gives the game folder free for the next run.
    void deleteMainWindow(winlib::CallbackWindow* window) override;

private:
    // Parses the built-in definition, named like the file that would have replaced it.
    vek::xml::Document* loadBuiltInGui();
    // Builds window, hidden, from the definition held: "" when it is usable, else what is wrong
    // with it. Errors of the built-in definition are not the user's: they are thrown on.
    vek::STRING buildFromGui(ChessMainWindow& window) const;
    // Reports the replacement file and its fault, then falls back to the built-in definition.
    void dropGuiFile(const vek::STRING& problem);

    vek::STRING guiFile_;  // the replacement file in use; "" with the built-in definition
    std::unique_ptr<chessapp::SingleRun> singleRun_;  // this run's claim on the game folder
};
