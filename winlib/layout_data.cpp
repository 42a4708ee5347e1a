#include "winlib/layout_data.h"

#include <array>

#include "winlib/gui_values.h"

namespace winlib {

using vek::STRING;
using vek::xml::XmlContainer;

LayoutData normalise(LayoutData data) {
    if (data.attachment < 0)
        data.attachment = 0;
    if (data.width < 2)
        data.width = 1;
    if (data.height < 2)
        data.height = 1;
    return data;
}

LayoutData readLayoutData(const XmlContainer& element, int dpi) {
    LayoutData data;
    data.attachment = readSigned(element, "attachment");
    data.x = readUnsignedInt(element, "x");
    data.y = readUnsignedInt(element, "y");
    data.width = readUnsignedInt(element, "width");
    data.height = readUnsignedInt(element, "height");
    data.growWidth = readUnsignedInt(element, "growWidth");
    data.growHeight = readUnsignedInt(element, "growHeight");
    data.paddingLeft = scaleForDpi(readUnsignedInt(element, "paddingLeft"), dpi);
    data.paddingTop = scaleForDpi(readUnsignedInt(element, "paddingTop"), dpi);
    data.paddingRight = scaleForDpi(readUnsignedInt(element, "paddingRight"), dpi);
    data.paddingBottom = scaleForDpi(readUnsignedInt(element, "paddingBottom"), dpi);
    return normalise(data);
}

namespace {

struct ManagerName {
    const char* type;
    ManagerKind kind;
};

constexpr std::array<ManagerName, 5> kManagerNames = {{
    {"SingleChildManager", mkSINGLE_CHILD},
    {"TableManager", mkTABLE},
    {"RowManager", mkROW},
    {"ColManager", mkCOL},
    {"AttachmentManager", mkATTACHMENT},
}};

}  // namespace

std::optional<ManagerSettings> readManagerSettings(const XmlContainer& element, int dpi) {
    const STRING type = element.getAttribute("type");
    for (const ManagerName& name : kManagerNames) {
        if (type == name.type) {
            ManagerSettings settings;
            settings.kind = name.kind;
            settings.margins.left = scaleForDpi(readSigned(element, "marginLeft"), dpi);
            settings.margins.right = scaleForDpi(readSigned(element, "marginRight"), dpi);
            settings.margins.top = scaleForDpi(readSigned(element, "marginTop"), dpi);
            settings.margins.bottom = scaleForDpi(readSigned(element, "marginBottom"), dpi);
            return settings;
        }
    }
    return std::nullopt;
}

}  // namespace winlib
