#include "winlib/gui_file_search.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "winlib/application_name.h"

namespace {

using vek::STRING;
using winlib::findGuiFile;

// An existence test over a fixed set of names that records what was asked.
struct FakeFiles {
    std::set<std::string> present;
    std::vector<std::string> asked;
    winlib::ExistenceTest test() {
        return [this](const STRING& name) {
            asked.emplace_back(name.getText());
            return present.count(name.getText()) != 0;
        };
    }
};

const char* const kProgram = "C:\\games\\chess.exe";

TEST(GuiFileSearch, TriesLanguageFileThenPlainFileEachHereThenBesideTheProgram) {
    FakeFiles files;
    EXPECT_TRUE(findGuiFile("chess", "de", kProgram, files.test()).isEmpty());
    EXPECT_EQ(files.asked, (std::vector<std::string>{"chess.de.gui", "C:\\games\\chess.de.gui", "chess.gui",
                                                     "C:\\games\\chess.gui"}));
}

TEST(GuiFileSearch, TakesTheFirstThatExists) {
    FakeFiles files;
    files.present = {"chess.de.gui", "C:\\games\\chess.de.gui", "chess.gui", "C:\\games\\chess.gui"};
    EXPECT_EQ(findGuiFile("chess", "de", kProgram, files.test()), "chess.de.gui");
    files.present.erase("chess.de.gui");
    EXPECT_EQ(findGuiFile("chess", "de", kProgram, files.test()), "C:\\games\\chess.de.gui");
    files.present.erase("C:\\games\\chess.de.gui");
    EXPECT_EQ(findGuiFile("chess", "de", kProgram, files.test()), "chess.gui");
    files.present.erase("chess.gui");
    EXPECT_EQ(findGuiFile("chess", "de", kProgram, files.test()), "C:\\games\\chess.gui");
    // Without a language only the plain name is looked for.
    files.asked.clear();
    EXPECT_EQ(findGuiFile("chess", "", kProgram, files.test()), "C:\\games\\chess.gui");
    EXPECT_EQ(files.asked.size(), 2u);
}

TEST(GuiFileSearch, ResolvesRelativeNamesOnly) {
    EXPECT_EQ(winlib::resolveBesideProgram("x.gui", kProgram), "C:\\games\\x.gui");
    EXPECT_EQ(winlib::resolveBesideProgram("D:\\x.gui", kProgram), "D:\\x.gui");
    EXPECT_EQ(winlib::resolveBesideProgram("\\x.gui", kProgram), "\\x.gui");
    EXPECT_EQ(winlib::resolveBesideProgram("x.gui", "chess.exe"), "x.gui");
    EXPECT_EQ(winlib::resolveBesideProgram("x.gui", "/opt/bin/chess"), "/opt/bin/x.gui");
}

TEST(ApplicationName, IsTheBaseNameWithoutItsExtension) {
    EXPECT_EQ(winlib::applicationNameFromPath("C:\\games\\chess.exe"), "chess");
    EXPECT_EQ(winlib::applicationNameFromPath("chess.exe"), "chess");
    EXPECT_EQ(winlib::applicationNameFromPath("C:\\games\\chess"), "chess");
    EXPECT_EQ(winlib::applicationNameFromPath("C:\\a\\my.chess.exe"), "my.chess");
    // A dot in a directory name is no extension.
    EXPECT_EQ(winlib::applicationNameFromPath("C:\\v1.2\\chess"), "chess");
    EXPECT_EQ(winlib::applicationNameFromPath("/usr/bin/chess.bin"), "chess");
    EXPECT_EQ(winlib::applicationNameFromPath(""), "");
    EXPECT_EQ(winlib::directoryOfPath("C:\\games\\chess.exe"), "C:\\games\\");
    EXPECT_EQ(winlib::directoryOfPath("chess.exe"), "");
}

}  // namespace
