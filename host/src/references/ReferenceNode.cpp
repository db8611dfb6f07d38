#include "references/ReferenceNode.h"

#include "dg/SceneGraph.h"

#include <maya/MFnTypedAttribute.h>

namespace host {

MObject ReferenceNode::aEdits;

void* ReferenceNode::creator() {
    return new ReferenceNode();
}

MStatus ReferenceNode::initialize() {
    MFnTypedAttribute typedFn;
    aEdits = typedFn.create("edits", "ed", MFnData::kString, MObject::kNullObj);
    typedFn.setArray(true);
    typedFn.setStorable(true);
    typedFn.setHidden(true);
    return addAttribute(aEdits);
}

std::shared_ptr<Node> referenceNodeOf(Node& node) {
    if (referenceFacts(node)) {
        return node.sharedFromThis();
    }
    return node.reference.lock();
}

ReferenceNode* referenceFacts(Node& node) {
    return dynamic_cast<ReferenceNode*>(node.user.get());
}

std::vector<std::shared_ptr<Node>> referenceNodes() {
    std::vector<std::shared_ptr<Node>> found;
    for (const auto& node : SceneGraph::instance().nodes()) {
        if (referenceFacts(*node)) {
            found.push_back(node);
        }
    }
    return found;
}

}  // namespace host
