#pragma once
// CallbackWindow: a window whose messages the framework's window procedure turns into calls of
// the virtual handlers below. Every callback window is in the global window list, in creation
// order. Main thread only.

#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "foundation/list_entry.h"
#include "foundation/string.h"
#include "winlib/geometry.h"
#include "winlib/message_decoding.h"
#include "winlib/process_status.h"
#include "winlib/window.h"

namespace winlib {

class Device;
class LayoutManager;
class ToolTipWindow;
class TreeView;

class CallbackWindow : public BasicWindow, public vek::ListEntry {
public:
    explicit CallbackWindow(BasicWindow* owner = nullptr);
    // Kills timer 1, deletes the tooltip, unlinks from the global list, destroys the menu.
    ~CallbackWindow() override;

    // Stops timer 1, drops the tooltip, marks the window closing, then closes as BasicWindow.
    int close() override;
    bool canClose() override;
    bool removeChild(BasicWindow* window, bool keep) override;

    // The handlers: each returns what the window procedure then does (process_status.h).
    virtual ProcessStatus handleCreate();                // WM_CREATE of a window not built from a form
    virtual void getControls();                          // forms bind their named controls here
    virtual ProcessStatus handleClose();                 // canClose() ? close() : refuse
    virtual ProcessStatus handleDestroy();
    virtual ProcessStatus handleShow();
    virtual ProcessStatus handleHide();
    virtual void handleMdiActivate(bool active);
    virtual ProcessStatus handleErase(Device& device);   // paints the background brush, if any
    virtual ProcessStatus handleRepaint(Device& device);
    virtual ProcessStatus handleEditChange(int id);
    virtual ProcessStatus handleButtonClick(int id);     // handleCommand(id)
    virtual ProcessStatus handleSelectionChanged(int id);
    virtual ProcessStatus handleNotification(int code, int id);
    virtual ProcessStatus handleCommand(int id);         // psPOST_TO_PARENT
    virtual ProcessStatus handleScrollbarChange(int id); // handleCommand(id)
    virtual ProcessStatus handleVerticalScroll(int code, int position, HWND bar);
    virtual ProcessStatus handleHorizontalScroll(int code, int position, HWND bar);
    virtual ProcessStatus handleCaptureChanged();
    virtual ProcessStatus handleMouseMove(WPARAM modifiers, Point point);
    virtual ProcessStatus handleLeftButton(UINT message, WPARAM modifiers, Point point);
    virtual ProcessStatus handleRightButton(UINT message, WPARAM modifiers, Point point);
    virtual ProcessStatus handleResize(Size size);       // doLayout(size), invalidate, psDO_DEFAULT
    virtual void handleFile(const vek::STRING& fileName, int index, int count);
    virtual void handleFind(const vek::STRING& findText, DWORD flags);
    virtual void handleReplace(const vek::STRING& findText, const vek::STRING& replaceText, DWORD flags);
    virtual ProcessStatus handleDdeInitiate(const vek::STRING& application, const vek::STRING& topic);
    virtual ProcessStatus handleDdeExecute(const vek::STRING& command);
    virtual void showHelp(int contextType, int controlId);  // the help tooltip of that control
    virtual void handleTimer();                          // timer id 1 only
    virtual void handleFocus();
    virtual ProcessStatus handleKeyDown(WPARAM key, LPARAM flags);
    virtual ProcessStatus handleKeyUp(WPARAM key, LPARAM flags);
    virtual ProcessStatus handleCharacter(WPARAM character, LPARAM flags);
    virtual void handleKillFocus();
    virtual void handleAsyncTaskEnd(LPARAM data);        // WM_ASYNC_TASK_END; data = the thread's word
    virtual ProcessStatus handleMessage(UINT message, WPARAM wParam, LPARAM lParam);  // all others
    virtual LRESULT callDefaultProc(UINT message, WPARAM wParam, LPARAM lParam);     // DefWindowProcA
    virtual bool handleTreeDragMove(TreeView* tree, HTREEITEM dragged, HTREEITEM over);
    virtual void handleTreeDrop(TreeView* tree, HTREEITEM dragged, HTREEITEM target);
    // The loop's first look at a message; true = done. Default: the application accelerators.
    virtual bool preTranslateMessage(MSG& message);

    // Runs the message loop until WM_QUIT; loops may nest.
    void mainLoop();
    // The result a handler returns with psPROCESSED (reset to 0 before every handler).
    void setResult(LRESULT result) { result_ = result; }
    LRESULT getResult() const { return result_; }
    // Cleared while a form is built: WM_COMMAND and WM_NOTIFY then reach no handler.
    bool isCommandsEnabled() const { return commandsEnabled_; }
    void setCommandsEnabled(bool enabled) { commandsEnabled_ = enabled; }
    // Notes the control in this window that has the focus now, if any: it gets the focus back
    // when the window is activated again (after a message box, or another program).
    void rememberFocus();
    // Gives the focus to the remembered control, or to the first tab stop when that one cannot
    // take it (gone, hidden or disabled).
    void focusControl();
    // Set for forms: the loop gives their messages to IsDialogMessageA (Tab navigation), and the
    // focus the window gets goes on to a control (focusControl).
    bool isDialogNavigation() const { return dialogNavigation_; }
    void setDialogNavigation(bool enabled) { dialogNavigation_ = enabled; }
    void setLayoutManager(std::unique_ptr<LayoutManager> manager);
    LayoutManager* getLayoutManager() const { return layoutManager_.get(); }
    // The manager's doLayout over getChildren(), if there is a manager.
    void doLayout(Size size);
    // SetTimer id 1; close and the destructor kill it.
    void startTimer(UINT periodMs);
    void stopTimer();
    bool isAltDown() const { return keys_.alt; }
    bool isShiftDown() const { return keys_.shift; }
    bool isCtrlDown() const { return keys_.ctrl; }
    // The client size of the last WM_SIZE.
    Size getLastClientSize() const { return clientSize_; }
    // The menu is destroyed with the window object.
    void setMenu(HMENU menu);
    HMENU getMenu() const { return menu_; }

    // The callback window with that live handle in the global list, or null.
    static CallbackWindow* findWindow(HWND handle);
    // The first callback window in the global list (creation order), or null.
    static CallbackWindow* firstWindow();
    CallbackWindow* nextWindow() const;
    // The one window procedure of every framework window class.
    static LRESULT CALLBACK windowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);

private:
    struct TreeDrag {
        TreeView* tree = nullptr;
        HTREEITEM item = nullptr;
        HIMAGELIST image = nullptr;
    };

    static CallbackWindow* objectForCreation(HWND handle, UINT message, LPARAM lParam);
    static void removeAfterDestroy(CallbackWindow* window);
    LRESULT dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    ProcessStatus callHandler(UINT message, WPARAM wParam, LPARAM lParam);
    ProcessStatus handleCreateMessage(UINT message);
    ProcessStatus handleDestroyMessage();
    ProcessStatus handlePaintMessage();
    ProcessStatus handleEraseMessage(WPARAM wParam);
    ProcessStatus handleCommandMessage(WPARAM wParam, LPARAM lParam);
    ProcessStatus handleNotifyMessage(LPARAM lParam);
    ProcessStatus handleTimerMessage(WPARAM timerId);
    ProcessStatus handleMouseMessage(UINT message, WPARAM wParam, LPARAM lParam);
    ProcessStatus handleFontMessage(UINT message, WPARAM wParam, LPARAM lParam);
    ProcessStatus handleControlColour(WPARAM wParam, LPARAM lParam);
    ProcessStatus handleDropFiles(WPARAM wParam);
    ProcessStatus handleDdeMessage(UINT message, WPARAM wParam, LPARAM lParam);
    ProcessStatus handleFindReplace(LPARAM lParam);
    LRESULT statusToResult(ProcessStatus status, UINT message, WPARAM wParam, LPARAM lParam);
    void beginTreeDrag(const NMTREEVIEWA& notification);
    void trackTreeDrag(Point point);
    void endTreeDrag(Point point);
    HTREEITEM treeItemAt(Point point) const;
    bool hideToolTip();  // true when a tooltip was shown
    void helpTick();
    vek::STRING helpTextOf(BasicWindow* window);
    void showToolTip(const vek::STRING& text, BasicWindow* anchor);
    void dispatchLoopMessage(MSG& message);
    static bool giveToDialogNavigation(MSG& message);

protected:
    void prepareWindowClass(const vek::STRING& className) override;
    void* creationParameter() override;

private:

    HMENU menu_ = nullptr;
    std::unique_ptr<ToolTipWindow> toolTip_;
    bool helpTimerRunning_ = false;
    HWND lastHelpWindow_ = nullptr;       // the child under the mouse at the last help tick
    vek::STRING lastHelpText_;            // the text shown last
    TreeDrag treeDrag_;
    bool commandsEnabled_ = true;
    bool dialogNavigation_ = false;
    HWND focusedControl_ = nullptr;  // the control to give the focus back to
    bool closing_ = false;
    bool destroyed_ = false;
    bool timerRunning_ = false;
    ModifierKeys keys_;
    int nesting_ = 0;
    int loopNesting_ = 0;
    std::unique_ptr<LayoutManager> layoutManager_;
    Size clientSize_;
    LRESULT result_ = 0;
};

}  // namespace winlib
