#pragma once
// Nodes written as <?name attributes?>: processing instructions and the two the library knows,
// the XML declaration and the style sheet link.

#include "xml/xml_with_attributes.h"

namespace vek::xml {

class Mark : public XmlWithAttributes {
protected:
    explicit Mark(const STRING& name);
};

// A processing instruction for some other application.
class ProcInstruction final : public Mark {
public:
    explicit ProcInstruction(const STRING& name);
};

// A mark with a meaning for this library.
class Special : public Mark {
protected:
    explicit Special(const STRING& name);
};

// <?xml version="..." encoding="..."?>
class Declaration final : public Special {
public:
    Declaration();

    // The attribute, or "1.0" when it is absent.
    STRING getVersion() const;
    // The attribute, or "iso-8859-1" when it is absent.
    STRING getEncoding() const;
};

// <?xml-stylesheet type="text/xsl" href="..."?>
class StyleSheet final : public Special {
public:
    StyleSheet();
};

}  // namespace vek::xml
