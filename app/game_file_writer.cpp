#include "app/game_file_writer.h"

#include <cstdio>

namespace chessapp {

bool writeWholeFile(const vek::STRING& path, const vek::STRING& text) {
    std::FILE* file = std::fopen(path.getText(), "wb");
    if (!file)
        return false;
    const std::size_t written = std::fwrite(text.getText(), 1, text.getLength(), file);
    const bool closed = std::fclose(file) == 0;  // a full disk may show only when flushing
    return written == text.getLength() && closed;
}

bool replaceFile(const vek::STRING& path, const vek::STRING& text) {
    const vek::STRING temporary = path + ".new";
    if (writeWholeFile(temporary, text) && moveReplacing(temporary, path))
        return true;
    std::remove(temporary.getText());
    return false;
}

void saveGame(GameFiles& files, const vek::STRING& text) {
    if (text.isEmpty())
        return;
    replaceFile(files.gameFileName(), text);
    writeWholeFile(files.numberedGameFileName(), text);
}

}  // namespace chessapp
