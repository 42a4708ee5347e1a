// The program under other system code pages: the test command runs this program with the Russian
// (ANSI 1251) and the Japanese (932) locale and names the code page in VEK_EXPECTED_ACP. The
// window must show the program's German texts, and a user whose name has letters that the
// system code page lacks must save and restore the game.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/game_file_writer.h"
#include "app/single_run.h"
#include "app_window_test_support.h"
#include "foundation/code_pages.h"
#include "foundation/platform.h"
#include "winlib/wide_text.h"

namespace chessapp::testing {
namespace {

std::wstring windowText(const winlib::BasicWindow& window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window.getHandle())) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window.getHandle(), text.data(), static_cast<int>(text.size()))));
    return text;
}

TEST(CodePage, TheSystemRunsUnderTheCodePageAsked) {
    const char* expected = std::getenv("VEK_EXPECTED_ACP");
    ASSERT_NE(expected, nullptr) << "the test command names the code page of the locale";
    EXPECT_EQ(GetACP(), std::strtoul(expected, nullptr, 10));
}

class CodePageWindowTest : public WindowTest {};

TEST_F(CodePageWindowTest, TheFormShowsItsGermanTexts) {
    MainWindowPtr window = openMainWindow();
    EXPECT_EQ(windowText(*window->BishopBtn), L"L\u00E4ufer");
    EXPECT_EQ(windowText(*window->KnightBtn), L"Springer");
    const std::wstring evaluation = windowText(*window->EvalLABEL);
    EXPECT_NE(evaluation.find(L"N\u00E4chster: Wei\u00DF"), std::wstring::npos) << evaluation.size();
    // Texts come in the other way: the depth typed in.
    SetWindowTextW(window->DepthEdt->getHandle(), L"4");
    pumpPending();
    EXPECT_STREQ(window->DepthEdt->getText().getText(), "4");
}

// A folder with Polish, Cyrillic and Japanese letters, as a user name brings them into TMP.
class ForeignUserNameTest : public ::testing::Test {
protected:
    void SetUp() override {
        application();  // its single-run claim is made now, on the private folder
        folder_ = temp_.path() / L"\u0141ukasz W\u00F3jcik \u0416\u0443\u043A\u043E\u0432 \u6771\u4EAC";
        std::filesystem::create_directories(folder_);
        // As a program started by such a user finds it: in the run-time library's copy too.
        ASSERT_EQ(_wputenv_s(L"TMP", folder_.wstring().c_str()), 0);
    }
    void TearDown() override {
        setVariable("TMP", privateTemporaryFolder());
        EXPECT_TRUE(recorder_.reports().empty()) << recorder_.reports().front();
    }

    ScratchDirectory temp_;
    ErrorRecorder recorder_;
    std::filesystem::path folder_;
};

TEST_F(ForeignUserNameTest, TheGameIsSavedAndRestored) {
    GameFiles files;
    EXPECT_EQ(vek::toUtf16(files.tempDirectory()), folder_.u16string() + u"\\");
    const vek::STRING saved = positionOf({"Ke1", "Dd1", "Ta1", "ke8", "dd8", "ta8"}, 'S');
    ASSERT_EQ(saveGame(files, saved), wfNONE);
    EXPECT_TRUE(std::filesystem::is_regular_file(folder_ / L"chess.txt"));
    EXPECT_TRUE(std::filesystem::is_regular_file(folder_ / L"chess1.txt"));

    MainWindowPtr window = openMainWindow();
    EXPECT_STREQ(savedPositionText(window->getBoard()).getText(), saved.getText());
    window.reset();

    // The single-run claim is the folder's, however the letters' case is written.
    const SingleRun claim(files.tempDirectory());
    EXPECT_TRUE(claim.isFirst());
    const std::wstring otherCase = temp_.path().wstring() + L"\\\u0142UKASZ w\u00D3JCIK \u0436\u0423\u041A\u041E\u0412 \u6771\u4EAC\\";
    EXPECT_FALSE(SingleRun(winlib::fromWide(otherCase)).isFirst());
}

// A path longer than the plain form allows is handed to the system in the "\\?\" form, and the
// game is saved there too.
TEST_F(ForeignUserNameTest, ALongFolderTakesTheGameToo) {
    const std::filesystem::path deep = folder_ / std::wstring(120, L'\u0416') / std::wstring(120, L'\u6771');
    std::filesystem::create_directories(deep);
    const vek::STRING path = winlib::fromWide(deep.wstring() + L"\\chess.txt");
    EXPECT_EQ(vek::systemPath(path).rfind(u"\\\\?\\", 0), 0u);
    EXPECT_EQ(replaceFile(path, "         W"), wfNONE);
    EXPECT_TRUE(std::filesystem::is_regular_file(deep / L"chess.txt"));
}

bool hasLongForm(const vek::STRING& path) { return vek::systemPath(path).rfind(u"\\\\?\\", 0) == 0; }

// Windows takes a plain folder name of at most 247 characters (MAX_PATH less 12, CreateDirectory's
// limit) and a plain file name of at most 259: from 248 on, every name must cross in the "\\?\"
// form. Wine takes plain names of any length, so beside saving and restoring, the form each name
// crosses in is checked, for TMP folders of 236 to 260 characters (the game file's name reaches
// 248 with a folder of 238). Windows counts UTF-16 units, not the UTF-8 bytes of these letters.
TEST_F(ForeignUserNameTest, TmpFoldersAroundThePlainLengthLimitTakeTheGame) {
    constexpr std::size_t kPlainLimit = MAX_PATH - 12;
    constexpr std::size_t kParentLength = 230;
    const std::wstring start = folder_.wstring() + L"\\";
    ASSERT_LT(start.size(), kParentLength) << "the test folder lies too deep for these lengths";
    const std::wstring parent = start + std::wstring(kParentLength - start.size(), L'x');
    ASSERT_TRUE(std::filesystem::create_directories(parent));
    const vek::STRING saved = positionOf({"Ke1", "Dd1", "ke8"}, 'S');
    for (std::size_t length = 236; length <= 260; ++length) {
        SCOPED_TRACE(length);
        const std::wstring tmp = parent + L"\\" + std::wstring(length - kParentLength - 1, L'y');
        ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + tmp).c_str(), nullptr));  // any length on Windows too
        ASSERT_EQ(_wputenv_s(L"TMP", tmp.c_str()), 0);
        GameFiles files;
        const vek::STRING folder = winlib::fromWide(tmp);
        EXPECT_EQ(hasLongForm(folder), length >= kPlainLimit);
        EXPECT_TRUE(vek::isDirectory(folder));
        EXPECT_EQ(hasLongForm(files.gameFileName()), length + 10 >= kPlainLimit);  // "\chess.txt"

        ASSERT_EQ(saveGame(files, saved), wfNONE);
        vek::chess::Board board;
        EXPECT_EQ(restoreGame(board, files.gameFileName()), gsRESTORED);
        EXPECT_STREQ(savedPositionText(board).getText(), saved.getText());
        EXPECT_EQ(restoreGame(board, files.tempDirectory() + "chess1.txt"), gsRESTORED);
    }
}

}  // namespace
}  // namespace chessapp::testing
