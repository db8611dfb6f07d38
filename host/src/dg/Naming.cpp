#include "dg/SceneGraph.h"

#include "references/ReferenceRead.h"

#include <cctype>
#include <string>

namespace host {

MString defaultNameStem(const MString& typeName) {
    std::string stem = typeName.asChar();
    if (!stem.empty()) {
        stem[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(stem[0])));
    }
    return stem.c_str();
}

MString SceneGraph::uniqueName(const MString& requested, const Node* self) const {
    const auto taken = [this, self](const std::string& name) {
        const Node* owner = find(name.c_str());
        return owner && owner != self;
    };
    std::string name = requested.asChar();
    const auto hash = name.find('#');
    std::string prefix = name;
    std::string suffix;
    if (hash != std::string::npos) {
        auto end = name.find_first_not_of('#', hash);
        prefix = name.substr(0, hash);
        suffix = end == std::string::npos ? "" : name.substr(end);
    } else if (!taken(name)) {
        return requested;
    } else {
        // A taken name keeps its stem and gets the first free number, as "pSphere1" gives
        // "pSphere2".
        const auto lastLetter = name.find_last_not_of("0123456789");
        prefix = name.substr(0, lastLetter == std::string::npos ? 0 : lastLetter + 1);
    }
    for (unsigned long number = 1;; ++number) {
        const std::string candidate = prefix + std::to_string(number) + suffix;
        if (!taken(candidate)) {
            return candidate.c_str();
        }
    }
}

MString SceneGraph::rename(Node& node, const MString& requested) {
    const MString previous = node.name;
    const ReferenceRead* read = currentReferenceRead();
    const MString name = read && isBeingRead(node)
                             ? inNamespace(requested.asChar(), read->nameSpace).c_str()
                             : requested;
    node.name = node.inScene ? uniqueName(name, &node) : name;
    modified_ = modified_ || (node.inScene && node.name != previous);
    return node.name;
}

}  // namespace host
