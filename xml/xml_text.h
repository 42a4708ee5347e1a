#pragma once
// Nodes that hold one text: character data, CDATA sections, comments and the document type.

#include "xml/element.h"

namespace vek::xml {

class XmlText : public Element {
public:
    STRING getValue(ValueMode mode = vmPLAIN_TEXT) const override;
    const STRING& getText() const { return text_; }

protected:
    explicit XmlText(const STRING& text);

private:
    STRING text_;
};

// Character data between tags, with its entities decoded.
class PCData final : public XmlText {
public:
    explicit PCData(const STRING& text);

protected:
    void collectContent(std::vector<const STRING*>& pieces) const override;
};

// The literal content of a <![CDATA[ section.
class CData final : public XmlText {
public:
    explicit CData(const STRING& text);

protected:
    void collectContent(std::vector<const STRING*>& pieces) const override;
};

// The content of a <!-- comment -->.
class Comment final : public XmlText {
public:
    explicit Comment(const STRING& text);
};

// The content of a <!DOCTYPE declaration.
class DocType final : public XmlText {
public:
    explicit DocType(const STRING& text);
};

}  // namespace vek::xml
