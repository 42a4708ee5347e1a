// Feeds arbitrary bytes to the parser and walks the resulting tree. Beyond the sanitizers'
// findings it checks the promises the parser makes on any input: a bounded depth, consistent
// parent links, and an error list of bounded length whose messages are positioned and short.
// The script runs it with memory limits that catch any other amplification of the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "xml/parser.h"

namespace {

using vek::xml::Element;
using vek::xml::XmlContainer;

void require(bool condition) {
    if (!condition)
        std::abort();
}

// Visits every node the way the form loader does; returns the depth below node. Values are read
// where the loader reads them, from elements without child elements (list items).
std::size_t walk(const Element& node) {
    node.getTag();
    node.getAttribute("name");
    std::size_t deepest = 0;
    bool hasElements = false;
    for (std::size_t i = 0; i < node.getNumObjects(); ++i) {
        const Element* child = node.getElement(i);
        require(child != nullptr && child->getParent() == &node);
        hasElements = hasElements || dynamic_cast<const XmlContainer*>(child) != nullptr;
        const std::size_t depth = 1 + walk(*child);
        deepest = depth > deepest ? depth : deepest;
    }
    if (!hasElements)
        node.getValue();
    return deepest;
}

// A message quotes at most 64 bytes of a name or value, two of them at most, and a position.
constexpr std::size_t kMaxErrorLength = 256;

bool isPositioned(const vek::STRING& error) {
    const std::string text(error.getText(), error.getLength());
    const std::size_t dot = text.find('.');
    const std::size_t colon = text.find(": ");
    return dot != std::string::npos && dot > 0 && colon != std::string::npos && colon > dot + 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    vek::xml::Parser parser(in);
    vek::xml::Document document;
    parser.readFile(document);

    // Element levels plus one for the text or mark that an innermost element may hold.
    require(walk(document) <= vek::xml::Parser::kMaxDepth + 1);
    document.getValue();
    require(parser.getErrors().getCount() <= vek::xml::Parser::kMaxErrors + 1);
    for (const vek::STRING& error : parser.getErrors())
        require(isPositioned(error) && error.getLength() <= kMaxErrorLength);
    if (const XmlContainer* root = document.getRoot()) {
        vek::Array<const XmlContainer*> children;
        root->getAllElements(children, "child");
        root->getElement("forms");
    }
    return 0;
}
