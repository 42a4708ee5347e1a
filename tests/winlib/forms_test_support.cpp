#include "forms_test_support.h"

#include <stdexcept>


namespace winlibGUI::testing {

DefinitionApplication::DefinitionApplication(std::string_view definition, const vek::STRING& fileName) {
    parseGui(vek::STRING(definition.data(), definition.size()), fileName);
}

TestForm::~TestForm() {
    if (hasLiveHandle())
        close();
}

void TestForm::getControls() {
    ++controlsCalls;
    commandsEnabledInGetControls = isCommandsEnabled();
}

winlib::ProcessStatus TestForm::handleCreate() {
    ++createCalls;
    commandsEnabledInCreate = isCommandsEnabled();
    navigationInCreate = isDialogNavigation();
    return winlib::psPROCESSED;
}

winlib::BasicWindow& childWithId(winlib::BasicWindow& window, int id) {
    winlib::BasicWindow* found = window.findChild(id);
    if (found == nullptr)
        throw std::runtime_error("no child with id " + std::to_string(id));
    return *found;
}

winlib::Rect placeOf(const winlib::BasicWindow& window) {
    RECT rect{};
    GetWindowRect(window.getHandle(), &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(window.getHandle()), reinterpret_cast<POINT*>(&rect), 2);
    return winlib::Rect{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

int threadWindowCount() {
    int count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND, LPARAM counter) {
            ++*reinterpret_cast<int*>(counter);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

std::string oneForm(const std::string& formAttributes, const std::string& content) {
    return "<gui><forms><form name=\"F\" " + formAttributes + ">" + content + "</form></forms></gui>";
}

}  // namespace winlibGUI::testing
