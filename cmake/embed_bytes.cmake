# cmake -DINPUT=file -DOUTPUT=source.cpp -DFUNCTION=name -DNAMESPACE=ns -P embed_bytes.cmake
# Writes a C++ source whose function NAMESPACE::FUNCTION() returns the bytes of INPUT, so that a
# data file becomes part of the program in standard C++ on every compiler.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
if(digits EQUAL 0)
  message(FATAL_ERROR "${INPUT} is empty")
endif()
# Sixteen bytes a line (CMake's expressions know no counted repeats), each written "0x..,".
string(REPEAT "[0-9a-f]" 32 line)
string(REGEX REPLACE "(${line})" "\\1\n" bytes "${hex}")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
math(EXPR count "${digits} / 2")
get_filename_component(name "${INPUT}" NAME)
file(WRITE "${OUTPUT}.new"
"// Made at build time from ${name} by cmake/embed_bytes.cmake: do not edit.
#include <cstdint>
#include <span>

namespace ${NAMESPACE} {
namespace {

const std::uint8_t kBytes[${count}] = {
${bytes}
};

}  // namespace

std::span<const std::uint8_t> ${FUNCTION}() { return kBytes; }

}  // namespace ${NAMESPACE}
")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
