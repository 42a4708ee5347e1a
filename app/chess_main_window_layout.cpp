// Whether the window built from the form can be used at all, and the smallest size it may be
// given: the whole side panel and a board must fit into its client area.
#include "app/chess_main_window.h"

#include <algorithm>

#include "winlib/dpi.h"
#include "winlib/dpi_scale.h"
#include "winlib/form_loader.h"
#include "xml/xml_container.h"

namespace {

// The smallest squares in which the figures can still be told apart and clicked, at 96 DPI.
constexpr int kMinimumSquare = 16;
// No title bar shows more; Wine refuses far longer titles outright, leaving a window that no
// task list can name, and the caption is rewritten every second while the engine thinks.
constexpr std::size_t kMaximumCaptionLength = 255;

// A window's rectangle in the client coordinates of `frame`.
RECT rectIn(const winlib::BasicWindow& window, HWND frame) {
    RECT rect{};
    GetWindowRect(window.getHandle(), &rect);
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

std::vector<std::pair<const winlib::BasicWindow*, const char*>> ChessMainWindow::placedControls() const {
    std::vector<std::pair<const winlib::BasicWindow*, const char*>> controls = usedControls();
    // "Neustart" and "Drehen" may be missing; where the form has them they must be reachable.
    for (const auto& button : {std::pair<const winlib::BasicWindow*, const char*>{RestartBtn, "RestartBtn"},
                               {TurnBtn, "TurnBtn"}}) {
        if (button.first != nullptr)
            controls.push_back(button);
    }
    return controls;
}

winlib::Size ChessMainWindow::measureMinimumClientSize() const {
    LONG panelRight = geometry_.boardLeft;
    LONG panelBottom = 0;
    for (const auto& [control, name] : placedControls()) {
        const RECT rect = rectIn(*control, getHandle());
        panelRight = std::max(panelRight, rect.right);
        // The panel's frame takes the whole client height, whatever that is; its controls do not.
        if (control != ControlCHILD)
            panelBottom = std::max(panelBottom, rect.bottom);
    }
    const LONG board = 8 * winlib::scaleForDpi(kMinimumSquare, getDpi());
    return winlib::Size{static_cast<int>(std::min<long long>(static_cast<long long>(panelRight) + board, 0x7FFF)),
                        static_cast<int>(std::max(panelBottom, board))};
}

// Each control must show and lie inside its parent: a control beyond its frame's edge is cut
// off. How far down the panel reaches is left to the size check, since the panel's frame takes
// whatever height the window has.
vek::STRING ChessMainWindow::unusableLayout() const {
    if (!winlibGUI::formAsksVisible(*this))
        return "das Hauptfenster w\xE4re unsichtbar (sein Stil hat kein WS_VISIBLE)";
    const std::size_t captionLength = getGuiElement()->getAttribute("caption").getLength();
    if (captionLength > kMaximumCaptionLength) {
        return "der Fenstertitel ist mit " + vek::STRING::fromNumber(static_cast<long long>(captionLength)) +
               " Zeichen zu lang (h\xF6" "chstens " + vek::STRING::fromNumber(static_cast<long long>(kMaximumCaptionLength)) + ")";
    }
    for (const auto& [control, name] : placedControls()) {
        const winlib::BasicWindow& parent = *control->getParent();
        const RECT rect = rectIn(*control, parent.getHandle());
        const winlib::Size room = parent.getClientSize();
        // The promotion choice is hidden until a pawn reaches the last row.
        const bool shown = control == PromotionList || (control->getCurrentStyle() & WS_VISIBLE) != 0;
        const bool sizeChecked = control == ControlCHILD;
        const bool heightChecked = sizeChecked || &parent == ControlCHILD;
        if (!shown || rect.left < 0 || rect.top < 0 || (!sizeChecked && rect.right > room.width) ||
            (!heightChecked && rect.bottom > room.height))
            return vek::STRING("das Steuerelement ") + name + " liegt nicht sichtbar im Fenster";
    }
    const winlib::Size client = getClientSize();
    if (client.width < minimumClient_.width || client.height < minimumClient_.height) {
        return "das Fenster ist mit " + vek::STRING::fromNumber(client.width) + " x " +
               vek::STRING::fromNumber(client.height) + " Punkten zu klein f\xFCr die Seitenleiste und ein Brett (" +
               vek::STRING::fromNumber(minimumClient_.width) + " x " + vek::STRING::fromNumber(minimumClient_.height) +
               ")";
    }
    return vek::STRING();
}

void ChessMainWindow::handleDpiChange(int dpi, const RECT& frame) {
    // The smallest size of the old scaling must not hold the window to it while it moves.
    minimumClient_ = winlib::Size{};
    winlibGUI::applyDpi(*this, dpi, frame);
    geometry_.boardLeft = ControlCHILD->getClientSize().width;
    minimumClient_ = measureMinimumClientSize();
    handleResize(getClientSize());
    updatePanel();  // the label fits its text in the new font
}

winlib::ProcessStatus ChessMainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // Until the controls exist there is no panel to keep whole.
    if (!initialized_ || (message != WM_GETMINMAXINFO && message != WM_DPICHANGED))
        return OverlappedWindow::handleMessage(message, wParam, lParam);
    if (message == WM_DPICHANGED) {
        // Both words carry the same DPI; the rectangle is the frame the system suggests there.
        handleDpiChange(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return winlib::psPROCESSED;
    }
    RECT frame{0, 0, minimumClient_.width, minimumClient_.height};
    winlib::adjustWindowRectForDpi(frame, getCurrentStyle(), FALSE, GetWindowLongA(getHandle(), GWL_EXSTYLE), getDpi());
    auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
    limits->ptMinTrackSize.x = std::max(limits->ptMinTrackSize.x, frame.right - frame.left);
    limits->ptMinTrackSize.y = std::max(limits->ptMinTrackSize.y, frame.bottom - frame.top);
    return winlib::psPROCESSED;
}
