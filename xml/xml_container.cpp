#include "xml/xml_container.h"

#include <string>
#include <utility>

namespace vek::xml {

namespace {

// The character set all pieces share, ASCII pieces fitting any; csUNKNOWN when they differ.
Charset commonCharset(const std::vector<const STRING*>& pieces) {
    Charset common = csASCII;
    for (const STRING* piece : pieces) {
        const Charset charset = piece->getCharset();
        if (charset == csASCII || charset == common)
            continue;
        if (common != csASCII || charset == csUNKNOWN)
            return csUNKNOWN;
        common = charset;
    }
    return common;
}

// The pieces as one text. Appending them one by one would copy the growing text for every
// piece; texts of one character set are joined as bytes and tagged once instead, and only
// mixed ones go through the converting append.
STRING join(const std::vector<const STRING*>& pieces) {
    if (pieces.size() == 1)
        return *pieces.front();
    const Charset common = commonCharset(pieces);
    if (common == csUNKNOWN) {
        STRING text;
        for (const STRING* piece : pieces)
            text += *piece;
        return text;
    }
    std::string bytes;
    for (const STRING* piece : pieces)
        bytes.append(piece->getText(), piece->getLength());
    STRING text(bytes.data(), bytes.size());
    if (common != csASCII)
        text.setCharset(common);
    return text;
}

}  // namespace

XmlContainer::XmlContainer(const STRING& tag) : XmlWithAttributes(tag) {}

STRING XmlContainer::getValue(ValueMode /*mode*/) const {
    std::vector<const STRING*> pieces;
    collectContent(pieces);
    return join(pieces);
}

std::size_t XmlContainer::getNumObjects() const {
    return children_.getCount();
}

const Element* XmlContainer::getElement(std::size_t index) const {
    return index < children_.getCount() ? children_[index].get() : nullptr;
}

const XmlContainer* XmlContainer::getElement(const STRING& tag) const {
    for (const std::unique_ptr<Element>& child : children_) {
        const auto* container = dynamic_cast<const XmlContainer*>(child.get());
        if (container != nullptr && container->getTag() == tag)
            return container;
    }
    return nullptr;
}

Element& XmlContainer::addObject(std::unique_ptr<Element> child) {
    child->parent_ = this;
    return *(children_.append() = std::move(child));
}

bool XmlContainer::acceptsObject(const Element& /*child*/) const {
    return true;
}

bool XmlContainer::acceptsText() const {
    return true;
}

void XmlContainer::getAllElements(Array<const XmlContainer*>& list, const STRING& tag) const {
    for (const std::unique_ptr<Element>& child : children_) {
        const auto* container = dynamic_cast<const XmlContainer*>(child.get());
        if (container == nullptr)
            continue;
        if (container->getTag() == tag)
            list.append(container);
        container->getAllElements(list, tag);
    }
}

void XmlContainer::collectContent(std::vector<const STRING*>& pieces) const {
    for (const std::unique_ptr<Element>& child : children_)
        child->collectContent(pieces);
}

Any::Any(const STRING& tag) : XmlContainer(tag) {}

}  // namespace vek::xml
