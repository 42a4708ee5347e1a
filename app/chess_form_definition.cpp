#include "app/chess_form_definition.h"

namespace chessapp {
namespace {

// One tag a line, line feeds only, no indentation and no final line feed. The byte 0xE4 stands
// in a literal of its own so that the hexadecimal escape cannot swallow the letters after it.
constexpr char kDefinition[] =
    "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n"
    "<gui>\n"
    "<forms>\n"
    "<form name=\"ChessFORM\" style=\"277807104\" width=\"758\" height=\"491\" caption=\"Chess\" id=\"128\" baseClass=\"OverlappedWindow\" bgColor=\"COLOR_WINDOW \" bg_red=\"0\" bg_green=\"0\" bg_blue=\"0\">\n"
    "<layoutManager type=\"AttachmentManager\">\n"
    "</layoutManager>\n"
    "<child type=\"FrameChild\" name=\"ControlCHILD\" caption=\"\" x=\"0\" y=\"0\" width=\"280\" height=\"728\" style=\"1342308352\" id=\"142\" bgColor=\"WHITE_BRUSH\" bg_red=\"0\" bg_green=\"0\" bg_blue=\"0\">\n"
    "<layout attachment=\"0\" growHeight=\"2\" x=\"0\" y=\"0\">\n"
    "</layout>\n"
    "<child type=\"Label\" name=\"\" caption=\"Tiefe:\" x=\"8\" y=\"8\" width=\"32\" height=\"16\" style=\"1342242827\" bgColor=\"WHITE_BRUSH\" bg_red=\"0\" bg_green=\"0\" bg_blue=\"0\">\n"
    "</child>\n"
    "<child type=\"EditControl\" name=\"DepthEdt\" caption=\"\" x=\"80\" y=\"8\" width=\"80\" height=\"24\" style=\"1350631808\" id=\"129\">\n"
    "</child>\n"
    "<child type=\"Label\" name=\"\" caption=\"Bewertung:\" x=\"8\" y=\"40\" width=\"64\" height=\"16\" style=\"1342242827\" bgColor=\"WHITE_BRUSH\" bg_red=\"0\" bg_green=\"0\" bg_blue=\"0\">\n"
    "</child>\n"
    "<child type=\"Label\" name=\"EvalLABEL\" caption=\"eval\" x=\"80\" y=\"40\" width=\"192\" height=\"16\" style=\"1342242827\" id=\"130\" bgColor=\"WHITE_BRUSH\" bg_red=\"0\" bg_green=\"0\" bg_blue=\"0\">\n"
    "</child>\n"
    "<child type=\"DateTimePicker\" name=\"WhiteClk\" caption=\"\" x=\"8\" y=\"64\" width=\"80\" height=\"24\" style=\"1342242825\" id=\"131\">\n"
    "</child>\n"
    "<child type=\"DateTimePicker\" name=\"BlackClk\" caption=\"\" x=\"96\" y=\"64\" width=\"80\" height=\"24\" style=\"1342242825\" id=\"132\">\n"
    "</child>\n"
    "<child type=\"PushButton\" name=\"RestartBtn\" caption=\"Neustart\" x=\"8\" y=\"96\" width=\"80\" height=\"24\" style=\"1342242816\" id=\"133\">\n"
    "</child>\n"
    "<child type=\"PushButton\" name=\"TurnBtn\" caption=\"Drehen\" x=\"96\" y=\"96\" width=\"80\" height=\"24\" style=\"1342242816\" id=\"134\">\n"
    "</child>\n"
    "<child type=\"PushButton\" name=\"StopBtn\" caption=\"Stop\" x=\"184\" y=\"96\" width=\"80\" height=\"24\" style=\"1342242816\" id=\"135\">\n"
    "</child>\n"
    "<child type=\"FrameChild\" name=\"PromotionList\" caption=\"\" x=\"8\" y=\"136\" width=\"112\" height=\"176\" style=\"1073872896\" id=\"140\">\n"
    "<child type=\"RadioButton\" name=\"BishopBtn\" caption=\"L\xE4" "ufer\" x=\"16\" y=\"16\" width=\"80\" height=\"24\" style=\"1342242825\" id=\"136\" bgColor=\"WHITE_BRUSH\" bg_red=\"0\" bg_green=\"0\" bg_blue=\"0\">\n"
    "</child>\n"
    "<child type=\"RadioButton\" name=\"KnightBtn\" caption=\"Springer\" x=\"16\" y=\"48\" width=\"80\" height=\"24\" style=\"1342242825\" id=\"137\" bgColor=\"WHITE_BRUSH\" bg_red=\"0\" bg_green=\"0\" bg_blue=\"0\">\n"
    "</child>\n"
    "<child type=\"RadioButton\" name=\"RookBtn\" caption=\"Turm\" x=\"16\" y=\"88\" width=\"80\" height=\"24\" style=\"1342242825\" id=\"138\" bgColor=\"WHITE_BRUSH\" bg_red=\"0\" bg_green=\"0\" bg_blue=\"0\">\n"
    "</child>\n"
    "<child type=\"RadioButton\" name=\"QueenBtn\" caption=\"Dame\" x=\"16\" y=\"128\" width=\"80\" height=\"24\" style=\"1342242825\" id=\"139\" bgColor=\"WHITE_BRUSH\" bg_red=\"0\" bg_green=\"0\" bg_blue=\"0\">\n"
    "</child>\n"
    "</child>\n"
    "<child type=\"ListBox\" name=\"MovesBOX\" caption=\"\" x=\"128\" y=\"136\" width=\"152\" height=\"300\" style=\"1353777409\" id=\"141\">\n"
    "</child>\n"
    "</child>\n"
    "</form>\n"
    "</forms>\n"
    "</gui>";

}  // namespace

std::string_view chessFormDefinition() {
    return std::string_view(kDefinition, sizeof kDefinition - 1);
}

}  // namespace chessapp
