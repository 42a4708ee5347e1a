#include "winlib/layout_managers.h"

#include "winlib/window.h"

namespace winlib {

void AttachmentManager::doLayout(const vek::Array<BasicWindow*>& children, Size size) {
    place(children, layoutAttachments(describe(children), size, getMargins()));
}

void RowManager::doLayout(const vek::Array<BasicWindow*>& children, Size size) {
    place(children, layoutRow(describe(children), size, getMargins()));
}

void ColManager::doLayout(const vek::Array<BasicWindow*>& children, Size size) {
    place(children, layoutColumn(describe(children), size, getMargins()));
}

void SingleChildManager::doLayout(const vek::Array<BasicWindow*>& children, Size size) {
    place(children, layoutSingleChild(describe(children), size, getMargins()));
}

Size TableManager::calcSize(const vek::Array<BasicWindow*>& children, Size size) {
    grid_ = layoutTable(describe(children), size, getMargins(), isDesign());
    return grid_.needed;
}

void TableManager::doLayout(const vek::Array<BasicWindow*>& children, Size size) {
    grid_ = layoutTable(describe(children), size, getMargins(), isDesign());
    place(children, tablePlacements(grid_));
}

std::unique_ptr<LayoutManager> createLayoutManager(const vek::xml::XmlContainer& element, bool design, int dpi) {
    const std::optional<ManagerSettings> settings = readManagerSettings(element, dpi);
    if (!settings)
        return nullptr;
    switch (settings->kind) {
        case mkROW:
            return std::make_unique<RowManager>(settings->margins, design);
        case mkCOL:
            return std::make_unique<ColManager>(settings->margins, design);
        case mkSINGLE_CHILD:
            return std::make_unique<SingleChildManager>(settings->margins, design);
        case mkTABLE:
            return std::make_unique<TableManager>(settings->margins, design);
        case mkATTACHMENT:
            break;
    }
    return std::make_unique<AttachmentManager>(settings->margins, design);
}

}  // namespace winlib
