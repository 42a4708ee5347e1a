#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "forms_test_support.h"
#include "window_test_support.h"
#include "winlib/layout_managers.h"

namespace winlibGUI::testing {
namespace {

using winlib::BasicWindow;
using winlib::CallbackWindow;
using winlib::Rect;
using winlib::Size;

// A form holding one frame (id 1) of 300 x 200 whose children are given; the frame has no
// manager, so the tests run one on its children.
class ManagedFrame : public ::testing::Test {
protected:
    void build(const std::string& children, const std::string& formContent = "") {
        application_ = std::make_unique<DefinitionApplication>(oneForm(
            R"(style="13565952" width="500" height="400")",
            R"(<child type="FrameChild" x="0" y="0" width="300" height="200" id="1">)" + children + "</child>" + formContent));
        ASSERT_EQ(form.create("F"), 0);
        frame = dynamic_cast<CallbackWindow*>(&childWithId(form, 1));
        ASSERT_NE(frame, nullptr);
    }

    Rect at(int id) { return placeOf(childWithId(form, id)); }

    winlib::test::ErrorRecorder recorder;
    std::unique_ptr<DefinitionApplication> application_;
    TestForm form;
    CallbackWindow* frame = nullptr;
};

void expectRect(const Rect& actual, const Rect& expected) {
    EXPECT_EQ(actual.x, expected.x);
    EXPECT_EQ(actual.y, expected.y);
    EXPECT_EQ(actual.width, expected.width);
    EXPECT_EQ(actual.height, expected.height);
}

constexpr const char* kHidden = R"(style="1073741835")";  // WS_CHILD | SS_SIMPLE, not visible

TEST_F(ManagedFrame, RowManagerGivesVisibleChildrenEqualCells) {
    build(std::string(R"(<child type="Label" caption="a" x="5" y="5" width="5" height="5" id="2"/>
<child type="Label" caption="hidden" x="7" y="7" width="9" height="9" id="3" )") + kHidden + R"(/>
<child type="Label" caption="b" id="4"/><child type="Label" caption="c" id="5"/>)");
    winlib::RowManager manager;
    manager.doLayout(frame->getChildren(), Size{100, 50});
    expectRect(at(2), Rect{0, 0, 33, 50});
    expectRect(at(4), Rect{33, 0, 33, 50});
    expectRect(at(5), Rect{66, 0, 33, 50});
    expectRect(at(3), Rect{7, 7, 9, 9});
}

TEST_F(ManagedFrame, ZeroSizeFromPaddingsIsTheMeasuredTextSize) {
    build(R"(<child type="Label" caption="Measured" id="2"><layout paddingLeft="50" paddingRight="50"/></child>)");
    winlib::ColManager manager;
    manager.doLayout(frame->getChildren(), Size{100, 60});
    BasicWindow& label = childWithId(form, 2);
    const Rect place = at(2);
    EXPECT_EQ(place.x, 50);
    EXPECT_EQ(place.width, label.measureText().width);
    EXPECT_GT(place.width, 0);
    EXPECT_EQ(place.height, 60);
}

TEST_F(ManagedFrame, AttachmentManagerStopsWhenTheAreaIsUsedUp) {
    build(R"(<child type="Label" caption="top" width="300" height="200" id="2"><layout attachment="1"/></child>
<child type="Label" caption="left" x="40" y="50" width="20" height="20" id="3"><layout attachment="0"/></child>)");
    winlib::AttachmentManager manager;
    manager.doLayout(frame->getChildren(), Size{300, 200});
    expectRect(at(2), Rect{0, 0, 300, 200});
    expectRect(at(3), Rect{40, 50, 20, 20});
}

TEST_F(ManagedFrame, SingleChildManagerActsOnlyOnALoneChild) {
    build(R"(<child type="Label" caption="a" x="3" y="4" width="10" height="10" id="2"/>
<child type="Label" caption="b" x="30" y="40" width="10" height="10" id="3"/>)");
    winlib::SingleChildManager manager(winlib::Margins{1, 2, 3, 4});
    manager.doLayout(frame->getChildren(), Size{300, 200});
    expectRect(at(2), Rect{3, 4, 10, 10});
    expectRect(at(3), Rect{30, 40, 10, 10});
    // The form's only child is the frame.
    manager.doLayout(form.getChildren(), Size{200, 100});
    expectRect(at(1), Rect{1, 2, 196, 94});
}

TEST_F(ManagedFrame, TableManagerGrowsTheSecondColumnAndReportsItsSize) {
    build(R"(<child type="Label" caption="fixed" width="100" height="20" id="2"><layout x="0" y="0"/></child>
<child type="Label" caption="grows" width="30" height="20" id="3"><layout x="1" y="0" growWidth="1"/></child>
<child type="Label" caption="below" width="150" height="30" id="4"><layout x="1" y="1" paddingTop="5"/></child>)");
    winlib::TableManager manager;
    EXPECT_EQ(manager.calcSize(frame->getChildren(), Size{50, 10}).height, 20 + 5 + 30);
    manager.doLayout(frame->getChildren(), Size{300, 200});
    expectRect(at(2), Rect{0, 0, 100, 20});
    expectRect(at(3), Rect{100, 0, 200, 20});
    expectRect(at(4), Rect{100, 25, 150, 30});
    ASSERT_EQ(manager.getGrid().columns.size(), 2u);
    EXPECT_EQ(manager.getGrid().columns[1].size, 200);
}

TEST_F(ManagedFrame, ResizingAWindowLaysOutItsChildren) {
    build(R"(<layoutManager type="SingleChildManager" marginLeft="5" marginTop="5" marginRight="5" marginBottom="5"/>
<layoutManager type="NoSuchManager"/>
<child type="Label" caption="fill" width="10" height="10" id="2"/>)");
    EXPECT_NE(dynamic_cast<winlib::SingleChildManager*>(frame->getLayoutManager()), nullptr);
    frame->move(0, 0, 120, 80);
    const Size client = frame->getClientSize();
    expectRect(at(2), Rect{5, 5, client.width - 10, client.height - 10});
}

// Each type name of a layoutManager element gives its own manager, which then places the
// frame's children when the frame is sized: a RowManager side by side.
TEST_F(ManagedFrame, TheTypeOfALayoutManagerElementSelectsItsManager) {
    build(R"(<layoutManager type="RowManager"/>
<child type="Label" caption="a" id="2"/><child type="Label" caption="b" id="3"/>)");
    EXPECT_NE(dynamic_cast<winlib::RowManager*>(frame->getLayoutManager()), nullptr);
    frame->move(0, 0, 100, 50);
    const Size client = frame->getClientSize();
    expectRect(at(2), Rect{0, 0, client.width / 2, client.height});
    expectRect(at(3), Rect{client.width / 2, 0, client.width / 2, client.height});

}

struct ManagerType {
    const char* name;
    bool (*isOfType)(const winlib::LayoutManager* manager);
};

template <typename Manager>
bool isA(const winlib::LayoutManager* manager) {
    return dynamic_cast<const Manager*>(manager) != nullptr;
}

void PrintTo(const ManagerType& type, std::ostream* out) { *out << type.name; }

class ManagerTypes : public ManagedFrame, public ::testing::WithParamInterface<ManagerType> {};

TEST_P(ManagerTypes, SelectTheirManager) {
    build(std::string(R"(<layoutManager type=")") + GetParam().name + R"("/>)");
    EXPECT_TRUE(GetParam().isOfType(frame->getLayoutManager()));
}

INSTANTIATE_TEST_SUITE_P(
    Names, ManagerTypes,
    ::testing::Values(ManagerType{"ColManager", isA<winlib::ColManager>},
                      ManagerType{"TableManager", isA<winlib::TableManager>},
                      ManagerType{"SingleChildManager", isA<winlib::SingleChildManager>},
                      ManagerType{"AttachmentManager", isA<winlib::AttachmentManager>}),
    [](const ::testing::TestParamInfo<ManagerType>& type) { return std::string(type.param.name); });

TEST_F(ManagedFrame, FormIsLaidOutOnceAfterBuilding) {
    build("", R"(<layoutManager type="AttachmentManager" marginLeft="7"/>)"
              R"(<child type="Label" caption="right" width="40" height="20" id="9"><layout attachment="2" growHeight="1"/></child>)");
    // The frame has no layout data and is left alone.
    const Size client = form.getClientSize();
    expectRect(at(1), Rect{0, 0, 300, 200});
    expectRect(at(9), Rect{client.width - 40, 0, 40, client.height});
}

}  // namespace
}  // namespace winlibGUI::testing
