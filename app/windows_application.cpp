#include "app/windows_application.h"

#include <cstdint>
#include <exception>
#include <string_view>

#include "app/chess_form_definition.h"
#include "app/chess_main_window.h"
#include "app/game_files.h"
#include "app/user_messages.h"
#include "winlib/error_report.h"
#include "winlib/gui_file_search.h"
#include "winlib/wide_text.h"
#include "xml/document.h"

namespace {

// How long a second start waits for the first run's window: that run may still be starting, or
// be telling the player about a damaged GUI file.
constexpr std::uint32_t kFirstRunWaitMs = 15000;

// The file's full path for the message: the search may have found it by a relative name.
vek::STRING fullPath(const vek::STRING& name) {
    const std::wstring given = winlib::wideText(name);
    const DWORD needed = GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
    std::wstring full(needed, L'\0');
    const DWORD length = needed > 0 ? GetFullPathNameW(given.c_str(), needed, full.data(), nullptr) : 0;
    return length > 0 && length < needed ? winlib::fromWide(full.data(), length) : name;
}

}  // namespace

bool WindowsApplication::startApplication(HINSTANCE, const char*, int) {
    setApplicationName("chess");
    setVendorName("vek");
    singleRun_ = std::make_unique<chessapp::SingleRun>(chessapp::GameFiles().tempDirectory());
    if (singleRun_->isFirst())
        return false;
    // The game on screen is the one in the file: showing it is all a second start can do.
    singleRun_->activateFirst(kFirstRunWaitMs);
    singleRun_.reset();
    return true;
}

vek::xml::Document* WindowsApplication::loadGui() {
    if (vek::xml::Document* held = getGuiDocument())
        return held;
    try {
        if (vek::xml::Document* fromFile = GuiApplication::loadGui()) {
            guiFile_ = fromFile->getFileName();
            return fromFile;
        }
    } catch (const std::exception& error) {
        // The file was found but not read; the same search names it again for the message.
        guiFile_ = winlib::findGuiFile(getApplicationName(), getLanguage(), getModuleFileName(), fileExists);
        dropGuiFile(chessapp::unusableGuiProblem(error.what()));
        return getGuiDocument();
    }
    return loadBuiltInGui();
}

vek::xml::Document* WindowsApplication::loadBuiltInGui() {
    const std::string_view text = chessapp::chessFormDefinition();
    vek::STRING name = getApplicationName();
    name += ".";
    name += getLanguage();
    name += ".gui";
    return parseGui(vek::STRING(text.data(), text.size()), name);
}

void WindowsApplication::dropGuiFile(const vek::STRING& problem) {
    const vek::STRING text = chessapp::damagedGuiFileMessage(fullPath(guiFile_), problem).convertToCharset(vek::csUTF8);
    winlib::showMessage(winlib::UserMessage{nullptr, text.getText(), chessapp::kMessageCaption, MB_ICONWARNING | MB_OK});
    guiFile_ = vek::STRING();
    loadBuiltInGui();
}

vek::STRING WindowsApplication::buildFromGui(ChessMainWindow& window) const {
    try {
        // Hidden until it has been found usable: a damaged form never shows half-built.
        if (window.create(nullptr, winlibGUI::fsBY_CALLER) != 0)
            return chessapp::missingFormProblem();
    } catch (const std::exception& error) {
        if (guiFile_.isEmpty())
            throw;
        return chessapp::unusableGuiProblem(error.what());
    }
    const vek::STRING missing = window.missingControls();
    return missing.isEmpty() ? window.unusableLayout() : chessapp::missingControlsProblem(missing);
}

winlib::CallbackWindow* WindowsApplication::createMainWindow(const char*, int show) {
    auto window = std::make_unique<ChessMainWindow>();
    vek::STRING problem = buildFromGui(*window);
    if (!problem.isEmpty() && !guiFile_.isEmpty()) {
        window.reset();  // its form is unusable; the game is restored again with the next
        dropGuiFile(problem);
        window = std::make_unique<ChessMainWindow>();
        problem = buildFromGui(*window);
    }
    if (!problem.isEmpty()) {
        winlib::reportError("Could not create window");
        return nullptr;
    }
    const HWND handle = window->getHandle();
    if (singleRun_)
        singleRun_->publishWindow(handle);
    // As the start asked (a shortcut set to "Minimised" passes SW_SHOWMINNOACTIVE; the system
    // puts STARTUPINFO's choice in for SW_SHOWDEFAULT).
    window->showAs(show);
    // The window passes the focus on to its first control; a minimised one does so when it is
    // restored and activated.
    if (!IsIconic(handle))
        SetFocus(handle);
    return window.release();
}

void WindowsApplication::deleteMainWindow(winlib::CallbackWindow* window) {
    delete window;
    singleRun_.reset();
}
