// The application object: names, GUI definition, strings, icon and the run of the main window.
#include "winlib/application.h"

#include <commctrl.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "foundation/exceptions.h"
#include "winlib/application_name.h"
#include "winlib/callback_window.h"
#include "winlib/gui_file_search.h"
#include "winlib/gui_lookup.h"
#include "xml/document.h"
#include "xml/parser.h"
#include "winlib/wide_text.h"

namespace winlib {

namespace {

Application* singleton = nullptr;
HINSTANCE instanceHandle = nullptr;
HWND findReplaceDialog = nullptr;

constexpr int kIconResource = 1;
constexpr DWORD kModulePathLimit = 10239;
constexpr int kStringBufferSize = 10240;

}  // namespace

HINSTANCE getInstanceHandle() { return instanceHandle != nullptr ? instanceHandle : GetModuleHandleA(nullptr); }
void setInstanceHandle(HINSTANCE instance) { instanceHandle = instance; }
HWND getFindReplaceDialog() { return findReplaceDialog; }
void setFindReplaceDialog(HWND dialog) { findReplaceDialog = dialog; }

Application::Application() : vendorName_("vek") { singleton = this; }

Application::~Application() {
    if (singleton == this)
        singleton = nullptr;
}

Application* Application::getInstance() { return singleton; }

// ---------------------------------------------------------------------------------------------
// The run

bool Application::startApplication(HINSTANCE, const char*, int) { return false; }

CallbackWindow* Application::createMainWindow(const char*, int) { return nullptr; }

void Application::deleteMainWindow(CallbackWindow*) {}

int Application::run(HINSTANCE instance, const char* commandLine, int show) {
    setInstanceHandle(instance);
    // The window classes of the common controls the framework wraps (Windows registers them
    // only on request, and the version 6 controls of the manifest need it).
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_DATE_CLASSES |
                                        ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    if (startApplication(instance, commandLine, show))
        return 1;
    mainWindow_ = createMainWindow(commandLine, show);
    if (mainWindow_ == nullptr)
        return 1;
    mainWindow_->mainLoop();
    CallbackWindow* const window = mainWindow_;
    mainWindow_ = nullptr;
    deleteMainWindow(window);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Names and resources

const vek::STRING& Application::getApplicationName() {
    if (applicationName_.isEmpty())
        applicationName_ = applicationNameFromPath(getModuleFileName());
    return applicationName_;
}

const vek::STRING& Application::getLanguage() {
    if (language_.isEmpty()) {
        char buffer[128] = {};
        if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SISO639LANGNAME, buffer, sizeof buffer) > 0)
            language_ = vek::STRING(buffer);
    }
    return language_;
}

const vek::STRING& Application::getModuleFileName() {
    if (moduleFileName_.isEmpty()) {
        std::wstring path(kModulePathLimit + 1, L'\0');
        const DWORD length = GetModuleFileNameW(getInstanceHandle(), path.data(), kModulePathLimit + 1);
        moduleFileName_ = fromWide(path.data(), length <= kModulePathLimit ? length : kModulePathLimit);
    }
    return moduleFileName_;
}

HICON Application::getIcon() {
    if (icon_ == nullptr) {
        icon_ = LoadIconA(getInstanceHandle(), MAKEINTRESOURCEA(kIconResource));
        if (icon_ == nullptr)
            icon_ = LoadIconA(nullptr, IDI_APPLICATION);
    }
    return icon_;
}

vek::STRING Application::loadStringResource(int id) {
    std::wstring buffer(kStringBufferSize, L'\0');
    const int length = LoadStringW(getInstanceHandle(), static_cast<UINT>(id), buffer.data(), kStringBufferSize);
    return length > 0 ? fromWide(buffer.data(), static_cast<std::size_t>(length)) : vek::STRING();
}

vek::STRING Application::loadString(int id) {
    if (const vek::STRING* cached = strings_.find(id))
        return *cached;
    vek::STRING text = loadStringResource(id);
    if (text.isEmpty()) {
        if (const vek::xml::XmlContainer* element = findGuiElement(vek::STRING::fromNumber(id), "string", "id"))
            text = element->getAttribute("caption");
    }
    // Misses too: an unknown id is not searched again.
    strings_.store(id, text);
    return text;
}

// ---------------------------------------------------------------------------------------------
// The GUI definition

bool Application::fileExists(const vek::STRING& name) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(widePath(name).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return true;
}

vek::xml::Document* Application::loadGui() {
    if (guiDocument_ != nullptr)
        return guiDocument_.get();
    const vek::STRING fileName = findGuiFile(getApplicationName(), getLanguage(), getModuleFileName(), fileExists);
    if (fileName.isEmpty())
        return nullptr;
    vek::STRING content;
    content.readFromFile(fileName);  // OpenReadError when it cannot be read
    std::istringstream in(std::string(content.getText(), content.getLength()));
    auto document = std::make_unique<vek::xml::Document>();
    document->setFileName(fileName);
    vek::xml::Parser parser(in);
    parser.readFile(*document);
    guiDocument_ = std::move(document);
    guiRoot_ = guiDocument_->getRoot();
    return guiDocument_.get();
}

vek::xml::Document* Application::parseGui(const vek::STRING& text, const vek::STRING& fileName) {
    std::istringstream in(std::string(text.getText(), text.getLength()));
    auto document = std::make_unique<vek::xml::Document>();
    std::string name(fileName.getText(), fileName.getLength());
    std::replace(name.begin(), name.end(), '/', '\\');
    document->setFileName(vek::STRING(name.c_str(), name.size()));
    vek::xml::Parser parser(in);
    parser.readFile(*document);
    guiDocument_ = std::move(document);
    guiRoot_ = guiDocument_->getRoot();
    return guiDocument_.get();
}

const vek::xml::XmlContainer* Application::findGuiElement(const vek::STRING& value, const vek::STRING& type,
                                                          const vek::STRING& attribute) {
    if (guiDocument_ == nullptr)
        loadGui();
    if (guiRoot_ == nullptr)
        return nullptr;
    return winlib::findGuiElement(guiRoot_, value, type, attribute);
}

}  // namespace winlib
