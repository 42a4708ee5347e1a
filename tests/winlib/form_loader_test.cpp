#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "forms_test_support.h"
#include "window_test_support.h"
#include "tests/xml/chess_form_definition.h"
#include "winlib/child_window.h"
#include "winlib/controls.h"
#include "winlib/layout_data.h"

namespace winlibGUI::testing {
namespace {

using winlib::BasicWindow;

// A top-level form of 400 x 300, not shown: the tests need no screen.
constexpr const char* kFormAttributes = R"(style="13565952" width="400" height="300" caption="Main")";

std::string text(const BasicWindow& window) {
    char buffer[256] = {};
    GetWindowTextA(window.getHandle(), buffer, sizeof buffer);
    return buffer;
}

DWORD liveStyle(const BasicWindow& window) {
    return static_cast<DWORD>(GetWindowLongPtrA(window.getHandle(), GWL_STYLE));
}

class FormLoader : public ::testing::Test {
protected:
    winlib::test::ErrorRecorder recorder;
};

TEST_F(FormLoader, FormIsFoundOnlyByItsExactNameAndBuiltInOrder) {
    DefinitionApplication application(oneForm(kFormAttributes, ""));
    TestForm wrongCase;
    EXPECT_EQ(wrongCase.create("f"), 1);
    EXPECT_FALSE(wrongCase.hasLiveHandle());
    EXPECT_EQ(wrongCase.controlsCalls, 0);

    TestForm form;
    ASSERT_EQ(form.create("F"), 0);
    EXPECT_TRUE(form.hasLiveHandle());
    EXPECT_EQ(text(form), "Main");
    EXPECT_EQ(liveStyle(form) & 0x10CF0000u, 0x00CF0000u);
    EXPECT_EQ(form.getFont().get(), GetStockObject(ANSI_VAR_FONT));
    EXPECT_EQ(form.controlsCalls, 1);
    EXPECT_EQ(form.createCalls, 1);
    EXPECT_FALSE(form.commandsEnabledInGetControls);
    EXPECT_TRUE(form.commandsEnabledInCreate);
    EXPECT_TRUE(form.navigationInCreate);
    EXPECT_TRUE(recorder.reports().empty());
}

TEST_F(FormLoader, ChildrenOfTheChessTypesGetTheirPlaceStyleIdAndCaption) {
    DefinitionApplication application(oneForm(kFormAttributes, R"(
<child type="Label" caption="Tiefe:" x="8" y="8" width="32" height="16" style="268435467" id="10"/>
<child type="EditControl" caption="12" x="80" y="8" width="80" height="24" style="1350631808" id="11"/>
<child type="PushButton" caption="Neustart" x="8" y="96" width="80" height="24" style="1342242816" id="12"/>
<child type="DateTimePicker" x="8" y="64" width="80" height="24" style="1342242825" id="14"/>
<child type="ListBox" x="128" y="136" width="152" height="100" style="1353777409" id="15">
  <items><item>e2-e4</item><note>not an item</note><item>e7-e5</item></items>
</child>
<child type="FrameChild" x="8" y="136" width="112" height="120" style="1073872896" id="16">
  <child type="RadioButton" caption="Turm" x="16" y="16" width="80" height="24" style="1342242825" id="13"/>
  <child type="CheckBox" caption="Matt" x="16" y="48" width="80" height="24" id="17"/>
</child>
<child type="ComboBox" x="200" y="8" width="100" height="120" id="18"><items><item>a</item></items></child>
)"));
    TestForm form;
    ASSERT_EQ(form.create("F"), 0);

    struct Expected {
        int id;
        const char* className;
        winlib::Rect place;
        DWORD style;
        const char* caption;
    };
    const Expected expected[] = {
        {10, "Static", {8, 8, 32, 16}, 268435467u | WS_CHILD, "Tiefe:"},
        {11, "Edit", {80, 8, 80, 24}, 1350631808u, "12"},
        {12, "Button", {8, 96, 80, 24}, 1342242816u, "Neustart"},
        {14, "SysDateTimePick32", {8, 64, 80, 24}, 1342242825u, nullptr},
        {15, "ListBox", {128, 136, 152, 100}, 1353777409u, ""},
        {16, "FrameChild", {8, 136, 112, 120}, 1073872896u | WS_CHILD, ""},
        {13, "Button", {16, 16, 80, 24}, 1342242825u, "Turm"},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.id);
        BasicWindow& child = childWithId(form, e.id);
        ASSERT_TRUE(child.hasLiveHandle());
        EXPECT_EQ(GetDlgCtrlID(child.getHandle()), e.id);
        EXPECT_THAT(std::string(child.getWindowClassName().getText()), ::testing::StrCaseEq(e.className));
        const winlib::Rect place = placeOf(child);
        EXPECT_EQ(place.x, e.place.x);
        EXPECT_EQ(place.y, e.place.y);
        EXPECT_EQ(place.width, e.place.width);
        EXPECT_EQ(place.height, e.place.height);
        // The system may trade WS_BORDER for an extended style: the stored style is exact.
        EXPECT_EQ(child.getStyle(), e.style);
        EXPECT_NE(liveStyle(child) & WS_CHILD, 0u);
        if (e.caption != nullptr) {
            EXPECT_EQ(text(child), e.caption);
        }
    }
    // Without a style attribute the class's default stays.
    EXPECT_EQ(liveStyle(childWithId(form, 17)) & 0xFu, static_cast<DWORD>(BS_AUTOCHECKBOX));
    EXPECT_EQ(GetParent(childWithId(form, 13).getHandle()), childWithId(form, 16).getHandle());

    auto& list = dynamic_cast<winlib::ListBox&>(childWithId(form, 15));
    ASSERT_EQ(list.getCount(), 2);
    EXPECT_EQ(std::string(list.getEntry(0).getText()), "e2-e4");
    EXPECT_EQ(std::string(list.getEntry(1).getText()), "e7-e5");
    EXPECT_EQ(SendMessageA(childWithId(form, 18).getHandle(), CB_GETCOUNT, 0, 0), 1);
}

TEST_F(FormLoader, ChildInsideAControlIsIgnoredButItsLayoutIsUsed) {
    DefinitionApplication application(oneForm(kFormAttributes, R"(
<child type="Label" caption="outer" x="1" y="2" width="50" height="16" id="20">
  <child type="PushButton" caption="inner" id="21"/>
  <layoutManager type="RowManager"/>
  <layout attachment="3" growWidth="1" paddingLeft="4"/>
</child>)"));
    TestForm form;
    ASSERT_EQ(form.create("F"), 0);
    BasicWindow& label = childWithId(form, 20);
    EXPECT_EQ(form.findChild(21), nullptr);
    EXPECT_TRUE(label.getChildren().isEmpty());
    ASSERT_NE(label.getLayoutData(), nullptr);
    EXPECT_EQ(label.getLayoutData()->attachment, 3);
    EXPECT_EQ(label.getLayoutData()->growWidth, 1);
    EXPECT_EQ(label.getLayoutData()->paddingLeft, 4);
}

TEST_F(FormLoader, ZeroWidthIsMeasuredFromTheCaption) {
    DefinitionApplication application(oneForm(kFormAttributes, R"(
<child type="PushButton" caption="Stop" x="184" y="96" width="0" height="24" id="30"/>
<child type="PushButton" caption="Stop und weiter" x="184" y="130" height="24" id="31"/>)"));
    TestForm form;
    ASSERT_EQ(form.create("F"), 0);
    BasicWindow& stop = childWithId(form, 30);
    const int width = placeOf(stop).width;
    EXPECT_GT(width, 0);
    EXPECT_EQ(width, stop.measureText().width);
    EXPECT_TRUE(stop.isAutoWidth());
    EXPECT_FALSE(stop.isAutoHeight());
    EXPECT_EQ(placeOf(stop).height, 24);
    EXPECT_GT(placeOf(childWithId(form, 31)).width, width);
}

TEST_F(FormLoader, BackgroundNamesAndColours) {
    DefinitionApplication application(oneForm(std::string(kFormAttributes) + R"( bgColor="COLOR_WINDOW ")", R"(
<child type="Label" caption="a" bgColor="COLOR_WINDOW" id="40"/>
<child type="Label" caption="b" bgColor="WHITE_BRUSH" id="41"/>
<child type="Label" caption="c" bgColor="Select" bg_red="1" bg_green="2" bg_blue="3" id="42"/>
<child type="Label" caption="d" bgColor="Nonsense" bg_red="255" id="43"/>)"));
    TestForm form;
    ASSERT_EQ(form.create("F"), 0);
    EXPECT_EQ(form.getBackground().get(), GetSysColorBrush(COLOR_WINDOW));
    EXPECT_FALSE(childWithId(form, 40).getBackground());
    EXPECT_EQ(childWithId(form, 41).getBackground().get(), GetStockObject(WHITE_BRUSH));
    ASSERT_TRUE(childWithId(form, 42).getBackground());
    EXPECT_EQ(childWithId(form, 42).getBackground().getColour(), RGB(1, 2, 3));
    EXPECT_FALSE(childWithId(form, 43).getBackground());
}

TEST_F(FormLoader, FontDescriptionsGiveTheChildItsFont) {
    DefinitionApplication application(oneForm(std::string(kFormAttributes) + R"( font="Arial;-30,0,0,0,700,0,0,0,0,0,0,0,0")",
                                              R"(<child type="Label" caption="x" font="Courier New;-20,0,0,0,700,0,0,0,0,0,0,0,0" id="50"/>
<child type="Label" caption="y" font="" id="51"/>)"));
    TestForm form;
    ASSERT_EQ(form.create("F"), 0);
    EXPECT_EQ(form.getFont().get(), GetStockObject(ANSI_VAR_FONT));
    BasicWindow& courier = childWithId(form, 50);
    ASSERT_TRUE(courier.getFont());
    EXPECT_EQ(courier.getFont().getDescription().lfHeight, -20);
    EXPECT_EQ(courier.getFont().getDescription().lfWeight, 700);
    EXPECT_STREQ(courier.getFont().getDescription().lfFaceName, "Courier New");
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(courier.getHandle(), WM_GETFONT, 0, 0)), courier.getFont().get());
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(childWithId(form, 51).getHandle(), WM_GETFONT, 0, 0)),
              GetStockObject(ANSI_VAR_FONT));
}

TEST_F(FormLoader, BadNumbersRaiseTheirErrorsAndLeaveNoWindowBehind) {
    const int windowsBefore = threadWindowCount();
    struct Case {
        std::string definition;
        const char* expected;
    };
    const std::string good = R"(<child type="Label" caption="a" id="1"/><child type="FrameChild" id="2"><child type="Label" id="3"/></child>)";
    const Case cases[] = {
        {oneForm(kFormAttributes, good + R"(<child type="Label" style="-1"/>)"), "Bad Numeric Format"},
        {oneForm(R"(style="4294967296")", ""), "Integer Overflow"},
        {oneForm(kFormAttributes, good + R"(<child type="Label" bg_blue="256"/>)"), "Integer Overflow"},
        {oneForm(kFormAttributes, good + R"(<child type="Label" id="-2147483649"/>)"), "Integer Underflow"},
        {oneForm(kFormAttributes, good + R"(<child type="FrameChild"><layout x="1x"/></child>)"), "Bad Numeric Format"},
        {oneForm(kFormAttributes, good + R"(<layoutManager type="RowManager" marginTop="99999999999"/>)"), "Integer Overflow"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.definition);
        DefinitionApplication application(c.definition);
        TestForm form;
        try {
            form.create("F");
            ADD_FAILURE() << "no error";
        } catch (const vek::BadNumericFormatError& error) {
            EXPECT_THAT(error.what(), ::testing::StartsWith(c.expected));
        }
        EXPECT_FALSE(form.hasLiveHandle());
        EXPECT_EQ(form.createCalls, 0);
        EXPECT_EQ(threadWindowCount(), windowsBefore);
    }
}

TEST_F(FormLoader, UnknownTypesRaiseTheirError) {
    for (const char* type : {"Fancy", "label", "GridViewer", ""}) {
        DefinitionApplication application(oneForm(kFormAttributes, std::string(R"(<child type="Label"/><child type=")") + type + "\"/>"));
        TestForm form;
        try {
            form.create("F");
            ADD_FAILURE() << "no error for " << type;
        } catch (const vek::LibraryException& error) {
            EXPECT_EQ(std::string(error.what()), std::string("Unkown item type: ") + type);
        }
        EXPECT_FALSE(form.hasLiveHandle());
    }
}

TEST_F(FormLoader, NestedStringsGiveTextsAndHelpTexts) {
    DefinitionApplication application(R"(<gui>
<strings><group><deeper><string id="7" caption="seven"/></deeper></group><string id="8" caption="eight"/></strings>
<forms><form name="F" style="13565952" width="300" height="200">
  <child type="PushButton" caption="b" id="7"/><child type="PushButton" caption="c" id="9"/>
</form></forms></gui>)");
    EXPECT_EQ(std::string(application.loadString(7).getText()), "seven");
    EXPECT_EQ(std::string(application.loadString(8).getText()), "eight");
    TestForm form;
    ASSERT_EQ(form.create("F"), 0);
    EXPECT_EQ(std::string(childWithId(form, 7).getHelpText().getText()), "seven");
    EXPECT_TRUE(childWithId(form, 9).getHelpText().isEmpty());
}

// A form class as a program writes one: a member per named control, bound by id.
class PanelFORM_form : public winlib::OverlappedWindow {
public:
    int create(winlib::BasicWindow* parent) { return createForm(*this, "PanelFORM", parent); }
    void getControls() override {
        OkBtn = findControl<winlib::PushButton>(*this, 101);
        MovesBOX = findControl<winlib::ListBox>(*this, 102);
        InnerLABEL = findControl<winlib::Label>(*this, 103);
        MissingBtn = findControl<winlib::PushButton>(*this, 104);
        WrongLABEL = findControl<winlib::Label>(*this, 101);
    }
    ~PanelFORM_form() override {
        if (hasLiveHandle())
            close();
    }

    winlib::PushButton* OkBtn = nullptr;
    winlib::ListBox* MovesBOX = nullptr;
    winlib::Label* InnerLABEL = nullptr;
    winlib::PushButton* MissingBtn = nullptr;
    winlib::Label* WrongLABEL = nullptr;
};

TEST_F(FormLoader, GetControlsBindsMembersByIdAndLeavesMissingOnesEmpty) {
    DefinitionApplication application(R"(<gui><forms><form name="PanelFORM" style="13565952" width="300" height="200" id="100">
<child type="PushButton" name="OkBtn" caption="OK" id="101"/>
<child type="FrameChild" id="110"><child type="Label" name="InnerLABEL" caption="in" id="103"/></child>
<child type="ListBox" name="MovesBOX" id="102"/>
</form></forms></gui>)");
    PanelFORM_form form;
    ASSERT_EQ(form.create(nullptr), 0);
    ASSERT_NE(form.OkBtn, nullptr);
    EXPECT_EQ(text(*form.OkBtn), "OK");
    ASSERT_NE(form.MovesBOX, nullptr);
    EXPECT_EQ(form.MovesBOX->getId(), 102);
    ASSERT_NE(form.InnerLABEL, nullptr);
    EXPECT_EQ(text(*form.InnerLABEL), "in");
    EXPECT_EQ(form.MissingBtn, nullptr);
    EXPECT_EQ(form.WrongLABEL, nullptr);
    EXPECT_EQ(form.findChild(100), &form);
}

TEST_F(FormLoader, BitmapButtonsFallBackToTheirCaption) {
    // A 1 x 1 24-bit bitmap file beside the definition.
    char directory[MAX_PATH] = {};
    GetTempPathA(sizeof directory, directory);
    const std::string bitmapFile = std::string(directory) + "FormsTestArrow.bmp";
    {
        const unsigned char bmp[58] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24};
        std::ofstream(bitmapFile, std::ios::binary).write(reinterpret_cast<const char*>(bmp), sizeof bmp);
    }
    DefinitionApplication application(oneForm(kFormAttributes, R"(
<child type="PushButton" name="NoSuchBitmap" caption="Go" width="60" height="24" style="1342242944" id="60"/>
<child type="RadioButton" name="FormsTestArrow" caption="Arrow" width="60" height="24" style="1342242953" id="61"/>
<child type="PushButton" caption="Nameless" width="60" height="24" style="1342242944" id="62"/>)"),
                                      vek::STRING(directory) + "forms_test.gui");
    TestForm form;
    ASSERT_EQ(form.create("F"), 0);
    BasicWindow& fallback = childWithId(form, 60);
    EXPECT_EQ(liveStyle(fallback) & BS_BITMAP, 0u);
    EXPECT_EQ(fallback.getStyle() & BS_BITMAP, 0u);
    EXPECT_EQ(text(fallback), "Go");
    EXPECT_EQ(liveStyle(childWithId(form, 62)) & BS_BITMAP, 0u);
    BasicWindow& arrow = childWithId(form, 61);
    EXPECT_NE(liveStyle(arrow) & BS_BITMAP, 0u);
    EXPECT_NE(SendMessageA(arrow.getHandle(), BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_NE(dynamic_cast<winlib::RadioButton*>(&arrow), nullptr);
    DeleteFileA(bitmapFile.c_str());
}

TEST_F(FormLoader, ChessFormIsBuiltAndItsPanelFollowsTheHeight) {
    DefinitionApplication application(vek::xml::testing::kChessFormDefinition);
    TestForm form;
    ASSERT_EQ(form.create("ChessFORM"), 0);
    EXPECT_EQ(form.getId(), 128);
    EXPECT_EQ(form.getBackground().get(), GetSysColorBrush(COLOR_WINDOW));
    BasicWindow& panel = childWithId(form, 142);
    const winlib::Size client = form.getClientSize();
    winlib::Rect place = placeOf(panel);
    EXPECT_EQ(place.x, 0);
    EXPECT_EQ(place.y, 0);
    EXPECT_EQ(place.width, 280);
    EXPECT_EQ(place.height, client.height);
    EXPECT_EQ(text(childWithId(form, 136)), "L\xE4ufer");
    EXPECT_EQ(GetParent(childWithId(form, 139).getHandle()), childWithId(form, 140).getHandle());

    SetWindowPos(form.getHandle(), nullptr, 0, 0, 900, 650, SWP_NOMOVE | SWP_NOZORDER);
    place = placeOf(panel);
    EXPECT_EQ(place.width, 280);
    EXPECT_EQ(place.height, form.getClientSize().height);
    EXPECT_GT(place.height, client.height);
}

TEST_F(FormLoader, DamagedDefinitionsGiveAnErrorOrWhatCouldBeRead) {
    const int windowsBefore = threadWindowCount();
    std::vector<std::string> definitions;
    // The chess form, not shown (a shown window costs Wine a wait for the screen).
    std::string chess(vek::xml::testing::kChessFormDefinition);
    chess.replace(chess.find("277807104"), 9, "9371648");
    for (std::size_t cut = 0; cut < chess.size(); cut += 97)
        definitions.push_back(chess.substr(0, cut));
    definitions.push_back("<gui><forms><child type=\"Label\"/><form name=\"F\"><forms><form name=\"F\"/></forms></form></forms></gui>");
    definitions.push_back(oneForm(R"(style="13565952" width="4294967295" height="99999")",
                                  R"(<child type="Label" x="4294967295" y="2147483648" width="4294967295" height="1" caption="far"/>
<layoutManager type="TableManager" marginLeft="-2147483648" marginRight="2147483647"/>
<child type="Label" caption="t"><layout x="4294967295" width="4294967295" growWidth="4294967295"/></child>)"));
    definitions.push_back(oneForm(kFormAttributes, "<layoutManager type=\"AttachmentManager\" marginTop=\"-2147483648\"/>"
                                  "<child type=\"FrameChild\"><layout attachment=\"4\" growWidth=\"1\" growHeight=\"1\" paddingLeft=\"4294967295\"/></child>"));
    std::string many = "<layoutManager type=\"RowManager\"/>";
    for (int i = 0; i < 2000; ++i)
        many += "<child type=\"Label\" caption=\"" + std::to_string(i) + "\" id=\"" + std::to_string(i + 1000) + "\"/>";
    definitions.push_back(oneForm(kFormAttributes, many));
    std::string deep;
    for (int i = 0; i < 200; ++i)
        deep += "<child type=\"FrameChild\" width=\"100\" height=\"100\">";
    definitions.push_back(oneForm(kFormAttributes, deep));

    for (const std::string& definition : definitions) {
        SCOPED_TRACE(definition.substr(0, 200));
        DefinitionApplication application(definition);
        TestForm form;
        try {
            if (form.create(definition.find("ChessFORM") != std::string::npos ? "ChessFORM" : "F") == 0) {
                EXPECT_EQ(form.createCalls, 1);
            }
        } catch (const vek::LibraryException&) {
            EXPECT_FALSE(form.hasLiveHandle());
        }
        form.close();
        EXPECT_EQ(threadWindowCount(), windowsBefore);
    }
    EXPECT_TRUE(recorder.reports().empty());
}

}  // namespace
}  // namespace winlibGUI::testing
