// The lexical half of the parser: names, attributes, comments, CDATA sections, the document
// type, marks, and texts with their character references.
#include <utility>

#include "xml/characters.h"
#include "xml/parser.h"
#include "xml/xml_text.h"

namespace vek::xml {

namespace {

// A reference longer than any known name is damage; ending it here keeps a stray "&" from
// swallowing a long text into an error message.
constexpr std::size_t kMaxReferenceLength = 64;

// What ends an attribute value that lacks its quotes.
constexpr std::string_view kUnquotedStops = " \t\n\v\f\r<>";

bool endsName(int c) {
    constexpr std::string_view stops = "/>?<=\"'";
    return c < 0 || isBlank(c) || stops.find(static_cast<char>(c)) != std::string_view::npos;
}

bool isStop(int c, std::string_view stops) {
    return stops.find(static_cast<char>(c)) != std::string_view::npos;
}

// How a tag or mark is named in messages: <name> or <?name?>.
STRING describe(const XmlWithAttributes& node, char closer) {
    const STRING tag = excerpt(node.getTag());
    return closer == '?' ? "<?" + tag + "?>" : "<" + tag + ">";
}

// The decimal digits of a numeric reference "&#65;", or "" for any other reference.
std::string_view numericDigits(std::string_view reference) {
    if (reference.size() < 4 || reference[1] != '#')
        return {};
    const std::string_view digits = reference.substr(2, reference.size() - 3);
    for (const char d : digits) {
        if (d < '0' || d > '9')
            return {};
    }
    return digits;
}

}  // namespace

void Parser::readBangMarkup() {
    std::string content;
    if (skipWord("--")) {
        if (!readUntil(content, "-->"))
            addError("Unterminated comment");
        adopt(std::make_unique<Comment>(makeText(content)));
    } else if (skipWord("[CDATA[")) {
        if (!readUntil(content, "]]>"))
            addError("Unterminated CDATA section");
        adopt(std::make_unique<CData>(makeText(content)));
    } else if (skipWord("DOCTYPE", true)) {
        adopt(readDocType());
    } else {
        // A damaged mark ends at its ">", or before the "<" of the next markup.
        addError("Unknown markup after <!");
        for (int c = peek(); c != kEnd && c != '<'; c = peek()) {
            get();
            if (c == '>')
                break;
        }
    }
}

std::unique_ptr<Element> Parser::readDocType() {
    // An internal subset holds declarations in angle brackets of their own.
    std::string content;
    std::size_t nesting = 0;
    for (int c = get();; c = get()) {
        if (c == kEnd) {
            addError("Unterminated DOCTYPE");
            break;
        }
        if (c == '>' && nesting == 0)
            break;
        content += static_cast<char>(c);
        if (c == '<') {
            ++nesting;
        } else if (c == '>') {
            --nesting;
        } else if (content.ends_with("<!--")) {
            // A comment in the internal subset may hold any ">"; it ends, with its "<", at "-->".
            if (readUntil(content, "-->")) {
                content += "-->";
                --nesting;
            }
        }
    }
    return std::make_unique<DocType>(makeText(stripBlanks(content)));
}

void Parser::readMark() {
    const STRING name = readName();
    if (name.isEmpty())
        addError("Missing name after <?");
    if (name == "xml") {
        auto declaration = std::make_unique<Declaration>();
        readAttributes(*declaration, '?');
        // Encoding names are case-insensitive; "utf-8" is as common as "UTF-8", and blanks
        // around the name are no part of it.
        STRING encoding = declaration->getEncoding();
        encoding.stripBlanks();
        if (skipLevel_ == 0 && equalsIgnoringCase(encoding, "UTF-8", false))
            utf8_ = true;
        adopt(std::move(declaration));
        return;
    }
    std::unique_ptr<Mark> mark;
    if (name == "xml-stylesheet")
        mark = std::make_unique<StyleSheet>();
    else
        mark = std::make_unique<ProcInstruction>(name);
    readAttributes(*mark, '?');
    adopt(std::move(mark));
}

STRING Parser::readName() {
    std::string name;
    while (!endsName(peek()))
        name += static_cast<char>(get());
    return name.empty() ? STRING() : names_.intern(name);
}

Parser::TagEnd Parser::readAttributes(XmlWithAttributes& node, char closer) {
    while (true) {
        skipBlanks();
        if (atEnd()) {
            addError("Unexpected end of file in " + describe(node, closer));
            return teOPEN;
        }
        if (peek() == '<') {
            addError("Missing > in " + describe(node, closer));
            return teOPEN;
        }
        if (skip('>')) {
            if (closer == '?')
                addError("Missing ? before > in " + describe(node, closer));
            return teOPEN;
        }
        if (skip(closer)) {
            if (skip('>'))
                return teEMPTY;
            addError(STRING("Invalid character ") + closer + " in " + describe(node, closer));
            continue;
        }
        readAttribute(node, closer);
    }
}

void Parser::readAttribute(XmlWithAttributes& node, char closer) {
    std::string text;
    while (!endsName(peek()))
        text += static_cast<char>(get());
    if (text.empty()) {
        const char stray = static_cast<char>(get());
        addError(STRING("Invalid character ") + stray + " in " + describe(node, closer));
        return;
    }
    const STRING name(text.data(), text.size());
    skipBlanks();
    if (!skip('=')) {
        addError("Attribute " + excerpt(name) + " has no value");
        node.addAttribute(name, STRING());
        return;
    }
    skipBlanks();
    std::string value;
    const int quote = peek();
    if (quote == '"' || quote == '\'') {
        get();
        readEntityText(value, quote == '"' ? "\"" : "'");
        if (!skip(static_cast<char>(quote)))
            addError("Unterminated value of attribute " + excerpt(name));
    } else {
        addError("Value of attribute " + excerpt(name) + " is not quoted");
        readEntityText(value, kUnquotedStops);
    }
    node.addAttribute(name, makeText(value));
}

void Parser::readEntityText(std::string& out, std::string_view stops) {
    for (int c = peek(); c != kEnd && !isStop(c, stops); c = peek()) {
        get();
        if (c == '&')
            readReference(out, stops);
        else
            out += static_cast<char>(c);
    }
}

void Parser::readReference(std::string& out, std::string_view stops) {
    std::string reference = "&";
    while (true) {
        const int c = peek();
        if (c == ';') {
            reference += static_cast<char>(get());
            resolveReference(reference, out);
            return;
        }
        if (c == kEnd || isBlank(c) || c == '&' || isStop(c, stops) || reference.size() >= kMaxReferenceLength) {
            addError("Invalid entity " + STRING(reference.data(), reference.size()));
            out += reference;
            return;
        }
        reference += static_cast<char>(get());
    }
}

void Parser::resolveReference(const std::string& reference, std::string& out) {
    const std::string_view digits = numericDigits(reference);
    if (!digits.empty()) {
        unsigned code = 0;
        for (const char d : digits)
            code = (code * 10 + static_cast<unsigned>(d - '0')) % 256;
        if (code == 0)
            addError("NUL character ignored");
        else
            out += static_cast<char>(code);
        return;
    }
    // An unknown reference vanishes.
    if (const std::optional<char> character = entities_.find(STRING(reference.data(), reference.size())))
        out += *character;
}

STRING Parser::makeText(std::string_view text) const {
    if (text.empty())
        return STRING();
    STRING result(text.data(), text.size());
    if (utf8_ && result.getCharset() == csWINDOWS)
        result.setCharset(csUTF8);
    return result;
}

}  // namespace vek::xml
