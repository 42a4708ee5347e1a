#pragma once
// The abstract node of a document tree. The queries the form loader needs are virtual here, so
// that it can walk a tree without knowing the node classes.

#include <cstddef>
#include <vector>

#include "foundation/string.h"

namespace vek::xml {

class XmlContainer;

// How getValue renders text. The form loader reads plain text only.
enum ValueMode : int {
    vmPLAIN_TEXT = 0,
};

class Element {
public:
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;
    virtual ~Element() = default;

    // The container that owns this node; null until the node is added to one.
    const XmlContainer* getParent() const { return parent_; }

    // The tag of a container or the name of a mark; "" for text nodes.
    virtual STRING getTag() const;
    // The text of a text node; for a container the text of its descendants in document order.
    virtual STRING getValue(ValueMode mode = vmPLAIN_TEXT) const = 0;
    // The value of the attribute with exactly that name, or "".
    virtual STRING getAttribute(const STRING& name) const;
    virtual std::size_t getNumObjects() const;
    // The child at index, or null when index is not below getNumObjects().
    virtual const Element* getElement(std::size_t index) const;
    // The first child container whose tag equals tag exactly, or null.
    virtual const XmlContainer* getElement(const STRING& tag) const;

protected:
    Element() = default;

    // Adds this node's pieces of the plain text of the container that holds it. Only character
    // data and containers have any: comments, declarations and the like are not content.
    virtual void collectContent(std::vector<const STRING*>& pieces) const;

private:
    friend class XmlContainer;  // links its children and gathers their content

    const XmlContainer* parent_ = nullptr;
};

}  // namespace vek::xml
