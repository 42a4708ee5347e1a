#pragma once
// Finding an element of the GUI definition by its section, tag and one attribute.

#include "xml/xml_container.h"

namespace winlib {

// The element of the GUI definition of that type whose attribute has the value; null when none
// (also for a null root or a missing section). "form" searches `forms`, "frame" and "scroller"
// `frames`, "menu" `menus`, all directly below the section; "string" searches `strings` at any
// depth. Throws vek::LibraryException("Don't know container type") for an unknown type.
const vek::xml::XmlContainer* findGuiElement(const vek::xml::XmlContainer* root, const vek::STRING& value,
                                             const vek::STRING& type, const vek::STRING& attribute);

}  // namespace winlib
