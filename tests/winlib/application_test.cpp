// The application object: names, the GUI file search on real files, the string cache.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "window_test_support.h"
#include "winlib/application_name.h"
#include "xml/document.h"

namespace winlib::test {
namespace {

const char* const kName = "winlibguitest";

// Knows which file it read by the root's "from" attribute; falls back to a compiled-in text.
class GuiApplication : public Application {
public:
    GuiApplication() { setApplicationName(kName); }
    vek::xml::Document* loadGui() override {
        if (vek::xml::Document* document = Application::loadGui())
            return document;
        return parseGui("<gui from=\"compiled\"><strings><group><string id=\"12\" caption=\"Zug\"/></group>"
                        "</strings></gui>",
                        getApplicationName() + "/" + getLanguage() + ".gui");
    }
    std::string source() {
        loadGui();
        const vek::xml::XmlContainer* root = getGuiDocument()->getRoot();
        return root != nullptr ? root->getAttribute("from").getText() : "";
    }
    std::string fileName() const { return getGuiDocument()->getFileName().getText(); }
    vek::STRING loadStringResource(int id) override {
        ++resourceLookups;
        return Application::loadStringResource(id);
    }
    int resourceLookups = 0;
};

void writeGui(const std::string& path, const std::string& from) {
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    std::fprintf(file, "<gui from=\"%s\"/>", from.c_str());
    std::fclose(file);
}

// A scratch current directory; the files it and the program's directory got are removed again.
class GuiFiles : public ::testing::Test {
protected:
    void SetUp() override {
        char buffer[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, buffer);
        oldDirectory_ = buffer;
        GetTempPathA(MAX_PATH, buffer);
        scratch_ = std::string(buffer) + "winlibguitest" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(scratch_.c_str(), nullptr);
        ASSERT_TRUE(SetCurrentDirectoryA(scratch_.c_str()));
        GuiApplication probe;
        language_ = probe.getLanguage().getText();
        programDirectory_ = directoryOfPath(probe.getModuleFileName()).getText();
    }
    void TearDown() override {
        SetCurrentDirectoryA(oldDirectory_.c_str());
        for (const std::string& file : created_)
            DeleteFileA(file.c_str());
        RemoveDirectoryA(scratch_.c_str());
    }
    std::string here(const std::string& name) { return add(scratch_ + "\\" + name); }
    std::string beside(const std::string& name) { return add(programDirectory_ + name); }
    std::string add(const std::string& path) {
        created_.push_back(path);
        return path;
    }
    std::string languageFile() const { return std::string(kName) + "." + language_ + ".gui"; }
    static std::string plainFile() { return std::string(kName) + ".gui"; }

    std::string language_;
    std::string programDirectory_;

private:
    std::string oldDirectory_;
    std::string scratch_;
    std::vector<std::string> created_;
};

TEST_F(GuiFiles, SearchOrderLanguageFilePlainFileBesideTheProgramThenCompiledIn) {
    ASSERT_FALSE(language_.empty());
    writeGui(here(languageFile()), "here language");
    writeGui(beside(languageFile()), "beside language");
    writeGui(here(plainFile()), "here plain");
    writeGui(beside(plainFile()), "beside plain");
    const char* expected[] = {"here language", "beside language", "here plain", "beside plain"};
    const std::string files[] = {languageFile(), languageFile(), plainFile(), plainFile()};
    for (int step = 0; step < 4; ++step) {
        GuiApplication application;
        EXPECT_EQ(application.source(), expected[step]);
        // This one out of the way: the next candidate must win.
        DeleteFileA(step % 2 == 0 ? files[step].c_str() : (programDirectory_ + files[step]).c_str());
    }
    GuiApplication application;
    EXPECT_EQ(application.source(), "compiled");
    EXPECT_EQ(application.fileName(), std::string(kName) + "\\" + language_ + ".gui");
}

TEST_F(GuiFiles, LoadStringCachesMissesAndFindsGuiStrings) {
    GuiApplication application;
    EXPECT_EQ(application.loadString(4711), "");
    EXPECT_EQ(application.resourceLookups, 1);
    EXPECT_EQ(application.loadString(4711), "");
    EXPECT_EQ(application.resourceLookups, 1);  // answered from the cache
    EXPECT_EQ(application.loadString(12), "Zug");
    EXPECT_EQ(application.loadString(12), "Zug");
    EXPECT_EQ(application.resourceLookups, 2);
    EXPECT_NE(application.findGuiElement("12", "string", "id"), nullptr);
    EXPECT_THROW(application.findGuiElement("12", "widget", "id"), vek::LibraryException);
}

TEST(Application, NamesIconAndSingleton) {
    EXPECT_EQ(Application::getInstance(), nullptr);
    {
        Application application;
        EXPECT_EQ(Application::getInstance(), &application);
        EXPECT_EQ(application.getVendorName(), "vek");
        EXPECT_EQ(application.getApplicationName(), "winlib_window_tests");
        EXPECT_NE(application.getIcon(), nullptr);
        EXPECT_EQ(application.getIcon(), application.getIcon());
        EXPECT_EQ(application.loadGui(), nullptr);  // no winlib_window_tests.gui anywhere
        EXPECT_EQ(application.findGuiElement("x", "form", "name"), nullptr);
    }
    EXPECT_EQ(Application::getInstance(), nullptr);
}

}  // namespace
}  // namespace winlib::test
