#include <maya/MEvaluationNode.h>

#include "dg/Access.h"
#include "dg/Node.h"

using host::Access;
using host::Attribute;
using host::Node;

namespace {

// An attribute of the node's type, or null.
const Attribute* attributeOf(const Node* node, const MObject& attribute) {
    auto found = Access::as<Attribute>(attribute);
    return node && found && node->type->findAttribute(found->longName) == found.get() ? found.get()
                                                                                      : nullptr;
}

bool hasIncoming(const Node& node, const Attribute* attribute) {
    for (const auto& entry : node.incoming) {
        if (entry.first.attribute == attribute) {
            return true;
        }
    }
    return false;
}

}  // namespace

MEvaluationNode::MEvaluationNode() = default;
MEvaluationNode::MEvaluationNode(const void* node) : node_(node) {}
MEvaluationNode::MEvaluationNode(const MEvaluationNode& other) = default;
MEvaluationNode::~MEvaluationNode() = default;

// The stand-in has no evaluation graph: the plugs time dirties are taken to be the connected
// inputs, the only way time reaches a node here.
bool MEvaluationNode::dirtyPlugExists(const MObject& attribute, MStatus* ReturnStatus) const {
    const Node* node = Access::node(*this);
    const Attribute* found = attributeOf(node, attribute);
    if (ReturnStatus) {
        *ReturnStatus = found ? MStatus::kSuccess : MStatus::kInvalidParameter;
    }
    return found && hasIncoming(*node, found);
}

MPlug MEvaluationNode::dirtyPlug(const MObject& attribute, MStatus* ReturnStatus) const {
    Node* node = Access::node(*this);
    if (!dirtyPlugExists(attribute, ReturnStatus)) {
        if (ReturnStatus) {
            *ReturnStatus = MStatus::kInvalidParameter;
        }
        return MPlug();
    }
    return Access::plug(node->sharedFromThis(), attributeOf(node, attribute), -1);
}

MObject MEvaluationNode::dependencyNode(MStatus* ReturnStatus) const {
    Node* node = Access::node(*this);
    if (ReturnStatus) {
        *ReturnStatus = node ? MStatus::kSuccess : MStatus::kFailure;
    }
    return node ? Access::object(node->sharedFromThis()) : MObject();
}

MDataBlock MEvaluationNode::datablock(MStatus* ReturnStatus) const {
    Node* node = Access::node(*this);
    if (ReturnStatus) {
        *ReturnStatus = node ? MStatus::kSuccess : MStatus::kFailure;
    }
    return Access::block(node);
}

const char* MEvaluationNode::className() {
    return "MEvaluationNode";
}
