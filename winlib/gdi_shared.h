#pragma once
// GDI brushes and fonts shared between windows with a use count: copying a handle shares the
// object, and the last copy deletes it (never a stock object or a system-colour brush).

#include <windows.h>

#include "foundation/shared_object.h"

namespace winlib {

class SharedBrush {
public:
    SharedBrush();  // no brush
    SharedBrush(const SharedBrush& other);
    SharedBrush& operator=(const SharedBrush& other);
    ~SharedBrush();

    // A new solid brush of that colour; throws vek::LibraryException when GDI refuses it.
    static SharedBrush solid(COLORREF colour);
    // GetStockObject(stockObject), e.g. WHITE_BRUSH or NULL_BRUSH.
    static SharedBrush stock(int stockObject);
    // GetSysColorBrush(colourIndex), e.g. COLOR_BTNFACE.
    static SharedBrush system(int colourIndex);

    HBRUSH get() const;
    COLORREF getColour() const;
    const LOGBRUSH& getDescription() const;
    explicit operator bool() const { return holder_ != nullptr; }

private:
    struct Holder;
    explicit SharedBrush(Holder* holder);

    vek::SharedRef<Holder> holder_;
};

class SharedFont {
public:
    SharedFont();  // no font
    SharedFont(const SharedFont& other);
    SharedFont& operator=(const SharedFont& other);
    ~SharedFont();

    // CreateFontIndirectA(description); throws vek::LibraryException when GDI refuses it.
    static SharedFont create(const LOGFONTA& description);
    // GetStockObject(stockObject), e.g. ANSI_VAR_FONT; never deleted.
    static SharedFont stock(int stockObject);
    // A font that someone else owns (one a window answered WM_GETFONT with); never deleted.
    static SharedFont borrowed(HFONT font);

    HFONT get() const;
    const LOGFONTA& getDescription() const;
    explicit operator bool() const { return holder_ != nullptr; }

private:
    struct Holder;
    explicit SharedFont(Holder* holder);

    vek::SharedRef<Holder> holder_;
};

}  // namespace winlib
