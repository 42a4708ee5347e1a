#pragma once
// Nodes with a name and an attribute list: elements and the <?...?> marks.

#include "foundation/array.h"
#include "xml/element.h"

namespace vek::xml {

struct Attribute {
    STRING name;
    STRING value;
};

class XmlWithAttributes : public Element {
public:
    STRING getTag() const override;
    // Such a node has no text of its own.
    STRING getValue(ValueMode mode = vmPLAIN_TEXT) const override;
    // The first attribute of that name wins, as a reader of the document would expect.
    STRING getAttribute(const STRING& name) const override;

    // Appends an attribute; the list keeps document order.
    void addAttribute(const STRING& name, const STRING& value);
    const Array<Attribute>& getAttributes() const { return attributes_; }

protected:
    explicit XmlWithAttributes(const STRING& tag);

private:
    STRING tag_;
    Array<Attribute> attributes_;
};

}  // namespace vek::xml
