#pragma once
// Window objects: ForeignWindow wraps any window handle; BasicWindow adds the settings a window
// is created with (stored until the window exists), its owner, parent and children, text,
// font, background and layout data. Main thread only.

#include <windows.h>

#include <memory>

#include "foundation/array.h"
#include "foundation/string.h"
#include "winlib/dpi_scale.h"
#include "winlib/gdi_shared.h"
#include "winlib/geometry.h"

namespace vek::xml {
class XmlContainer;
}

namespace winlib {

struct LayoutData;

// The handle a window object keeps once its window has been destroyed: neither null nor a window.
HWND destroyedHandle();

class ForeignWindow {
public:
    explicit ForeignWindow(HWND handle = nullptr);
    virtual ~ForeignWindow();
    ForeignWindow(const ForeignWindow&) = delete;
    ForeignWindow& operator=(const ForeignWindow&) = delete;

    // DestroyWindow: 0 success, 1 failure (also without a live handle).
    virtual int close();
    // RealGetWindowClassA of the handle ("" without a live handle).
    virtual vek::STRING getWindowClassName() const;

    HWND getHandle() const { return handle_; }
    // Neither null nor the destroyed marker.
    bool hasLiveHandle() const;

protected:
    void setHandle(HWND handle) { handle_ = handle; }

private:
    HWND handle_;
};

enum ObjectKind : unsigned char { okCALLBACK = 2, okCONTROL = 4 };

class BasicWindow : public ForeignWindow {
public:
    // owner (may be null) deletes this window in its destructor.
    BasicWindow(BasicWindow* owner, ObjectKind kind);
    // Releases layout data, texts, font, brush; deletes the owned windows in order.
    ~BasicWindow() override;

    // Closes every owned window that is not also a child, last first, then every child, last
    // first, then destroys this window. Stops at the first refusal: 1, the window stays.
    int close() override;
    // True when every child can close.
    virtual bool canClose();
    // Drops window from the owned list (deleting it unless keep) and from the child list.
    // True when it was owned, else keep.
    virtual bool removeChild(BasicWindow* window, bool keep);

    // CreateWindowExA with the stored settings: 0 success, 1 failure.
    int create(BasicWindow* parent, HMENU menu = nullptr);
    BasicWindow* getParent() const { return parent_; }
    BasicWindow* getOwner() const { return owner_; }
    // The windows created with WS_CHILD in this one, in creation order.
    const vek::Array<BasicWindow*>& getChildren() const { return children_; }
    ObjectKind getObjectKind() const { return kind_; }

    DWORD getStyle() const { return style_; }
    void setStyle(DWORD style);  // live window updated too
    DWORD getExStyle() const { return exStyle_; }
    void setExStyle(DWORD exStyle);
    // GetWindowLongA(GWL_STYLE) when live, else the stored style.
    DWORD getCurrentStyle() const;
    bool isVisible() const;

    // Stores the text; a live window shows a copy converted to the Windows code page.
    void setText(const vek::STRING& text);
    // GetWindowTextA when live, else the stored text.
    vek::STRING getText() const;
    const vek::STRING& getHelpText() const { return helpText_; }
    void setHelpText(const vek::STRING& text) { helpText_ = text; }
    // -1 = none; a live window gets it with SetWindowLongA(GWL_ID).
    int getId() const { return id_; }
    void setId(int id);

    // Stored position and size (CW_USEDEFAULT until set).
    int getX() const { return x_; }
    int getY() const { return y_; }
    int getWidth() const { return width_; }
    int getHeight() const { return height_; }
    void setPosition(int x, int y);
    // 0 in either dimension = the measured text size there (plus the extra size).
    void setSize(int width, int height);
    void move(int x, int y, int width, int height);
    // GetWindowRect size when live, else the stored size.
    Size getCurrentSize() const;
    // GetClientRect when live, else the stored size.
    Size getClientSize() const;
    // The window text in the window's font, plus the class's extra size.
    Size measureText() const;
    bool isAutoWidth() const { return autoWidth_; }
    bool isAutoHeight() const { return autoHeight_; }

    void setBackground(const SharedBrush& brush);
    const SharedBrush& getBackground() const { return background_; }
    // A live window gets the font with WM_SETFONT.
    void setFont(const SharedFont& font);
    const SharedFont& getFont() const { return font_; }
    void setLayoutData(std::unique_ptr<LayoutData> data);
    const LayoutData* getLayoutData() const { return layoutData_.get(); }
    void setGuiElement(const vek::xml::XmlContainer* element) { guiElement_ = element; }
    const vek::xml::XmlContainer* getGuiElement() const { return guiElement_; }
    // The DPI the window's pixel values are meant for: its screen's, set by the form builder for
    // a top-level window and taken over from the parent by a child at creation. The painting
    // code scales its pens and sizes by it.
    int getDpi() const { return dpi_; }
    void setDpi(int dpi) { dpi_ = dpi; }

    // Depth first, this window first; null when none.
    BasicWindow* findChild(int id);
    BasicWindow* findChild(HWND handle);
    // The whole window, and for a child its rectangle in the parent.
    void invalidate();
    // SW_SHOW / SW_HIDE; the stored style keeps WS_VISIBLE in step. A window that hides or is
    // disabled while it (or a window in it) has the focus first hands the focus on to the next
    // control in the Tab order.
    void show(bool visible);
    void enable(bool enabled);
    // ShowWindow with that command (SW_SHOWMINNOACTIVE, ...); the stored style follows.
    void showAs(int command);

    bool isCaretShown() const { return caretShown_; }
    void setCaretShown(bool shown) { caretShown_ = shown; }

protected:
    // Added to a measured text size.
    void setExtraSize(int width, int height);
    // Called by create before the window is made: callback windows register their class here.
    virtual void prepareWindowClass(const vek::STRING& className);
    // The creation parameter CreateWindowExA passes on (callback windows: the object).
    virtual void* creationParameter();
    // Replaces a size of 0 (or one measured before) by the measured text size.
    void applyAutoSize();
    // The handle is set when the window procedure first sees the window.
    void bindHandle(HWND handle) { setHandle(handle); }
    // The window is gone: the handle becomes the destroyed marker.
    void markDestroyed() { setHandle(destroyedHandle()); }

private:
    void addChild(BasicWindow* window);
    void applyStoredSize();
    void handFocusOn();
    // Closes the windows of the list that are not in skip, last first; 1 at the first refusal.
    static int closeAll(const vek::Array<BasicWindow*>& windows, const vek::Array<BasicWindow*>* skip);
    static bool contains(const vek::Array<BasicWindow*>& list, const BasicWindow* window);
    static bool removeFrom(vek::Array<BasicWindow*>& list, BasicWindow* window);

    DWORD style_ = 0;
    DWORD exStyle_ = 0;
    bool caretShown_ = false;
    ObjectKind kind_;
    BasicWindow* parent_ = nullptr;
    BasicWindow* owner_;
    vek::Array<BasicWindow*> owned_;
    vek::Array<BasicWindow*> children_;
    SharedBrush background_;
    SharedFont font_;
    int id_ = -1;
    vek::STRING text_;
    vek::STRING helpText_;
    std::unique_ptr<LayoutData> layoutData_;
    bool autoWidth_ = false;
    bool autoHeight_ = false;
    int x_ = CW_USEDEFAULT;
    int y_ = CW_USEDEFAULT;
    int width_ = CW_USEDEFAULT;
    int height_ = CW_USEDEFAULT;
    int extraWidth_ = 0;
    int extraHeight_ = 0;
    const vek::xml::XmlContainer* guiElement_ = nullptr;
    int dpi_ = kBaseDpi;
};

}  // namespace winlib
