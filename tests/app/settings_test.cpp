// The depth setting in the registry (in the test program's own Wine prefix) and the temporary
// folder as the process environment gives it.
#include <gtest/gtest.h>

#include "app/game_files.h"
#include "app/settings.h"
#include "app_window_test_support.h"

namespace chessapp::testing {
namespace {

// Names of their own, so that nothing here meets the program's settings.
constexpr const char* kVendor = "vek-settings-test";
constexpr const char* kApplication = "chess";

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        deleteVendorKey(HKEY_CURRENT_USER, kVendor);
        deleteVendorKey(HKEY_LOCAL_MACHINE, kVendor);
    }
    void TearDown() override { SetUp(); }

    static void writeDword(HKEY root, DWORD value) {
        writeRegistryValue(root, kVendor, kApplication, "depth", REG_DWORD, &value, sizeof value);
    }
    static std::int32_t read(std::int32_t defaultValue = 1) {
        return readRegistryInt(kVendor, kApplication, vek::STRING(), "depth", defaultValue);
    }
};

TEST_F(SettingsTest, ReadsTheUserValueThenTheMachineValueThenTheDefault) {
    EXPECT_EQ(read(7), 7);
    EXPECT_FALSE(registryKeyExists(HKEY_CURRENT_USER, kVendor, kApplication)) << "reading creates no key";

    writeDword(HKEY_LOCAL_MACHINE, 3);
    EXPECT_EQ(read(), 3);
    writeDword(HKEY_CURRENT_USER, 5);
    EXPECT_EQ(read(), 5);
    EXPECT_EQ(readRegistryInt(kVendor, kApplication, vek::STRING(), "depth", 1, true), 3);

    const DWORD negative = static_cast<DWORD>(-2);
    writeDword(HKEY_CURRENT_USER, negative);
    EXPECT_EQ(read(), -2);
}

TEST_F(SettingsTest, IgnoresValuesOfAnotherTypeOrWithoutData) {
    writeDword(HKEY_LOCAL_MACHINE, 4);
    writeRegistryValue(HKEY_CURRENT_USER, kVendor, kApplication, "depth", REG_SZ, "9", 2);
    EXPECT_EQ(read(), 4);
    writeRegistryValue(HKEY_CURRENT_USER, kVendor, kApplication, "depth", REG_DWORD, "", 0);
    EXPECT_EQ(read(), 4);
    writeRegistryValue(HKEY_LOCAL_MACHINE, kVendor, kApplication, "depth", REG_BINARY, "\x06\0\0\0", 4);
    EXPECT_EQ(read(), 1);
}

TEST_F(SettingsTest, ReadsBelowAFurtherSubKeyOnlyWhenItExists) {
    writeDword(HKEY_CURRENT_USER, 5);
    EXPECT_EQ(readRegistryInt(kVendor, kApplication, "window", "depth", 8), 8);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\vek-settings-test\\chess\\window", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const DWORD value = 6;
    RegSetValueExA(key, "depth", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
    EXPECT_EQ(readRegistryInt(kVendor, kApplication, "window", "depth", 8), 6);
}

TEST_F(SettingsTest, StoringCreatesTheKeysOfTheCurrentUser) {
    ASSERT_FALSE(registryKeyExists(HKEY_CURRENT_USER, kVendor, kApplication));
    EXPECT_EQ(storeDepth(kVendor, kApplication, 12), ERROR_SUCCESS);
    EXPECT_TRUE(registryKeyExists(HKEY_CURRENT_USER, kVendor, kApplication));
    EXPECT_FALSE(registryKeyExists(HKEY_LOCAL_MACHINE, kVendor, kApplication));
    EXPECT_EQ(read(), 12);
    storeDepth(kVendor, kApplication, 0);
    EXPECT_EQ(read(), 0);
}

TEST(TemporaryFolderTest, ComesFromTmpElseTempWithOneTrailingBackslash) {
    setVariable("TMP", "C:\\games\\saved");
    EXPECT_STREQ(GameFiles().gameFileName().getText(), "C:\\games\\saved\\chess.txt");
    setVariable("TMP", "C:\\games\\saved\\");
    EXPECT_STREQ(GameFiles().gameFileName().getText(), "C:\\games\\saved\\chess.txt");
    setVariable("TMP", "");
    setVariable("TEMP", "D:\\other");
    GameFiles files;
    EXPECT_STREQ(files.gameFileName().getText(), "D:\\other\\chess.txt");
    EXPECT_STREQ(files.numberedGameFileName().getText(), "D:\\other\\chess1.txt");

    setVariable("TMP", privateTemporaryFolder());
    setVariable("TEMP", privateTemporaryFolder());
}

}  // namespace
}  // namespace chessapp::testing
