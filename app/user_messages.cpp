#include "app/user_messages.h"

namespace chessapp {
namespace {

const char* writeFaultText(WriteFault fault) {
    switch (fault) {
    case wfNO_ACCESS:
        return "sie oder ihr Ordner ist schreibgesch\xFCtzt";
    case wfFOLDER_IN_PLACE:
        return "an ihrer Stelle steht ein Ordner";
    case wfNO_FOLDER:
        return "ihr Ordner fehlt";
    case wfDISK_FULL:
        return "der Datentr\xE4ger ist voll";
    default:
        return "ein Schreibfehler";
    }
}

}  // namespace

vek::STRING invalidDepthMessage(const vek::STRING& text, std::int32_t depth) {
    return "\"" + text +
           "\" ist keine g\xFCltige Tiefe. Bitte eine ganze Zahl eingeben, zum Beispiel 3.\n"
           "Die Tiefe bleibt " + vek::STRING::fromNumber(depth) + ".";
}

vek::STRING damagedGuiFileMessage(const vek::STRING& fileName, const vek::STRING& problem) {
    return "Die Oberfl\xE4" "chendatei \"" + fileName + "\" ist unbrauchbar: " + problem +
           ".\nDas Programm startet mit seiner eingebauten Oberfl\xE4" "che.";
}

vek::STRING missingControlsProblem(const vek::STRING& names) {
    return "es fehlen Steuerelemente (" + names + ")";
}

vek::STRING missingFormProblem() { return "das Formular \"ChessFORM\" fehlt"; }

vek::STRING unusableGuiProblem(const char* error) {
    return vek::STRING("sie enth\xE4lt einen Fehler (") + error + ")";
}

vek::STRING engineFailedMessage() {
    return "Der Rechner konnte seinen Zug nicht berechnen, vermutlich fehlt Speicher.\n"
           "Die Stellung ist wie vor seinem Zug; Sie k\xF6nnen weiterspielen, am besten mit kleinerer Tiefe.";
}

vek::STRING saveFailedMessage(const vek::STRING& fileName, WriteFault fault) {
    return "Die Partie konnte nicht gespeichert werden: Die Datei \"" + fileName +
           "\" l\xE4sst sich nicht schreiben (" + writeFaultText(fault) +
           ").\nSie k\xF6nnen weiterspielen, doch solange das so bleibt, geht der Spielstand beim Beenden "
           "verloren. Diese Meldung erscheint nur einmal.";
}

}  // namespace chessapp
