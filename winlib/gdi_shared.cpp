// Use-counted GDI brushes and fonts.
#include "winlib/gdi_shared.h"

#include "foundation/exceptions.h"

namespace winlib {

namespace {

// One GDI object shared between handles; an `owned` object is deleted with its last handle.
template <typename Handle, typename Description>
struct CountedObject : vek::SharedObject {
    CountedObject() { setAutoDelete(true); }
    ~CountedObject() override {
        if (owned)
            DeleteObject(handle);
    }

    Handle handle = nullptr;
    Description description{};
    bool owned = false;
};

}  // namespace

struct SharedBrush::Holder : CountedObject<HBRUSH, LOGBRUSH> {};
struct SharedFont::Holder : CountedObject<HFONT, LOGFONTA> {};

// ---------------------------------------------------------------------------------------------
// SharedBrush

SharedBrush::SharedBrush() = default;
SharedBrush::SharedBrush(Holder* holder) : holder_(holder) {}
SharedBrush::SharedBrush(const SharedBrush& other) = default;
SharedBrush& SharedBrush::operator=(const SharedBrush& other) = default;
SharedBrush::~SharedBrush() = default;

SharedBrush SharedBrush::solid(COLORREF colour) {
    auto* holder = new Holder;
    holder->description = LOGBRUSH{BS_SOLID, colour, 0};
    holder->handle = CreateBrushIndirect(&holder->description);
    if (holder->handle == nullptr) {
        delete holder;
        throw vek::LibraryException("Could not create brush");
    }
    holder->owned = true;
    return SharedBrush(holder);
}

SharedBrush SharedBrush::stock(int stockObject) {
    auto* holder = new Holder;
    holder->handle = static_cast<HBRUSH>(GetStockObject(stockObject));
    GetObjectA(holder->handle, sizeof holder->description, &holder->description);
    return SharedBrush(holder);
}

SharedBrush SharedBrush::system(int colourIndex) {
    auto* holder = new Holder;
    holder->handle = GetSysColorBrush(colourIndex);
    holder->description = LOGBRUSH{BS_SOLID, GetSysColor(colourIndex), 0};
    return SharedBrush(holder);
}

HBRUSH SharedBrush::get() const { return holder_ ? holder_->handle : nullptr; }

COLORREF SharedBrush::getColour() const { return holder_ ? holder_->description.lbColor : 0; }

const LOGBRUSH& SharedBrush::getDescription() const {
    static const LOGBRUSH none{BS_NULL, 0, 0};
    return holder_ ? holder_->description : none;
}

// ---------------------------------------------------------------------------------------------
// SharedFont

SharedFont::SharedFont() = default;
SharedFont::SharedFont(Holder* holder) : holder_(holder) {}
SharedFont::SharedFont(const SharedFont& other) = default;
SharedFont& SharedFont::operator=(const SharedFont& other) = default;
SharedFont::~SharedFont() = default;

SharedFont SharedFont::create(const LOGFONTA& description) {
    auto* holder = new Holder;
    holder->description = description;
    holder->handle = CreateFontIndirectA(&description);
    if (holder->handle == nullptr) {
        delete holder;
        throw vek::LibraryException("Could not create font");
    }
    holder->owned = true;
    return SharedFont(holder);
}

SharedFont SharedFont::stock(int stockObject) { return borrowed(static_cast<HFONT>(GetStockObject(stockObject))); }

SharedFont SharedFont::borrowed(HFONT font) {
    auto* holder = new Holder;
    holder->handle = font;
    if (font != nullptr)
        GetObjectA(font, sizeof holder->description, &holder->description);
    return SharedFont(holder);
}

HFONT SharedFont::get() const { return holder_ ? holder_->handle : nullptr; }

const LOGFONTA& SharedFont::getDescription() const {
    static const LOGFONTA none{};
    return holder_ ? holder_->description : none;
}

}  // namespace winlib
