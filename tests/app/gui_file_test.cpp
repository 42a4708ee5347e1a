// A replacement GUI file beside the program: used when it is whole; when it is damaged or
// incomplete, one German message names the file and the fault, and the program starts with its
// built-in definition. A program of its own: each case needs a new application object, which
// loads the definition afresh.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/chess_form_definition.h"
#include "app_window_test_support.h"

namespace chessapp::testing {
namespace {

// The built-in text with `from` up to the end of the line that holds `to` taken out.
std::string withoutLines(const std::string& from, const std::string& to) {
    std::string text(chessFormDefinition());
    const std::size_t begin = text.find(from);
    const std::size_t end = text.find('\n', text.find(to, begin));
    return text.erase(begin, end + 1 - begin);
}

std::string replaced(const std::string& what, const std::string& by) {
    std::string text(chessFormDefinition());
    return text.replace(text.find(what), what.size(), by);
}

// The built-in text with every style attribute set to `style`.
std::string everyStyle(const std::string& style) {
    std::string text(chessFormDefinition());
    const std::string attribute = "style=\"";
    for (std::size_t at = text.find(attribute); at != std::string::npos; at = text.find(attribute, at + 1)) {
        const std::size_t value = at + attribute.size();
        text.replace(value, text.find('"', value) - value, style);
    }
    return text;
}

// What the player gets to see, in order: "message" for each message, "shown" for each top-level
// window that appears.
std::vector<std::string>& seen() {
    static std::vector<std::string> events;
    return events;
}

LRESULT CALLBACK noteShownWindow(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_SHOWWINDOW && call->wParam != 0 &&
        (GetWindowLongA(call->hwnd, GWL_STYLE) & WS_CHILD) == 0)
        seen().push_back("shown");
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

winlib::ErrorReporter recordMessage = nullptr;  // the error recorder, which noteMessage passes on to

void noteMessage(const winlib::UserMessage& message) {
    seen().push_back("message");
    recordMessage(message);
}

struct GuiFileCase {
    const char* name;
    std::string content;  // written to chess.gui; empty: chess.gui is a directory
    const char* fault;    // what the message must name
};

void PrintTo(const GuiFileCase& gui, std::ostream* out) { *out << gui.name; }

class GuiFileTest : public ::testing::TestWithParam<GuiFileCase> {
protected:
    void SetUp() override {
        setVariable("TMP", temp.path().string());
        if (GetParam().content.empty()) {
            std::filesystem::create_directory(guiFile);
        } else {
            std::ofstream(guiFile, std::ios::binary) << GetParam().content;
        }
        app->startApplication(GetModuleHandleA(nullptr), "", SW_SHOW);
        seen().clear();
        recordMessage = winlib::setErrorReporter(noteMessage);
        showHook = SetWindowsHookExA(WH_CALLWNDPROC, noteShownWindow, nullptr, GetCurrentThreadId());
    }
    void TearDown() override {
        UnhookWindowsHookEx(showHook);
        winlib::setErrorReporter(recordMessage);
        window.reset();
        std::filesystem::remove_all(guiFile);
        setVariable("TMP", privateTemporaryFolder());  // the scratch folder goes with the test
    }

    ScratchDirectory temp;
    ErrorRecorder recorder;
    const std::filesystem::path guiFile = std::filesystem::current_path() / "chess.gui";
    std::unique_ptr<WindowsApplication> app = std::make_unique<WindowsApplication>();
    std::unique_ptr<winlib::CallbackWindow> window;
    HHOOK showHook = nullptr;
};

TEST_P(GuiFileTest, ADamagedFileIsNamedOnceAndTheBuiltInFormServes) {
    window.reset(app->createMainWindow("", SW_SHOW));
    ASSERT_NE(window, nullptr);
    auto* main = dynamic_cast<ChessMainWindow*>(window.get());
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->missingControls(), "");
    EXPECT_EQ(main->getText(), "Chess");
    EXPECT_FALSE(main->isEngineRunning());

    ASSERT_EQ(ErrorRecorder::messages().size(), 1u);
    const ErrorRecorder::Message& message = ErrorRecorder::messages()[0];
    EXPECT_EQ(message.owner, nullptr);
    EXPECT_EQ(message.caption, "Schach");
    EXPECT_EQ(message.text.rfind("Die Oberfl\xE4" "chendatei \"", 0), 0u) << message.text;
    EXPECT_NE(message.text.find(guiFile.string()), std::string::npos) << message.text;
    EXPECT_NE(message.text.find(GetParam().fault), std::string::npos) << message.text;
    EXPECT_NE(message.text.find("eingebauten Oberfl\xE4" "che"), std::string::npos) << message.text;
    ErrorRecorder::clear();
    // No damaged window shows before the message: the one window appears after it, whole.
    EXPECT_EQ(seen(), (std::vector<std::string>{"message", "shown"}));
    EXPECT_TRUE(IsWindowVisible(main->getHandle()));
    EXPECT_EQ(main->unusableLayout(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Faults, GuiFileTest,
    ::testing::Values(
        GuiFileCase{"truncated", std::string(chessFormDefinition().substr(0, 1500)), "es fehlen Steuerelemente ("},
        GuiFileCase{"withoutDepthField", withoutLines("<child type=\"EditControl\"", "</child>"),
                    "(DepthEdt)"},
        GuiFileCase{"moveListOfAnotherClass", replaced("type=\"ListBox\"", "type=\"Label\""), "(MovesBOX)"},
        GuiFileCase{"withoutForm", "<?xml version=\"1.0\"?>\n<gui>\n<forms>\n</forms>\n</gui>", "\"ChessFORM\" fehlt"},
        GuiFileCase{"badNumber", replaced("style=\"1342308352\"", "style=\"abc\""), "Bad Numeric Format"},
        GuiFileCase{"unknownType", replaced("type=\"ListBox\"", "type=\"Listbox\""), "Unkown item type: Listbox"},
        GuiFileCase{"aDirectory", std::string(), "File Open For Read Failed"},
        GuiFileCase{"invisibleForm", replaced("style=\"277807104\"", "style=\"2147483648\""), "unsichtbar"},
        GuiFileCase{"everyStyleOdd", everyStyle("99999999"), "unsichtbar"},
        GuiFileCase{"hugeCaption", replaced("caption=\"Chess\"", "caption=\"" + std::string(1 << 20, 'x') + "\""),
                    "der Fenstertitel ist mit 1048576 Zeichen zu lang"},
        GuiFileCase{"panelWiderThanTheScreen", replaced("width=\"280\"", "width=\"99999999\""),
                    "zu klein f\xFCr die Seitenleiste und ein Brett"},
        GuiFileCase{"formOfNoSize", replaced("width=\"758\" height=\"491\"", "width=\"0\" height=\"0\""),
                    "zu klein f\xFCr die Seitenleiste und ein Brett"},
        GuiFileCase{"moveListBeyondThePanel", replaced("x=\"128\" y=\"136\"", "x=\"400\" y=\"136\""),
                    "das Steuerelement MovesBOX liegt nicht sichtbar"}),
    [](const ::testing::TestParamInfo<GuiFileCase>& gui) { return std::string(gui.param.name); });

using WholeGuiFileTest = GuiFileTest;

TEST_P(WholeGuiFileTest, AWholeFileReplacesTheBuiltInForm) {
    window.reset(app->createMainWindow("", SW_SHOW));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->getText(), "Schach aus Datei");
    EXPECT_TRUE(ErrorRecorder::messages().empty());
}

INSTANTIATE_TEST_SUITE_P(File, WholeGuiFileTest,
                         ::testing::Values(GuiFileCase{"whole", replaced("caption=\"Chess\"",
                                                                          "caption=\"Schach aus Datei\""),
                                                       ""}));

}  // namespace
}  // namespace chessapp::testing
