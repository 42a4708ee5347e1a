#pragma once
// Helpers for the Wine tests of the forms: an application holding a definition given as text
// and a form window that can be built from any form of it. Reported errors are recorded with
// the framework tests' ErrorRecorder (window_test_support.h).

#include <string>
#include <string_view>

#include "winlib/form_loader.h"
#include "winlib/gui_application.h"
#include "winlib/overlapped_window.h"

namespace winlibGUI::testing {

// The application of a test: its GUI definition is the given text, named fileName.
class DefinitionApplication : public GuiApplication {
public:
    explicit DefinitionApplication(std::string_view definition, const vek::STRING& fileName = "forms_test.gui");
};

// A top-level form window that records how it was built, and closes itself when it goes.
class TestForm : public winlib::OverlappedWindow {
public:
    TestForm() = default;
    ~TestForm() override;

    int create(const char* formName, winlib::BasicWindow* parent = nullptr) {
        return createForm(*this, formName, parent);
    }
    void getControls() override;
    winlib::ProcessStatus handleCreate() override;

    int controlsCalls = 0;
    int createCalls = 0;
    bool commandsEnabledInGetControls = true;
    bool commandsEnabledInCreate = false;
    bool navigationInCreate = false;
};

// The child of window with that id (depth first); fails the test when there is none.
winlib::BasicWindow& childWithId(winlib::BasicWindow& window, int id);

// The window's rectangle in its parent's client area.
winlib::Rect placeOf(const winlib::BasicWindow& window);

// The number of top-level windows of this thread that still exist.
int threadWindowCount();

// A definition with one form "F" of the given attributes and content.
std::string oneForm(const std::string& formAttributes, const std::string& content);

}  // namespace winlibGUI::testing
