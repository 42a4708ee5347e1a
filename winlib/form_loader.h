#pragma once
// Building windows from the GUI definition. A form class (one per form, named after it with
// "_form") derives from the window class the form names, has one member per named control, and
// offers
//     int create(winlib::BasicWindow* parent) { return winlibGUI::createForm(*this, "Name", parent); }
//     void getControls() override { okBtn = winlibGUI::findControl<winlib::PushButton>(*this, 101); ... }
// so that adding a form is a small, mechanical step. Main thread only, like all window work.

#include "foundation/string.h"
#include "winlib/callback_window.h"
#include "xml/xml_container.h"

namespace winlibGUI {

// Who shows a window built from a form. It is built hidden either way, so that no half-built
// window is ever on the screen.
enum FormShowing {
    fsWHEN_BUILT,  // createForm shows it at the end, if the form's style has WS_VISIBLE
    fsBY_CALLER,   // it stays hidden: the caller checks it first (formAsksVisible) and shows it
};

// Builds the form of that name into window: creates it, builds its children, lays them out
// once, binds the controls (getControls) and calls handleCreate once. 0 success; 1 when there
// is no such form or the system refuses the window. Errors of the definition (bad numbers,
// unknown child types) are raised after the window has been destroyed again.
int createForm(winlib::CallbackWindow& window, const vek::STRING& formName, winlib::BasicWindow* parent,
               FormShowing showing = fsWHEN_BUILT);

// The form's window moved to a screen of another scaling (WM_DPICHANGED): its fonts, its
// children's places and sizes and its layout are made anew from the definition for dpi, the
// window takes the frame the system suggests, and the layout runs once more.
void applyDpi(winlib::CallbackWindow& form, int dpi, const RECT& frame);

// Whether the form that window was built from asks for a visible window (WS_VISIBLE in its
// style); false for a window not built from a form.
bool formAsksVisible(const winlib::BasicWindow& window);

// Applies what element holds to window: `child` elements and a `layoutManager` (only for
// windows that hold children, others ignore them) and its own `layout` data.
void buildChildren(const vek::STRING& documentFileName, const vek::xml::XmlContainer& element,
                   winlib::BasicWindow& window, bool designMode);

// Creates the child element describes inside parent, which owns it. Raises
// vek::LibraryException("Unkown item type: " + type) for a type it cannot create.
winlib::BasicWindow& createChild(const vek::STRING& documentFileName, const vek::xml::XmlContainer& element,
                                 winlib::CallbackWindow& parent, bool designMode);

// Background, size, font, id and help text of element, for a window not yet created.
void applyCommonAttributes(winlib::BasicWindow& window, const vek::xml::XmlContainer& element);

// The window with that id (form itself first, then depth first) as a Control; null when there
// is none or it is of another class.
template <typename Control>
Control* findControl(winlib::BasicWindow& form, int id) {
    return dynamic_cast<Control*>(form.findChild(id));
}

}  // namespace winlibGUI
