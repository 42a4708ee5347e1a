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

LayoutData readLayoutData(const XmlContainer& element) {
    LayoutData data;
    data.attachment = readSigned(element, "attachment");
    data.x = readUnsignedInt(element, "x");
    data.y = readUnsignedInt(element, "y");
    data.width = readUnsignedInt(element, "width");
    data.height = readUnsignedInt(element, "height");
    data.growWidth = readUnsignedInt(element, "growWidth");
    data.growHeight = readUnsignedInt(element, "growHeight");
    data.paddingLeft = readUnsignedInt(element, "paddingLeft");
    data.paddingTop = readUnsignedInt(element, "paddingTop");
    data.paddingRight = readUnsignedInt(element, "paddingRight");
    data.paddingBottom = readUnsignedInt(element, "paddingBottom");
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

std::optional<ManagerSettings> readManagerSettings(const XmlContainer& element) {
    const STRING type = element.getAttribute("type");
    for (const ManagerName& name : kManagerNames) {
        if (type == name.type) {
            ManagerSettings settings;
            settings.kind = name.kind;
            settings.margins.left = readSigned(element, "marginLeft");
            settings.margins.right = readSigned(element, "marginRight");
            settings.margins.top = readSigned(element, "marginTop");
            settings.margins.bottom = readSigned(element, "marginBottom");
            return settings;
        }
    }
    return std::nullopt;
}

}  // namespace winlib
