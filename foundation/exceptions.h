#pragma once
// The library's exception tree. Every class fixes the first words of its message; throwers
// append details with addInfo. Copying an exception shares the message block.

#include <exception>

#include "foundation/string.h"

namespace vek {

class LibraryException : public std::exception {
public:
    explicit LibraryException(const STRING& message = STRING());

    // The message text, "" when empty.
    const char* what() const noexcept override;
    const STRING& getMessage() const { return message_; }

    // Appends ": " and the text stripped of surrounding white space, unless nothing remains.
    void addInfo(const STRING& text);
    // Appends "Caused by: " and the C library's text for errorNumber, as addInfo does.
    void addCause(int errorNumber);

private:
    STRING message_;
};

class MemoryError : public LibraryException {
public:
    using LibraryException::LibraryException;
};

class AllocError : public MemoryError {
public:
    AllocError();
};

class IndexError : public MemoryError {
public:
    IndexError();
};

class MathError : public LibraryException {
public:
    using LibraryException::LibraryException;
};

// The number errors carry the offending text after their fixed words.
class BadNumericFormatError : public MathError {
public:
    explicit BadNumericFormatError(const STRING& offendingText);

protected:
    BadNumericFormatError(const char* words, const STRING& offendingText);
};

class IntegerOverflowError : public BadNumericFormatError {
public:
    explicit IntegerOverflowError(const STRING& offendingText);
};

class IntegerUnderflowError : public BadNumericFormatError {
public:
    explicit IntegerUnderflowError(const STRING& offendingText);
};

class InvalidConversionError : public LibraryException {
public:
    InvalidConversionError();
};

class IOerror : public LibraryException {
public:
    using LibraryException::LibraryException;

protected:
    // The fixed words, the file name and, when errno is set, its cause.
    IOerror(const char* words, const STRING& fileName);

private:
    IOerror(const char* words, const STRING& fileName, int errorNumber);
};

class OpenReadError : public IOerror {
public:
    explicit OpenReadError(const STRING& fileName);
};

class WriteError : public IOerror {
public:
    explicit WriteError(const STRING& fileName);
};

// A thread could not be started; it is then neither running nor registered.
class ThreadError : public LibraryException {
public:
    explicit ThreadError(const STRING& threadName);
};

}  // namespace vek
