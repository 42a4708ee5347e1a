#pragma once
// The application object: the one per program that owns its names, GUI definition, string
// cache, icon and main window, and runs the main window's message loop. Main thread only.

#include <windows.h>

#include <memory>

#include "foundation/string.h"
#include "winlib/string_cache.h"

namespace vek::xml {
class Document;
class XmlContainer;
}

namespace winlib {

class CallbackWindow;

class Application {
public:
    // Registers itself as the singleton (a later construction replaces it); vendor "vek".
    Application();
    // Unregisters itself if it still is the singleton.
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // True aborts the start. Default false.
    virtual bool startApplication(HINSTANCE instance, const char* commandLine, int show);
    // Looks for the GUI file (name.lang.gui, name.gui; current directory, then beside the
    // program) unless a document is held; null when no file exists. Throws OpenReadError.
    virtual vek::xml::Document* loadGui();
    // Default null.
    virtual CallbackWindow* createMainWindow(const char* commandLine, int show);
    virtual void deleteMainWindow(CallbackWindow* window);
    // Start, create the main window, run its loop, delete it: the process's exit code.
    virtual int run(HINSTANCE instance, const char* commandLine, int show);

    const vek::STRING& getVendorName() const { return vendorName_; }
    void setVendorName(const vek::STRING& name) { vendorName_ = name; }
    // Derived from the program file's name when none was set.
    const vek::STRING& getApplicationName();
    void setApplicationName(const vek::STRING& name) { applicationName_ = name; }
    // The ISO 639 name of the user's language, cached.
    const vek::STRING& getLanguage();
    // The program file's full path, cached.
    const vek::STRING& getModuleFileName();
    // The icon resource 1, else the system's application icon; cached.
    HICON getIcon();
    // The text of a string resource, else of the GUI's "string" element; cached, misses too.
    vek::STRING loadString(int id);
    // The GUI element of that type whose attribute has the value (loads the GUI first).
    const vek::xml::XmlContainer* findGuiElement(const vek::STRING& value, const vek::STRING& type,
                                                 const vek::STRING& attribute);
    CallbackWindow* getMainWindow() const { return mainWindow_; }
    // The accelerator table the default preTranslateMessage uses; null = none.
    HACCEL getAccelerators() const { return accelerators_; }
    void setAccelerators(HACCEL accelerators) { accelerators_ = accelerators; }

    static Application* getInstance();  // null when none

protected:
    // Parses text into a new document named fileName and keeps it with its root.
    vek::xml::Document* parseGui(const vek::STRING& text, const vek::STRING& fileName);
    vek::xml::Document* getGuiDocument() const { return guiDocument_.get(); }
    const vek::xml::XmlContainer* getGuiRoot() const { return guiRoot_; }
    // The string resource id ("" when there is none); the lookup loadString caches.
    virtual vek::STRING loadStringResource(int id);
    // Whether a file or directory of exactly that name exists (a directory search).
    static bool fileExists(const vek::STRING& name);

private:
    vek::STRING vendorName_;
    vek::STRING language_;
    vek::STRING applicationName_;
    vek::STRING moduleFileName_;
    HICON icon_ = nullptr;
    CallbackWindow* mainWindow_ = nullptr;
    std::unique_ptr<vek::xml::Document> guiDocument_;
    const vek::xml::XmlContainer* guiRoot_ = nullptr;
    StringCache strings_;
    HACCEL accelerators_ = nullptr;
};

// The program's instance handle (the module's own when the entry point has not stored one).
HINSTANCE getInstanceHandle();
void setInstanceHandle(HINSTANCE instance);

// The open modeless find/replace dialog, which the message loop serves; null when none.
HWND getFindReplaceDialog();
void setFindReplaceDialog(HWND dialog);

}  // namespace winlib
