// The library's exception tree.
#include "foundation/exceptions.h"

#include <cerrno>
#include <cstring>

namespace vek {

LibraryException::LibraryException(const STRING& message) : message_(message) {}

const char* LibraryException::what() const noexcept { return message_.getText(); }

void LibraryException::addInfo(const STRING& text) {
    STRING info(text);
    info.stripBlanks();
    if (info.isEmpty())
        return;
    // A message of its own gets ": " before the detail; an empty one takes the detail alone.
    if (!message_.isEmpty())
        message_ += ": ";
    message_ += info;
}

void LibraryException::addCause(int errorNumber) {
    addInfo(STRING("Caused by: ") + std::strerror(errorNumber));
}

AllocError::AllocError() : MemoryError("Memory Allocation Failed") {}

IndexError::IndexError() : MemoryError("Array Index Range Error") {}

BadNumericFormatError::BadNumericFormatError(const STRING& offendingText)
    : BadNumericFormatError("Bad Numeric Format", offendingText) {}

BadNumericFormatError::BadNumericFormatError(const char* words, const STRING& offendingText)
    : MathError(words) {
    addInfo(offendingText);
}

IntegerOverflowError::IntegerOverflowError(const STRING& offendingText)
    : BadNumericFormatError("Integer Overflow", offendingText) {}

IntegerUnderflowError::IntegerUnderflowError(const STRING& offendingText)
    : BadNumericFormatError("Integer Underflow", offendingText) {}

InvalidConversionError::InvalidConversionError() : LibraryException("Invalid Conversion") {}

// errno is taken before anything else can change it.
IOerror::IOerror(const char* words, const STRING& fileName) : IOerror(words, fileName, errno) {}

IOerror::IOerror(const char* words, const STRING& fileName, int errorNumber) : LibraryException(words) {
    addInfo(fileName);
    if (errorNumber != 0)
        addCause(errorNumber);
}

OpenReadError::OpenReadError(const STRING& fileName) : IOerror("File Open For Read Failed", fileName) {}

WriteError::WriteError(const STRING& fileName) : IOerror("File Write Failed", fileName) {}

ThreadError::ThreadError(const STRING& threadName) : LibraryException("Thread Start Failed") {
    addInfo(threadName);
}

}  // namespace vek
