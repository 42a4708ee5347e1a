#pragma once
// Makes the element object for a tag. Readers of documents with element rules (the document
// viewers) derive their own factory; the default one makes an Any for every tag.

#include <memory>

#include "xml/xml_container.h"

namespace vek::xml {

class Factory {
public:
    Factory() = default;
    Factory(const Factory&) = delete;
    Factory& operator=(const Factory&) = delete;
    virtual ~Factory() = default;

    // Never null: the parser fills the element with the tag's attributes and content.
    virtual std::unique_ptr<XmlContainer> createElement(const STRING& tag) const;
};

}  // namespace vek::xml
