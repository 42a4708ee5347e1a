// The main window built from the form: its panel after creation, the depth field, the buttons
// in both engine states, moves by real mouse messages and the start from various game files.
#include <gtest/gtest.h>

#include <filesystem>

#include "app_window_test_support.h"

namespace chessapp::testing {
namespace {

using vek::chess::Square;

// The status of a new game as the label shows it (Windows code page).
constexpr const char* kNewGameLabel = "0 N\xE4" "chster: Wei\xDF";

bool isEnabled(const winlib::BasicWindow& window) {
    return IsWindowEnabled(window.getHandle()) != FALSE;
}

DWORD storedDepth() {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, "SOFTWARE\\vek\\chess", "depth", RRF_RT_REG_DWORD, nullptr, &value, &size) !=
        ERROR_SUCCESS)
        return 0xFFFFFFFFu;
    return value;
}

using MainWindowTest = WindowTest;

TEST_F(MainWindowTest, AfterCreationThePanelShowsTheNewGame) {
    MainWindowPtr window = openMainWindow();
    EXPECT_STREQ(window->EvalLABEL->getText().getText(), kNewGameLabel);
    EXPECT_STREQ(window->DepthEdt->getText().getText(), "1");
    EXPECT_FALSE(isEnabled(*window->StopBtn));
    EXPECT_TRUE(isEnabled(*window->RestartBtn));
    EXPECT_FALSE(window->PromotionList->isVisible());
    EXPECT_EQ(window->MovesBOX->getCount(), 0);
    EXPECT_EQ(window->MovesBOX->getUserValue(), -1);

    const winlib::Size client = window->getClientSize();
    const chessapp::BoardGeometry& geometry = window->getGeometry();
    EXPECT_EQ(geometry.boardLeft, 280);
    EXPECT_EQ(geometry.squareSize, std::min((client.width - 280) / 8, client.height / 8));
    EXPECT_GT(geometry.squareSize, 0);
    EXPECT_FALSE(registryKeyExists(HKEY_CURRENT_USER, "vek", "chess")) << "creation stores nothing";
}

TEST_F(MainWindowTest, TheStoredDepthIsShownAndEveryEditIsStored) {
    const DWORD machineDepth = 3;
    writeRegistryValue(HKEY_LOCAL_MACHINE, "vek", "chess", "depth", REG_DWORD, &machineDepth, sizeof machineDepth);
    MainWindowPtr window = openMainWindow();
    EXPECT_STREQ(window->DepthEdt->getText().getText(), "3");
    EXPECT_EQ(window->getDepth(), 3);
    EXPECT_FALSE(registryKeyExists(HKEY_CURRENT_USER, "vek", "chess"));

    window->DepthEdt->setText("12");
    pumpPending();
    EXPECT_EQ(window->getDepth(), 12);
    EXPECT_EQ(storedDepth(), 12u);

    window->DepthEdt->setText("");
    pumpPending();
    EXPECT_EQ(window->getDepth(), 0);
    EXPECT_EQ(storedDepth(), 0u);
}

// Typing "abc" is three edits of an invalid text: one message, in German, owned by the window;
// the depth and its setting stay until the field holds a number again.
TEST_F(MainWindowTest, AnInvalidDepthIsSaidOncePerInvalidEditAndChangesNothing) {
    MainWindowPtr window = openMainWindow();
    window->DepthEdt->setText("3");
    pumpPending();
    for (const char* typed : {"a", "ab", "abc"}) {
        window->DepthEdt->setText(typed);
        pumpPending();
    }
    ASSERT_EQ(ErrorRecorder::messages().size(), 1u);
    const ErrorRecorder::Message& message = ErrorRecorder::messages()[0];
    EXPECT_EQ(message.owner, window->getHandle());
    EXPECT_EQ(message.caption, "Schach");
    EXPECT_EQ(message.text.rfind("\"a\" ist keine g\xFCltige Tiefe", 0), 0u) << message.text;
    EXPECT_NE(message.text.find("Die Tiefe bleibt 3."), std::string::npos) << message.text;
    EXPECT_EQ(window->getDepth(), 3);
    EXPECT_EQ(storedDepth(), 3u);

    // A number again, then a number too large for 32 bits: said again.
    window->DepthEdt->setText("4");
    pumpPending();
    window->DepthEdt->setText("99999999999");
    pumpPending();
    ASSERT_EQ(ErrorRecorder::messages().size(), 2u);
    EXPECT_NE(ErrorRecorder::messages()[1].text.find("Die Tiefe bleibt 4."), std::string::npos);
    EXPECT_EQ(window->getDepth(), 4);
    EXPECT_EQ(storedDepth(), 4u);
    ErrorRecorder::clear();
}

TEST_F(MainWindowTest, ButtonsActOnlyInTheirEngineState) {
    MainWindowPtr window = openMainWindow();
    // "Stop" with no engine does nothing.
    SendMessageA(window->getHandle(), WM_COMMAND, MAKEWPARAM(135, BN_CLICKED),
                 reinterpret_cast<LPARAM>(window->StopBtn->getHandle()));
    EXPECT_FALSE(window->isEngineRunning());

    window->DepthEdt->setText("7");  // long enough to be still thinking while the buttons are tried
    pumpPending();
    releaseOn(*window, Square{'e', 2});
    click(*window->TurnBtn);
    ASSERT_TRUE(window->isEngineRunning());
    EXPECT_TRUE(window->getGeometry().turned);
    EXPECT_TRUE(isEnabled(*window->StopBtn));

    click(*window->RestartBtn);
    click(*window->TurnBtn);
    releaseOn(*window, Square{'d', 2});
    EXPECT_TRUE(window->isEngineRunning());
    EXPECT_TRUE(window->getGeometry().turned) << "Drehen is ignored while the engine thinks";

    click(*window->StopBtn);
    ASSERT_TRUE(waitForEngine(*window));
    EXPECT_FALSE(isEnabled(*window->StopBtn));
    EXPECT_EQ(window->getBoard().history().getCount(), 1u) << "Neustart was ignored: the engine's move stays";
    EXPECT_EQ(moveLines(*window).size(), 1u);

    // Idle again: "Neustart" sets up a new game and empties the list.
    click(*window->RestartBtn);
    EXPECT_EQ(window->getBoard().history().getCount(), 0u);
    EXPECT_EQ(window->MovesBOX->getCount(), 0);
    EXPECT_STREQ(window->EvalLABEL->getText().getText(), kNewGameLabel);
}

TEST_F(MainWindowTest, ReleasesOfTheLeftButtonPlayAMoveAndTheEngineAnswers) {
    MainWindowPtr window = openMainWindow();
    releaseOn(*window, Square{'e', 2}, WM_LBUTTONDOWN);
    releaseOn(*window, Square{'e', 4}, WM_LBUTTONDOWN);
    EXPECT_EQ(window->getBoard().history().getCount(), 0u) << "presses never act";

    releaseOn(*window, Square{'e', 2});
    releaseOn(*window, Square{'e', 4});
    EXPECT_TRUE(window->isEngineRunning());
    ASSERT_TRUE(waitForEngine(*window));

    const vek::chess::Board& board = window->getBoard();
    ASSERT_EQ(board.history().getCount(), 2u);
    EXPECT_EQ(board.history()[0].to, (Square{'e', 4}));
    EXPECT_EQ(board.sideToMove(), vek::chess::WHITE);
    const std::vector<std::string> lines = moveLines(*window);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("1. ", 0), 0u);
    EXPECT_NE(lines[0].find(", "), std::string::npos) << lines[0];
    const std::optional<std::string> saved = fileContent(gameFile());
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->size(), 65u);
    EXPECT_EQ(saved->back(), 'W');
    EXPECT_FALSE(isEnabled(*window->StopBtn));
}

TEST_F(MainWindowTest, AWhitePawnBeforePromotionShowsThePromotionPanel) {
    writeGameFile(positionOf({"Kh1", "Ba7", "kh8"}, 'W').getText());
    MainWindowPtr window = openMainWindow();
    releaseOn(*window, Square{'a', 7});
    EXPECT_TRUE(window->PromotionList->isVisible());
    releaseOn(*window, Square{'a', 8});  // no figure chosen: refused, dropped
    EXPECT_FALSE(window->PromotionList->isVisible());
    EXPECT_EQ(window->getBoard().history().getCount(), 0u);

    releaseOn(*window, Square{'a', 7});
    window->QueenBtn->setChecked(true);
    releaseOn(*window, Square{'a', 8});
    EXPECT_TRUE(window->isEngineRunning());
    EXPECT_FALSE(window->PromotionList->isVisible());
    ASSERT_TRUE(waitForEngine(*window));
    ASSERT_EQ(window->getBoard().history().getCount(), 2u);
    EXPECT_EQ(window->getBoard().history()[0].promotionKind, vek::chess::QUEEN);
    EXPECT_EQ(window->getBoard().figureAt(Square{'a', 8})->kind(), vek::chess::QUEEN);
}

// The colour painted at a point of the window's client area.
COLORREF pixelAt(const ChessMainWindow& window, int x, int y) {
    const HDC dc = GetDC(window.getHandle());
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window.getHandle(), dc);
    return colour;
}

TEST_F(MainWindowTest, PaintsSquaresFiguresAndTheFramesOfAPickedUpFigure) {
    MainWindowPtr window = openMainWindow();
    UpdateWindow(window->getHandle());
    const chessapp::BoardGeometry& geometry = window->getGeometry();
    const auto middle = [&](Square square) {
        const Cell cell = *cellOf(geometry, square);
        return std::pair{cell.left + cell.size / 2, cell.top + cell.size / 2};
    };
    const auto [a6x, a6y] = middle(Square{'a', 6});
    const auto [b6x, b6y] = middle(Square{'b', 6});
    EXPECT_EQ(pixelAt(*window, a6x, a6y), RGB(240, 239, 216));
    EXPECT_EQ(pixelAt(*window, b6x, b6y), RGB(212, 187, 4));
    // Pawns stand on the bottom edge of their cell, in the middle.
    const Cell e2 = *cellOf(geometry, Square{'e', 2});
    const Cell e7 = *cellOf(geometry, Square{'e', 7});
    EXPECT_EQ(pixelAt(*window, e2.left + e2.size / 2, e2.bottom() - 3), RGB(190, 178, 118));
    EXPECT_EQ(pixelAt(*window, e7.left + e7.size / 2, e7.bottom() - 3), RGB(110, 47, 47));

    releaseOn(*window, Square{'e', 2});
    UpdateWindow(window->getHandle());
    const Cell e3 = *cellOf(geometry, Square{'e', 3});
    const Cell e4 = *cellOf(geometry, Square{'e', 4});
    EXPECT_EQ(pixelAt(*window, e2.left + 1, e2.top + 1), RGB(0, 0, 255));
    EXPECT_EQ(pixelAt(*window, e3.left + 1, e3.top + 1), RGB(0, 255, 0));
    EXPECT_EQ(pixelAt(*window, e4.left + 1, e4.bottom() - 1 - e4.size / 2), RGB(0, 255, 0));
    EXPECT_EQ(pixelAt(*window, e3.left + e3.size / 2, e3.top + e3.size / 2), RGB(212, 187, 4)) << "frames are hollow";
}

TEST_F(MainWindowTest, TheTimerShowsTheClocksAsTimesOfDay) {
    MainWindowPtr window = openMainWindow();
    SendMessageA(window->getHandle(), WM_TIMER, 1, 0);
    for (const winlib::DateTimePicker* clock : {window->WhiteClk, window->BlackClk}) {
        SYSTEMTIME shown{};
        ASSERT_EQ(SendMessageA(clock->getHandle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown)),
                  GDT_VALID);
        EXPECT_EQ(shown.wYear, 1970);
        EXPECT_EQ(shown.wHour, 0);
        EXPECT_EQ(shown.wMinute, 0);
    }
}

// Closing writes nothing: the stopped search's hurried move is neither saved nor copied, and the
// saved game stays the one the player saw last.
TEST_F(MainWindowTest, ClosingWhileTheEngineThinksStopsItAndSavesNothing) {
    const std::string saved = positionOf({"Ke1", "Dd1", "Ta1", "Th1", "ke8", "dd8", "ta8", "th8"}, 'W').getText();
    writeGameFile(saved);
    MainWindowPtr window = openMainWindow();
    window->DepthEdt->setText("9");
    pumpPending();
    click(*window->TurnBtn);
    ASSERT_TRUE(window->isEngineRunning());
    const ULONGLONG start = GetTickCount64();
    window.reset();
    EXPECT_LT(GetTickCount64() - start, 30000u);
    pumpPending();  // the end message finds no window
    EXPECT_EQ(fileContent(gameFile()), saved);
    EXPECT_FALSE(std::filesystem::exists(gameFile("chess1.txt")));
}

// A control's rectangle in the main window's client coordinates.
RECT clientRectOf(const ChessMainWindow& window, const winlib::BasicWindow& control) {
    RECT rect{};
    GetWindowRect(control.getHandle(), &rect);
    MapWindowPoints(nullptr, window.getHandle(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The window cannot be made smaller than its side panel, so that the move list's newest lines
// stay in view, plus a small board; at that size the board still scales into what is left.
TEST_F(MainWindowTest, TheSmallestWindowKeepsTheWholePanelAndABoard) {
    MainWindowPtr window = openMainWindow();
    const HWND handle = window->getHandle();
    MINMAXINFO limits{};
    SendMessageA(handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    SetWindowPos(handle, nullptr, 0, 0, limits.ptMinTrackSize.x, limits.ptMinTrackSize.y, SWP_NOMOVE | SWP_NOZORDER);
    pumpPending();

    RECT client{};
    GetClientRect(handle, &client);
    for (const auto& [control, name] : window->usedControls()) {
        const RECT rect = clientRectOf(*window, *control);
        EXPECT_LE(rect.right, client.right) << name;
        if (control != window->ControlCHILD) {  // the panel's frame takes the whole height anyway
            EXPECT_LE(rect.bottom, client.bottom) << name;
        }
    }
    const BoardGeometry& geometry = window->getGeometry();
    EXPECT_GE(geometry.squareSize, 16);
    EXPECT_LE(geometry.boardLeft + geometry.boardExtent(), client.right);
    EXPECT_LE(geometry.boardExtent(), client.bottom);
}

struct StartCase {
    const char* name;
    std::optional<std::string> content;  // none: no file
    bool asDirectory;
    const char* label;
    std::size_t figures;
};

void PrintTo(const StartCase& start, std::ostream* out) {
    *out << start.name;
}

class MainWindowStartTest : public WindowTest, public ::testing::WithParamInterface<StartCase> {};

TEST_P(MainWindowStartTest, StartsFromTheGameFileOrANewGame) {
    const StartCase& start = GetParam();
    if (start.asDirectory)
        std::filesystem::create_directory(gameFile());
    else if (start.content)
        writeGameFile(*start.content);
    MainWindowPtr window = openMainWindow();
    EXPECT_STREQ(window->EvalLABEL->getText().getText(), start.label);
    EXPECT_EQ(window->getBoard().figures().getCount(), start.figures);

    click(*window->RestartBtn);  // whatever the start, "Neustart" gives the initial layout
    EXPECT_STREQ(window->EvalLABEL->getText().getText(), kNewGameLabel);
    EXPECT_EQ(window->getBoard().figures().getCount(), 32u);
}

INSTANTIATE_TEST_SUITE_P(
    GameFiles, MainWindowStartTest,
    ::testing::Values(StartCase{"missing", std::nullopt, false, kNewGameLabel, 32},
                      StartCase{"empty", std::string(), false, kNewGameLabel, 32},
                      StartCase{"short", std::string("TSLDKLST"), false, "Patt/Remis", 0},
                      StartCase{"damaged", std::string(64, 'B') + "W", false, kNewGameLabel, 32},
                      StartCase{"unreadable", std::nullopt, true, kNewGameLabel, 32},
                      StartCase{"saved", std::string(4, ' ') + "K" + std::string(55, ' ') + "k   S", false,
                                "0 N\xE4" "chster: Schwarz", 2}),
    [](const ::testing::TestParamInfo<StartCase>& startCase) { return std::string(startCase.param.name); });

}  // namespace
}  // namespace chessapp::testing
