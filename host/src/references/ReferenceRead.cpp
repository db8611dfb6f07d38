#include "references/ReferenceRead.h"

#include <utility>
#include <vector>

namespace host {
namespace {

std::vector<ReferenceRead>& reads() {
    static std::vector<ReferenceRead> underWay;
    return underWay;
}

}  // namespace

ReferenceReadScope::ReferenceReadScope(std::shared_ptr<Node> referenceNode, std::string nameSpace) {
    reads().push_back({std::move(referenceNode), std::move(nameSpace)});
}

ReferenceReadScope::~ReferenceReadScope() {
    reads().pop_back();
}

const ReferenceRead* currentReferenceRead() {
    return reads().empty() ? nullptr : &reads().back();
}

std::string inNamespace(const std::string& name, const std::string& nameSpace) {
    std::string result;
    std::string::size_type start = 0;
    while (start <= name.size()) {
        const auto bar = name.find('|', start);
        const std::string part =
            name.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
        if (!part.empty()) {
            result += part.find(':') == std::string::npos ? nameSpace + ":" + part : part;
        }
        if (bar == std::string::npos) {
            break;
        }
        result += "|";
        start = bar + 1;
    }
    return result;
}

bool isBeingRead(const Node& node) {
    const ReferenceRead* read = currentReferenceRead();
    return read && node.reference.lock() == read->referenceNode;
}

bool keepsSceneSetting(const Node& node) {
    return node.isDefault && currentReferenceRead() != nullptr;
}

}  // namespace host
