#include "app/game_file_writer.h"

#include <cerrno>

#include "foundation/platform.h"

namespace chessapp {
namespace {

WriteFault faultOf(const vek::STRING& path, int error) {
    if (vek::isDirectory(path))
        return wfFOLDER_IN_PLACE;
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return wfNO_ACCESS;
    case EISDIR:
        return wfFOLDER_IN_PLACE;
    case ENOENT:
    case ENOTDIR:
        return wfNO_FOLDER;
    case ENOSPC:
        return wfDISK_FULL;
    default:
        return wfOTHER;
    }
}

// 0 or the errno value of the step that failed; `flushToDisk` may be null (no forced flush).
int writeFile(const vek::STRING& path, const vek::STRING& text, int (*flushToDisk)(std::FILE*)) {
    errno = 0;
    std::FILE* file = vek::openFile(path, "wb");
    if (!file)
        return errno != 0 ? errno : EIO;
    int error = 0;
    if (std::fwrite(text.getText(), 1, text.getLength(), file) != text.getLength() || std::fflush(file) != 0)
        error = errno != 0 ? errno : EIO;
    if (error == 0 && flushToDisk)
        error = flushToDisk(file);
    // A full disk may show only when the file is closed.
    if (std::fclose(file) != 0 && error == 0)
        error = errno != 0 ? errno : EIO;
    return error;
}

}  // namespace

WriteFault writeWholeFile(const vek::STRING& path, const vek::STRING& text) {
    const int error = writeFile(path, text, nullptr);
    return error == 0 ? wfNONE : faultOf(path, error);
}

WriteFault replaceFile(const vek::STRING& path, const vek::STRING& text, const DiskSteps& steps) {
    const vek::STRING temporary = path + ".new";
    int error = writeFile(temporary, text, steps.flushToDisk);
    if (error == 0)
        error = steps.moveReplacing(temporary, path);
    if (error == 0)
        return wfNONE;
    vek::removeFile(temporary);
    return faultOf(path, error);
}

WriteFault saveGame(GameFiles& files, const vek::STRING& text) {
    if (text.isEmpty())
        return wfNONE;
    const WriteFault fault = replaceFile(files.gameFileName(), text);
    writeWholeFile(files.numberedGameFileName(), text);
    return fault;
}

}  // namespace chessapp
