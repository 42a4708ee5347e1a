// The tree-building half of the parser: the content loop, start and end tags, and the stack of
// open elements with its recoveries.
#include "xml/parser.h"

#include <utility>

#include "xml/characters.h"
#include "xml/xml_text.h"

namespace vek::xml {

Parser::Parser(std::istream& in) : TextReader(in) {}

void Parser::setFactory(std::unique_ptr<Factory> factory) {
    factory_ = std::move(factory);
}

void Parser::defineEntity(const STRING& reference, unsigned char character) {
    entities_.define(reference, character);
}

Factory& Parser::factory() {
    if (!factory_)
        factory_ = std::make_unique<Factory>();
    return *factory_;
}

void Parser::readFile(Document& document) {
    // The open elements live on an explicit stack rather than the call stack, so no input can
    // nest the reading itself too deeply.
    open_.assign(1, OpenElement{&document, {}});
    skipLevel_ = 0;
    readText(readByteOrderMark());
    while (get() != kEnd) {
        readMarkup();
        readText();
    }
    reportUnterminated();
    listDroppedErrors();
    open_.clear();
    skipLevel_ = 0;
}

std::string Parser::readByteOrderMark() {
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    std::string taken;
    while (taken.size() < kMark.size() && peek() == static_cast<unsigned char>(kMark[taken.size()]))
        taken += static_cast<char>(get());
    if (taken.size() < kMark.size())
        return taken;
    utf8_ = true;
    return {};
}

void Parser::readMarkup() {
    if (skip('/'))
        readEndTag();
    else if (skip('!'))
        readBangMarkup();
    else if (skip('?'))
        readMark();
    else
        readStartTag();
}

void Parser::readText(std::string text) {
    if (skipLevel_ > 0) {
        while (peek() != kEnd && peek() != '<')
            get();
        return;
    }
    readEntityText(text, "<");
    const std::string_view content = stripBlanks(text);
    if (!content.empty()) {
        if (current().acceptsText())
            current().addObject(std::make_unique<PCData>(makeText(content)));
        else
            addError("PCDATA not allowed here");
    } else if (current().getNumObjects() == 0) {
        // Blanks matter only to an element without children; collecting them for every
        // container would hold all the indentation of a large file until it closes.
        open_.back().blanks += text;
    }
}

void Parser::readStartTag() {
    const STRING name = readName();
    if (name.isEmpty()) {
        addError("Missing name after <");
        return;
    }
    std::unique_ptr<XmlContainer> element = factory().createElement(name);
    const TagEnd end = readAttributes(*element, '/');
    if (skipLevel_ > 0 || open_.size() > kMaxDepth) {
        if (skipLevel_ == 0) {
            addError("<" + excerpt(name) + "> is nested deeper than " +
                     STRING::fromNumber(static_cast<long long>(kMaxDepth)) + " levels --> skipping it");
        }
        if (end == teOPEN)
            ++skipLevel_;
        return;
    }
    XmlContainer& container = placeFor(*element);
    XmlContainer* const added = element.get();
    container.addObject(std::move(element));
    if (end == teOPEN)
        open_.push_back(OpenElement{added, {}});
}

XmlContainer& Parser::placeFor(const XmlContainer& element) {
    XmlContainer& here = current();
    if (here.acceptsObject(element))
        return here;
    addError("<" + excerpt(element.getTag()) + "> is not allowed within <" + excerpt(here.getTag()) + ">");
    if (open_.size() > 1) {
        XmlContainer& parent = *open_[open_.size() - 2].container;
        if (parent.acceptsObject(element)) {
            open_.pop_back();
            return parent;
        }
    }
    return here;
}

void Parser::readEndTag() {
    skipBlanks();
    std::string name;
    for (int c = peek(); c != kEnd && c != '>' && c != '<'; c = peek())
        name += static_cast<char>(get());
    // Blanks between the name and '>' are allowed, as XML allows them: "</b >" closes <b>.
    const std::string_view trimmed = stripBlanks(name);
    const STRING endName(trimmed.data(), trimmed.size());
    if (atEnd()) {
        addError("Unexpected end of file in </" + excerpt(endName));
        return;
    }
    if (!skip('>'))
        addError("Missing > after </" + excerpt(endName));
    if (skipLevel_ > 0) {
        --skipLevel_;
        return;
    }
    closeByEndTag(endName);
}

void Parser::closeByEndTag(const STRING& name) {
    if (open_.size() == 1) {
        addError("end tag </" + excerpt(name) + "> without start tag --> ignoring");
        return;
    }
    const STRING tag = current().getTag();
    if (equalsIgnoringCase(name, tag, utf8_)) {
        closeTop();
        return;
    }
    const STRING mismatch = "end tag </" + excerpt(name) + "> does not match start tag <" + excerpt(tag) + ">";
    // The document itself is never the parent an end tag can close.
    const bool parentMatches =
        open_.size() > 2 && equalsIgnoringCase(name, open_[open_.size() - 2].container->getTag(), utf8_);
    if (parentMatches) {
        addError(mismatch + " --> terminating parent");
        closeTop();
        closeTop();
    } else {
        addError(mismatch + " --> ignoring");
    }
}

void Parser::closeTop() {
    const OpenElement& top = open_.back();
    XmlContainer& container = *top.container;
    // <item>  </item> is an entry of two blanks, not an empty one.
    if (container.getNumObjects() == 0 && !top.blanks.empty() && container.acceptsText())
        container.addObject(std::make_unique<PCData>(makeText(top.blanks)));
    open_.pop_back();
}

void Parser::reportUnterminated() {
    for (std::size_t i = open_.size() - 1; i > 0; --i)
        addError(excerpt(open_[i].container->getTag()) + " was not terminated correctly");
}

void Parser::adopt(std::unique_ptr<Element> node) {
    if (skipLevel_ == 0)
        current().addObject(std::move(node));
}

}  // namespace vek::xml
