#pragma once
// The root of a parsed tree: the top-level nodes (declaration, comments, the root element) and
// the name of the file the text came from.

#include "xml/xml_container.h"

namespace vek::xml {

class Document final : public XmlContainer {
public:
    Document();

    // Relative resources (bitmaps of a GUI definition) are resolved against this name.
    const STRING& getFileName() const { return fileName_; }
    void setFileName(const STRING& fileName) { fileName_ = fileName; }

    // The first top-level container, whatever its tag; null when there is none.
    const XmlContainer* getRoot() const;

private:
    STRING fileName_;
};

}  // namespace vek::xml
