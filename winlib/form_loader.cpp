#include "winlib/form_loader.h"

#include <array>
#include <cstring>
#include <memory>

#include "foundation/exceptions.h"
#include "winlib/application.h"
#include "winlib/application_name.h"
#include "winlib/child_window.h"
#include "winlib/controls.h"
#include "winlib/dpi.h"
#include "winlib/gui_values.h"
#include "winlib/layout_data.h"
#include "winlib/layout_managers.h"
#include "winlib/wide_text.h"
#include "xml/document.h"

namespace winlibGUI {

using vek::STRING;
using vek::xml::XmlContainer;
using winlib::BasicWindow;
using winlib::CallbackWindow;

namespace {

// ---------------------------------------------------------------------------------------------
// The kinds of child

// The bitmap a button shows, found by the button's name; it lives as long as the button.
class ButtonBitmap {
public:
    ButtonBitmap() = default;
    virtual ~ButtonBitmap() {
        if (bitmap_ != nullptr)
            DeleteObject(bitmap_);
    }
    ButtonBitmap(const ButtonBitmap&) = delete;
    ButtonBitmap& operator=(const ButtonBitmap&) = delete;

    void show(HWND button, HBITMAP bitmap) {
        bitmap_ = bitmap;
        SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    }

private:
    HBITMAP bitmap_ = nullptr;
};

template <typename ButtonClass>
class BitmapButton final : public ButtonClass, public ButtonBitmap {
public:
    explicit BitmapButton(BasicWindow* owner) : ButtonClass(owner) {}
};

using MakeChild = BasicWindow* (*)(BasicWindow* owner, bool bitmap);

template <typename Window>
BasicWindow* makeWindow(BasicWindow* owner, bool /*bitmap*/) {
    return new Window(owner);  // the owner deletes it
}

template <typename ButtonClass>
BasicWindow* makeButton(BasicWindow* owner, bool bitmap) {
    if (bitmap)
        return new BitmapButton<ButtonClass>(owner);
    return new ButtonClass(owner);
}

struct ChildType {
    const char* name;
    MakeChild make;
};

// The document viewers ("ScrollFrame", "XMLeditorChild", "GridViewer") are not part of this
// program; a definition naming them gets the unknown-type error.
constexpr std::array<ChildType, 15> kChildTypes = {{
    {"Label", makeWindow<winlib::Label>},
    {"PushButton", makeButton<winlib::PushButton>},
    {"CheckBox", makeButton<winlib::CheckBox>},
    {"RadioButton", makeButton<winlib::RadioButton>},
    {"GroupBox", makeWindow<winlib::GroupBox>},
    {"EditControl", makeWindow<winlib::EditControl>},
    {"MemoControl", makeWindow<winlib::MemoControl>},
    {"ListBox", makeWindow<winlib::ListBox>},
    {"ComboBox", makeWindow<winlib::ComboBox>},
    {"TreeView", makeWindow<winlib::TreeView>},
    {"TrackBar", makeWindow<winlib::TrackBar>},
    {"DateTimePicker", makeWindow<winlib::DateTimePicker>},
    {"ScrollBar", makeWindow<winlib::ScrollBar>},
    {"UpDownButton", makeWindow<winlib::UpDownButton>},
    {"FrameChild", makeWindow<winlib::FrameChild>},
}};

bool canShowBitmap(const STRING& type) {
    return type == "PushButton" || type == "CheckBox" || type == "RadioButton";
}

BasicWindow& makeChild(const STRING& type, CallbackWindow& parent, bool bitmap) {
    for (const ChildType& childType : kChildTypes) {
        if (type == childType.name)
            return *childType.make(&parent, bitmap);
    }
    throw vek::LibraryException(STRING("Unkown item type: ") + type);
}

int createWindow(BasicWindow& window, CallbackWindow& parent) {
    if (auto* control = dynamic_cast<winlib::ControlWindow*>(&window))
        return control->create(&parent);
    // Every type of the table that is not a control is a child window.
    return static_cast<winlib::ChildWindow&>(window).create(&parent);
}

// ---------------------------------------------------------------------------------------------
// Attributes

// Relative resources are found beside the definition's file; the embedded text has none.
STRING documentFileNameOf(const XmlContainer& element) {
    const XmlContainer* top = &element;
    while (top->getParent() != nullptr)
        top = top->getParent();
    const auto* document = dynamic_cast<const vek::xml::Document*>(top);
    return document != nullptr ? document->getFileName() : STRING();
}

winlib::SharedBrush brushOf(const winlib::Background& background) {
    switch (background.kind) {
        case winlib::bkSTOCK:
            return winlib::SharedBrush::stock(background.number);
        case winlib::bkSYSTEM:
            return winlib::SharedBrush::system(background.number);
        case winlib::bkSOLID:
            return winlib::SharedBrush::solid(RGB(background.red, background.green, background.blue));
        case winlib::bkDEFAULT:
            break;
    }
    return winlib::SharedBrush();
}

// The definition's font sizes are pixels at 96 DPI, as its other numbers.
LOGFONTA logFontOf(const winlib::FontDescription& font, int dpi) {
    LOGFONTA description{};
    description.lfHeight = winlib::scaleForDpi(font.height, dpi);
    description.lfWidth = winlib::scaleForDpi(font.width, dpi);
    description.lfEscapement = font.escapement;
    description.lfOrientation = font.orientation;
    description.lfWeight = font.weight;
    description.lfItalic = font.italic;
    description.lfUnderline = font.underline;
    description.lfStrikeOut = font.strikeOut;
    description.lfCharSet = font.charSet;
    description.lfOutPrecision = font.outPrecision;
    description.lfClipPrecision = font.clipPrecision;
    description.lfQuality = font.quality;
    description.lfPitchAndFamily = font.pitchAndFamily;
    static_assert(sizeof description.lfFaceName == winlib::FontDescription::kFaceSize);
    std::memcpy(description.lfFaceName, font.faceName, sizeof description.lfFaceName);
    return description;
}

// Where the definition puts a child, in pixels of its parent at dpi: the definition counts in
// pixels of a 96-DPI screen, and here they become the screen's.
struct Place {
    int x, y, width, height;
};

Place placeOf(const XmlContainer& element, int dpi) {
    return Place{winlib::scaleForDpi(winlib::readUnsignedInt(element, "x"), dpi),
                 winlib::scaleForDpi(winlib::readUnsignedInt(element, "y"), dpi),
                 winlib::scaleForDpi(winlib::readUnsignedInt(element, "width"), dpi),
                 winlib::scaleForDpi(winlib::readUnsignedInt(element, "height"), dpi)};
}

// ---------------------------------------------------------------------------------------------
// Children

// The bitmap named after the button: a resource of the program, else name.bmp beside the
// definition. Without one the button shows its caption.
void loadButtonBitmap(BasicWindow& button, const STRING& name, const STRING& documentFileName) {
    HBITMAP bitmap = nullptr;
    if (!name.isEmpty()) {
        bitmap = LoadBitmapA(winlib::getInstanceHandle(), name.getText());
        if (bitmap == nullptr) {
            const STRING file = winlib::directoryOfPath(documentFileName) + name + ".bmp";
            bitmap = static_cast<HBITMAP>(LoadImageW(nullptr, winlib::widePath(file).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
        }
    }
    if (bitmap != nullptr) {
        dynamic_cast<ButtonBitmap&>(button).show(button.getHandle(), bitmap);
        return;
    }
    // An image the button found by its id is kept; only a button with no image falls back.
    if (SendMessageA(button.getHandle(), BM_GETIMAGE, IMAGE_BITMAP, 0) != 0)
        return;
    const DWORD style = button.getStyle() & ~static_cast<DWORD>(BS_BITMAP);
    button.setStyle(style);
    SendMessageA(button.getHandle(), BM_SETSTYLE, style & 0xFFFFu, TRUE);
}

// The entries of the `item` elements directly inside the element's `items` elements.
template <typename List>
void addItems(List& list, const XmlContainer& element) {
    for (std::size_t i = 0; i < element.getNumObjects(); ++i) {
        const auto* items = dynamic_cast<const XmlContainer*>(element.getElement(i));
        if (items == nullptr || !(items->getTag() == "items"))
            continue;
        for (std::size_t j = 0; j < items->getNumObjects(); ++j) {
            const auto* item = dynamic_cast<const XmlContainer*>(items->getElement(j));
            if (item != nullptr && item->getTag() == "item")
                list.addEntry(item->getValue());
        }
    }
}

// The `layout` data and the `layoutManager` of element, read again for window's DPI.
void rereadLayout(BasicWindow& window, const XmlContainer& element) {
    auto* holder = dynamic_cast<CallbackWindow*>(&window);
    for (std::size_t i = 0; i < element.getNumObjects(); ++i) {
        const auto* part = dynamic_cast<const XmlContainer*>(element.getElement(i));
        if (part == nullptr)
            continue;
        if (part->getTag() == "layout") {
            window.setLayoutData(std::make_unique<winlib::LayoutData>(winlib::readLayoutData(*part, window.getDpi())));
        } else if (part->getTag() == "layoutManager" && holder != nullptr) {
            if (std::unique_ptr<winlib::LayoutManager> manager =
                    winlib::createLayoutManager(*part, false, window.getDpi()))
                holder->setLayoutManager(std::move(manager));
        }
    }
}

// Fonts, places and sizes of window's children (and theirs) from their elements at window's DPI.
void rescaleChildren(BasicWindow& window) {
    const int dpi = window.getDpi();
    for (BasicWindow* child : window.getChildren()) {
        child->setDpi(dpi);
        if (const XmlContainer* element = child->getGuiElement()) {
            const STRING fontText = element->getAttribute("font");
            winlib::SharedFont font;
            if (!fontText.isEmpty())
                font = winlib::SharedFont::create(logFontOf(winlib::parseFont(fontText), dpi));
            else if (dynamic_cast<winlib::ChildWindow*>(child) != nullptr)
                font = winlib::guiFont(dpi);
            else
                font = window.getFont();  // a control shows its parent's font
            if (auto* label = dynamic_cast<winlib::Label*>(child))
                label->setBaseFont(font);
            else
                child->setFont(font);
            const Place place = placeOf(*element, dpi);
            child->move(place.x, place.y, place.width, place.height);
            rereadLayout(*child, *element);
        }
        rescaleChildren(*child);
    }
}

}  // namespace

void applyDpi(CallbackWindow& form, int dpi, const RECT& frame) {
    form.setDpi(dpi);
    form.setFont(winlib::guiFont(dpi));
    if (const XmlContainer* element = form.getGuiElement())
        rereadLayout(form, *element);
    rescaleChildren(form);
    SetWindowPos(form.getHandle(), nullptr, frame.left, frame.top, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
    form.doLayout(form.getClientSize());
    form.invalidate();
}

void applyCommonAttributes(BasicWindow& window, const XmlContainer& element) {
    window.setGuiElement(&element);
    const winlib::SharedBrush brush = brushOf(winlib::readBackground(element));
    if (brush)
        window.setBackground(brush);
    const int dpi = window.getDpi();
    window.setSize(winlib::scaleForDpi(winlib::readUnsignedInt(element, "width"), dpi),
                   winlib::scaleForDpi(winlib::readUnsignedInt(element, "height"), dpi));
    const STRING font = element.getAttribute("font");
    if (!font.isEmpty())
        window.setFont(winlib::SharedFont::create(logFontOf(winlib::parseFont(font), dpi)));
    window.setId(winlib::readSigned(element, "id"));
    winlib::Application* application = winlib::Application::getInstance();
    if (window.getHelpText().isEmpty() && application != nullptr)
        window.setHelpText(application->loadString(window.getId()));
}

BasicWindow& createChild(const STRING& documentFileName, const XmlContainer& element, CallbackWindow& parent,
                         bool designMode) {
    const int dpi = parent.getDpi();
    const Place place = placeOf(element, dpi);
    const STRING caption = element.getAttribute("caption");
    const STRING type = element.getAttribute("type");
    const STRING styleText = element.getAttribute("style");
    const DWORD style = winlib::readUnsigned(element, "style");
    const bool bitmap = !styleText.isEmpty() && canShowBitmap(type) && (style & BS_BITMAP) != 0;

    BasicWindow& child = makeChild(type, parent, bitmap);
    child.setDpi(dpi);
    applyCommonAttributes(child, element);
    child.setPosition(place.x, place.y);
    child.setText(caption);
    if (!styleText.isEmpty()) {
        // The definition's styles usually carry WS_CHILD already: it is or-ed in, not added.
        DWORD childStyle = style | WS_CHILD;
        if (designMode) {
            childStyle |= WS_VISIBLE;
            if (type == "FrameChild")
                childStyle |= WS_BORDER;
        }
        child.setStyle(childStyle);
    }
    // A window the system refuses gets nothing built into it; the form keeps what it has.
    if (createWindow(child, parent) != 0)
        return child;
    if (bitmap)
        loadButtonBitmap(child, element.getAttribute("name"), documentFileName);
    child.setSize(place.width, place.height);
    buildChildren(documentFileName, element, child, designMode);
    if (auto* list = dynamic_cast<winlib::ListBox*>(&child))
        addItems(*list, element);
    else if (auto* combo = dynamic_cast<winlib::ComboBox*>(&child))
        addItems(*combo, element);
    return child;
}

void buildChildren(const STRING& documentFileName, const XmlContainer& element, BasicWindow& window,
                   bool designMode) {
    // Only windows with their own message handling hold children; in a control the
    // `child` and `layoutManager` elements are ignored.
    auto* holder = dynamic_cast<CallbackWindow*>(&window);
    for (std::size_t i = 0; i < element.getNumObjects(); ++i) {
        const auto* part = dynamic_cast<const XmlContainer*>(element.getElement(i));
        if (part == nullptr)
            continue;
        const STRING tag = part->getTag();
        if (tag == "child") {
            if (holder != nullptr)
                createChild(documentFileName, *part, *holder, designMode);
        } else if (tag == "layoutManager") {
            std::unique_ptr<winlib::LayoutManager> manager =
                winlib::createLayoutManager(*part, designMode, window.getDpi());
            if (holder != nullptr && manager)
                holder->setLayoutManager(std::move(manager));
        } else if (tag == "layout") {
            window.setLayoutData(std::make_unique<winlib::LayoutData>(winlib::readLayoutData(*part, window.getDpi())));
        }
    }
}

int createForm(CallbackWindow& window, const STRING& formName, BasicWindow* parent, FormShowing showing) {
    winlib::Application* application = winlib::Application::getInstance();
    const XmlContainer* form = application != nullptr ? application->findGuiElement(formName, "form", "name") : nullptr;
    if (form == nullptr)
        return 1;
    const STRING caption = form->getAttribute("caption");
    const DWORD style = winlib::readUnsigned(*form, "style");
    // The screen the window will open on is not known before it exists: the primary one's DPI
    // is the best guess, corrected below.
    window.setDpi(parent != nullptr ? parent->getDpi() : winlib::systemDpi());
    applyCommonAttributes(window, *form);
    window.setText(caption);
    window.setStyle(style & ~static_cast<DWORD>(WS_VISIBLE));
    if (window.create(parent) != 0)
        return 1;
    const int dpi = winlib::windowDpi(window.getHandle());
    if (dpi != window.getDpi()) {
        window.setDpi(dpi);
        window.setSize(winlib::scaleForDpi(winlib::readUnsignedInt(*form, "width"), dpi),
                       winlib::scaleForDpi(winlib::readUnsignedInt(*form, "height"), dpi));
    }
    window.setFont(winlib::guiFont(dpi));
    // Controls under construction send WM_COMMAND; the form's handlers are not ready for them.
    window.setCommandsEnabled(false);
    try {
        buildChildren(documentFileNameOf(*form), *form, window, false);
    } catch (...) {
        // No half-built window stays on the screen; its children go with it.
        window.close();
        throw;
    }
    if (window.getLayoutManager() != nullptr) {
        window.doLayout(window.getClientSize());
        window.invalidate();
    }
    window.getControls();
    window.setCommandsEnabled(true);
    window.setDialogNavigation(true);
    window.handleCreate();
    if (showing == fsWHEN_BUILT && (style & WS_VISIBLE) != 0)
        window.show(true);
    return 0;
}

bool formAsksVisible(const BasicWindow& window) {
    const XmlContainer* form = window.getGuiElement();
    return form != nullptr && (winlib::readUnsigned(*form, "style") & WS_VISIBLE) != 0;
}

}  // namespace winlibGUI
