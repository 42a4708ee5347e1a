#pragma once
// Test helpers: a document read from text, with the parser's errors as plain strings so that
// they can be matched directly, and readable STRING values in failure messages.

#include <memory>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "xml/parser.h"

namespace vek {

inline void PrintTo(const STRING& value, std::ostream* out) {
    *out << '"' << std::string(value.getText(), value.getLength()) << '"';
}

}  // namespace vek

namespace vek::xml::testing {

class Parsed {
public:
    explicit Parsed(std::string_view text, std::unique_ptr<Factory> factory = nullptr) {
        std::istringstream in{std::string(text)};
        Parser parser(in);
        if (factory)
            parser.setFactory(std::move(factory));
        parser.readFile(document);
        for (const STRING& error : parser.getErrors())
            errors.emplace_back(error.getText(), error.getLength());
        utf8 = parser.isUtf8();
        namesPooled = parser.getNamePool().getCount();
    }

    // The root element; throws (failing the test) when there is none.
    const XmlContainer& root() const {
        const XmlContainer* found = document.getRoot();
        if (found == nullptr)
            throw std::runtime_error("document has no root element");
        return *found;
    }

    Document document;
    std::vector<std::string> errors;
    bool utf8 = false;
    std::size_t namesPooled = 0;
};

inline std::string text(const STRING& value) {
    return std::string(value.getText(), value.getLength());
}

}  // namespace vek::xml::testing
