#include "dg/NodeCreation.h"

#include "dg/Access.h"
#include "dg/SceneGraph.h"
#include "dg/StatusOut.h"

#include <host/Faults.h>

namespace host {

namespace {

// The type nodes are made of: an older host's transforms lack "offsetParentMatrix".
std::shared_ptr<NodeType> forCreation(const std::shared_ptr<NodeType>& type) {
    if (!type || type->abstract) {
        return nullptr;
    }
    if (type->name == "transform" && faultEnabled(fault::kNoOffsetParentMatrix)) {
        return TypeRegistry::instance().variant(kTransformWithoutOffsetParentMatrix);
    }
    return type;
}

}  // namespace

std::shared_ptr<NodeType> creatableType(const MString& name) {
    return forCreation(TypeRegistry::instance().find(name));
}

std::shared_ptr<NodeType> creatableType(const MTypeId& id) {
    return forCreation(TypeRegistry::instance().find(id));
}

CreatedNodes makeNodes(const std::shared_ptr<NodeType>& type, bool shapeHasParent) {
    const MString stem = defaultNameStem(type->name);
    CreatedNodes made;
    if (!type->isShape || shapeHasParent) {
        made.node = SceneGraph::instantiate(type, stem + "#");
        made.top = made.node;
        return made;
    }
    made.top = SceneGraph::instantiate(creatableType("transform"), stem + "#");
    made.node = SceneGraph::instantiate(type, stem + "Shape#");
    made.top->children.push_back(made.node);
    made.node->parents.push_back(made.top.get());
    return made;
}

MObject enterNewNodes(const std::shared_ptr<NodeType>& type, const MString* name, Node* parent,
                      MObject& target, MStatus* status) {
    if (!type) {
        setStatus(status, MStatus::kInvalidParameter);
        return MObject();
    }
    CreatedNodes made = makeNodes(type, parent != nullptr);
    if (name && name->length()) {
        made.node->name = *name;
    }
    MStatus entered = SceneGraph::instance().enter(made.top, parent);
    setStatus(status, entered);
    if (!entered) {
        return MObject();
    }
    target = Access::object(made.top);
    return target;
}

MStatus parentNodeOf(const MObject& parent, Node** node) {
    *node = nullptr;
    if (parent.isNull()) {
        return MStatus::kSuccess;
    }
    auto found = Access::as<Node>(parent);
    if (!found || !found->type->isDag) {
        return MStatus::kInvalidParameter;
    }
    if (!found->isWorld()) {
        *node = found.get();
    }
    return MStatus::kSuccess;
}

}  // namespace host
