#pragma once
// What the GUI definition tells the layout: a child's layout data (its `layout` element) and a
// manager's kind and margins (a `layoutManager` element). Plain values, no platform types.

#include <optional>

#include "winlib/dpi_scale.h"
#include "xml/xml_container.h"

namespace winlib {

// How its parent's manager treats a child window. Spans below 1 and a negative attachment are
// never stored: the definition readers and normalise() bring them into range.
struct LayoutData {
    int attachment = 0;  // AttachmentManager: 0 left, 1 top, 2 right, 3 bottom, 4 or more fill
    int x = 0;           // TableManager: column index
    int y = 0;           // TableManager: row index
    int width = 1;       // TableManager: columns spanned
    int height = 1;      // TableManager: rows spanned
    int growWidth = 0;   // non-zero: stretch horizontally (TableManager: growth weight)
    int growHeight = 0;  // non-zero: stretch vertically (TableManager: growth weight)
    int paddingLeft = 0;
    int paddingTop = 0;
    int paddingRight = 0;
    int paddingBottom = 0;
};

// Applies the storing rules: a negative attachment becomes 0, spans below 2 become 1.
LayoutData normalise(LayoutData data);

// The layout data of a `layout` element, its paddings scaled from 96 DPI to dpi; throws the
// number errors for bad values.
LayoutData readLayoutData(const vek::xml::XmlContainer& element, int dpi = kBaseDpi);

struct Margins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

enum ManagerKind : int { mkATTACHMENT, mkROW, mkCOL, mkSINGLE_CHILD, mkTABLE };

struct ManagerSettings {
    ManagerKind kind = mkATTACHMENT;
    Margins margins;
};

// The settings of a `layoutManager` element; none for an unknown `type` (no manager is made).
// The margins are scaled from 96 DPI to dpi. Throws the number errors for bad margins.
std::optional<ManagerSettings> readManagerSettings(const vek::xml::XmlContainer& element, int dpi = kBaseDpi);

}  // namespace winlib
