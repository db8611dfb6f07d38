#include <maya/MDagModifier.h>

#include "core/MainThreadOnly.h"
#include "dg/Access.h"
#include "dg/ModifierOperations.h"
#include "dg/StatusOut.h"

using host::Access;
using host::Node;
using host::setStatus;

namespace {

MObject queueDagCreation(host::ModifierOperations& operations,
                         const std::shared_ptr<host::NodeType>& type, const MObject& parent,
                         MStatus* status) {
    Node* parentNode = nullptr;
    if (!type || !type->isDag || !host::parentNodeOf(parent, &parentNode)) {
        setStatus(status, MStatus::kInvalidParameter);
        return MObject();
    }
    host::CreatedNodes made = host::makeNodes(type, parentNode != nullptr);
    operations.add(
        host::createOperation(made, parentNode ? parentNode->sharedFromThis() : nullptr));
    setStatus(status, MStatus::kSuccess);
    return Access::object(made.top);
}

}  // namespace

MDagModifier::MDagModifier() = default;
MDagModifier::~MDagModifier() = default;

MObject MDagModifier::createNode(const MTypeId& typeId, const MObject& parent,
                                 MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    return queueDagCreation(*operations_, host::creatableType(typeId), parent, ReturnStatus);
}

MObject MDagModifier::createNode(const MString& type, const MObject& parent,
                                 MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    return queueDagCreation(*operations_, host::creatableType(type), parent, ReturnStatus);
}

MStatus MDagModifier::reparentNode(const MObject& node, const MObject& newParent) {
    HOST_MAIN_THREAD_ONLY();
    auto moved = Access::as<Node>(node);
    Node* parentNode = nullptr;
    if (!moved || !moved->type->isDag || !host::parentNodeOf(newParent, &parentNode)) {
        return MStatus::kInvalidParameter;
    }
    operations_->add(
        host::reparentOperation(moved, parentNode ? parentNode->sharedFromThis() : nullptr));
    return MStatus::kSuccess;
}
