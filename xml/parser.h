#pragma once
// The forgiving XML reader. It never throws for bad markup: each problem goes to the error list
// with its line and column, and the document keeps whatever could be built, with unclosed or
// mismatched elements closed or ignored.

#include <istream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "xml/document.h"
#include "xml/entity_table.h"
#include "xml/factory.h"
#include "xml/mark.h"
#include "xml/name_pool.h"
#include "xml/text_reader.h"

namespace vek::xml {

class Parser : public TextReader {
public:
    // Elements nested deeper than this are reported and skipped with their content: far more
    // than any real definition needs, and it keeps the tree shallow enough for the recursive
    // walks over it (and its destruction) on any thread's stack.
    static constexpr std::size_t kMaxDepth = 256;

    // The stream must outlive the parser.
    explicit Parser(std::istream& in);

    // Reads the stream to its end into document, after the nodes it already holds.
    void readFile(Document& document);

    // Set once a declaration names the encoding UTF-8; texts read after it are tagged UTF-8.
    bool isUtf8() const { return utf8_; }
    const NamePool& getNamePool() const { return names_; }

    // Replaces the factory that makes the elements.
    void setFactory(std::unique_ptr<Factory> factory);
    void defineEntity(const STRING& reference, unsigned char character);

private:
    enum TagEnd { teOPEN, teEMPTY };

    struct OpenElement {
        XmlContainer* container;
        // White space read while the element had no child, kept if it never gets one.
        std::string blanks;
    };

    // Tree building (parser.cpp).
    // Takes a UTF-8 byte-order mark at the start, which switches to UTF-8 mode; returns the
    // bytes of a partial one, which are text.
    std::string readByteOrderMark();
    void readMarkup();
    // Reads text up to the next markup; `text` holds bytes of it already read.
    void readText(std::string text = {});
    void readStartTag();
    XmlContainer& placeFor(const XmlContainer& element);
    void readEndTag();
    void closeByEndTag(const STRING& name);
    void closeTop();
    void reportUnterminated();
    void adopt(std::unique_ptr<Element> node);
    XmlContainer& current() const { return *open_.back().container; }
    Factory& factory();

    // Markup and text (parser_markup.cpp).
    void readBangMarkup();
    std::unique_ptr<Element> readDocType();
    void readMark();
    STRING readName();
    TagEnd readAttributes(XmlWithAttributes& node, char closer);
    void readAttribute(XmlWithAttributes& node, char closer);
    void readEntityText(std::string& out, std::string_view stops);
    void readReference(std::string& out, std::string_view stops);
    void resolveReference(const std::string& reference, std::string& out);
    STRING makeText(std::string_view text) const;

    std::unique_ptr<Factory> factory_;
    EntityTable entities_;
    NamePool names_;
    bool utf8_ = false;
    std::vector<OpenElement> open_;
    // Nesting level inside an element skipped for its depth; 0 while building.
    std::size_t skipLevel_ = 0;
};

}  // namespace vek::xml
