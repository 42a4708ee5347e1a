#pragma once
// Helpers for the Wine tests of the chess program's windows: the program's application object,
// a private temporary folder, the registry key of the settings and the main window's board
// squares as click points. Error recording and bounded message pumping are the framework
// tests' helpers; position texts are the chess tests' helper.

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/chess_main_window.h"
#include "app/windows_application.h"
#include "app_test_support.h"
#include "chess_test_support.h"
#include "window_test_support.h"

namespace chessapp::testing {

// The test program's application object, named like the program ("chess" by "vek").
WindowsApplication& application();

// The test program's own temporary folder (beside the program), TMP and TEMP between tests.
const std::string& privateTemporaryFolder();

// Sets a variable of the process environment, for getenv and the system alike; an empty value
// removes it.
void setVariable(const char* name, const std::string& value);

using winlib::test::ErrorRecorder;
using winlib::test::pumpPending;
using winlib::test::pumpUntil;
using vek::chess::testing::positionOf;

// Deletes HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE \SOFTWARE\vendor with everything below it.
void deleteVendorKey(HKEY root, const char* vendor);
// Writes a value under root\SOFTWARE\vendor\application, creating the keys.
void writeRegistryValue(HKEY root, const char* vendor, const char* application, const char* name, DWORD type,
                        const void* data, DWORD size);
// Whether root\SOFTWARE\vendor\application exists.
bool registryKeyExists(HKEY root, const char* vendor, const char* application);

// The main window built from the form (the game file of the current TMP folder restored);
// deleting it destroys the window.
struct MainWindowDeleter {
    void operator()(ChessMainWindow* window) const { delete window; }
};
using MainWindowPtr = std::unique_ptr<ChessMainWindow, MainWindowDeleter>;
MainWindowPtr openMainWindow();

// Releases the left button over the middle of the square's cell (a real WM_LBUTTONUP).
void releaseOn(ChessMainWindow& window, vek::chess::Square square, UINT message = WM_LBUTTONUP);
// Clicks a button of the panel as the user would, and serves the posted notifications.
void click(const winlib::BasicWindow& button);
// Waits (bounded) for the engine thread to end and its end message to be handled.
bool waitForEngine(ChessMainWindow& window);

// The lines of the move list.
std::vector<std::string> moveLines(const ChessMainWindow& window);

// A test with its own empty temporary folder as TMP, no stored settings of the program and an
// error recorder; it fails when an error was reported.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The game file of the folder.
    std::string gameFile(const char* name = "chess.txt") const;
    void writeGameFile(const std::string& content) const;

    ScratchDirectory temp;
    ErrorRecorder recorder;
};

}  // namespace chessapp::testing
