#pragma once
// Element nodes: a tag, attributes and an ordered list of children that the node owns.

#include <memory>

#include "foundation/array.h"
#include "xml/xml_with_attributes.h"

namespace vek::xml {

class XmlContainer : public XmlWithAttributes {
public:
    STRING getValue(ValueMode mode = vmPLAIN_TEXT) const override;
    std::size_t getNumObjects() const override;
    const Element* getElement(std::size_t index) const override;
    const XmlContainer* getElement(const STRING& tag) const override;

    // Takes ownership of child, appends it and returns it.
    Element& addObject(std::unique_ptr<Element> child);

    // Whether the parser may put this child or character data here. Every container accepts
    // everything; containers bound to document rules refuse what the rules forbid.
    virtual bool acceptsObject(const Element& child) const;
    virtual bool acceptsText() const;

    // Appends every descendant container with that tag, depth first, in document order.
    void getAllElements(Array<const XmlContainer*>& list, const STRING& tag) const;

protected:
    explicit XmlContainer(const STRING& tag);
    void collectContent(std::vector<const STRING*>& pieces) const override;

private:
    Array<std::unique_ptr<Element>> children_;
};

// The element the default factory makes for every tag.
class Any final : public XmlContainer {
public:
    explicit Any(const STRING& tag);
};

}  // namespace vek::xml
