#include "app_window_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>


namespace chessapp::testing {
namespace {

// An engine move of depth 1 takes moments; a stopped deep search ends soon after the request.
constexpr DWORD kEngineWaitMs = 60000;

// The test program never lets anything land in a real temporary folder: its own folder beside
// the program is TMP and TEMP from the start, before any scratch directory is made.
class PrivateTemporaryFolder : public ::testing::Environment {
public:
    void SetUp() override {
        std::filesystem::create_directories(privateTemporaryFolder());
        setVariable("TMP", privateTemporaryFolder());
        setVariable("TEMP", privateTemporaryFolder());
    }
};

const ::testing::Environment* const kTemporaryFolder =
    ::testing::AddGlobalTestEnvironment(new PrivateTemporaryFolder);  // gtest owns it

std::string keyPath(const char* vendor, const char* application) {
    std::string path = std::string("SOFTWARE\\") + vendor;
    if (application != nullptr)
        path += std::string("\\") + application;
    return path;
}

}  // namespace

const std::string& privateTemporaryFolder() {
    static const std::string folder = (std::filesystem::current_path() / "app-window-tests-temp").string();
    return folder;
}

WindowsApplication& application() {
    static WindowsApplication* const instance = [] {
        auto* created = new WindowsApplication;  // lives as long as the program
        created->startApplication(GetModuleHandleA(nullptr), "", SW_SHOW);
        return created;
    }();
    return *instance;
}

void setVariable(const char* name, const std::string& value) {
    // _putenv_s changes the run-time library's copy (getenv) and the system's alike.
    ASSERT_EQ(_putenv_s(name, value.c_str()), 0) << name;
}

void deleteVendorKey(HKEY root, const char* vendor) {
    const LONG status = RegDeleteTreeA(root, keyPath(vendor, nullptr).c_str());
    ASSERT_TRUE(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) << status;
}

void writeRegistryValue(HKEY root, const char* vendor, const char* application, const char* name, DWORD type,
                        const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, keyPath(vendor, application).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(key);
}

bool registryKeyExists(HKEY root, const char* vendor, const char* application) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, keyPath(vendor, application).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

MainWindowPtr openMainWindow() {
    application();
    MainWindowPtr window(new ChessMainWindow);
    EXPECT_EQ(window->create(nullptr), 0);
    pumpPending();
    return window;
}

void releaseOn(ChessMainWindow& window, vek::chess::Square square, UINT message) {
    const std::optional<Cell> cell = cellOf(window.getGeometry(), square);
    ASSERT_TRUE(cell.has_value());
    const int x = cell->left + cell->size / 2;
    const int y = cell->top + cell->size / 2;
    SendMessageA(window.getHandle(), message, 0, MAKELPARAM(x, y));
}

void click(const winlib::BasicWindow& button) {
    SendMessageA(button.getHandle(), BM_CLICK, 0, 0);
    pumpPending();
}

bool waitForEngine(ChessMainWindow& window) {
    return pumpUntil([&window] { return !window.isEngineRunning(); }, kEngineWaitMs);
}

std::vector<std::string> moveLines(const ChessMainWindow& window) {
    std::vector<std::string> lines;
    for (int i = 0; i < window.MovesBOX->getCount(); ++i)
        lines.emplace_back(window.MovesBOX->getEntry(i).getText());
    return lines;
}

void WindowTest::SetUp() {
    application();
    setVariable("TMP", temp.path().string());
    deleteVendorKey(HKEY_CURRENT_USER, "vek");
    deleteVendorKey(HKEY_LOCAL_MACHINE, "vek");
}

void WindowTest::TearDown() {
    // The scratch folder goes with the test; the next one is made in the private folder again.
    setVariable("TMP", privateTemporaryFolder());
    EXPECT_TRUE(ErrorRecorder::reports().empty()) << ErrorRecorder::reports().front();
}

std::string WindowTest::gameFile(const char* name) const {
    return (temp.path() / name).string();
}

void WindowTest::writeGameFile(const std::string& content) const {
    std::FILE* file = std::fopen(gameFile().c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(content.data(), 1, content.size(), file);
    std::fclose(file);
}

}  // namespace chessapp::testing
