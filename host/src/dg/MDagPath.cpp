#include <maya/MDagPath.h>

#include "core/MainThreadOnly.h"
#include "dg/Access.h"
#include "dg/DagChildren.h"
#include "dg/Node.h"
#include "dg/NodeOf.h"
#include "dg/StatusOut.h"

#include <string>

using host::Access;
using host::dagNodeOf;
using host::Node;
using host::setStatus;

namespace {

MMatrix worldMatrixOf(Node* node) {
    if (!node || node->isWorld()) {
        return MMatrix();
    }
    const host::Attribute* world = node->type->findAttribute("worldMatrix");
    return world ? node->evaluate({world, 0}).matrix : MMatrix();
}

}  // namespace

MDagPath::MDagPath() = default;
MDagPath::MDagPath(const MDagPath& other) = default;
MDagPath::~MDagPath() = default;
MDagPath& MDagPath::operator=(const MDagPath& other) = default;

bool MDagPath::operator==(const MDagPath& other) const {
    HOST_MAIN_THREAD_ONLY();
    return node_ == other.node_;
}

MStatus MDagPath::getAPathTo(const MObject& node, MDagPath& path) {
    HOST_MAIN_THREAD_ONLY();
    MStatus status;
    if (!dagNodeOf(node, &status)) {
        return MStatus::kInvalidParameter;
    }
    path.node_ = node;
    return MStatus::kSuccess;
}

bool MDagPath::hasFn(MFn::Type type, MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, node_.isNull() ? MStatus::kFailure : MStatus::kSuccess);
    return node_.hasFn(type);
}

MFn::Type MDagPath::apiType(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, node_.isNull() ? MStatus::kFailure : MStatus::kSuccess);
    return node_.apiType();
}

bool MDagPath::isValid(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, MStatus::kSuccess);
    auto node = Access::as<Node>(node_);
    return node && node->inScene;
}

MObject MDagPath::node(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, node_.isNull() ? MStatus::kInvalidParameter : MStatus::kSuccess);
    return node_;
}

MObject MDagPath::transform(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    auto node = dagNodeOf(node_, ReturnStatus);
    if (!node) {
        return MObject();
    }
    if (node->hasFn(MFn::kTransform) || !node->parent) {
        return node_;
    }
    return Access::object(node->parent->sharedFromThis());
}

unsigned int MDagPath::length(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    auto node = dagNodeOf(node_, ReturnStatus);
    unsigned int count = 0;
    for (Node* current = node.get(); current && !current->isWorld(); current = current->parent) {
        ++count;
    }
    return count;
}

unsigned int MDagPath::childCount(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    return host::childCountOf(node_, ReturnStatus);
}

MObject MDagPath::child(unsigned int index, MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    return host::childOf(node_, index, ReturnStatus);
}

MStatus MDagPath::push(const MObject& child) {
    HOST_MAIN_THREAD_ONLY();
    auto node = dagNodeOf(node_, nullptr);
    auto pushed = Access::as<Node>(child);
    if (!node || !pushed || pushed->parent != node.get()) {
        return MStatus::kInvalidParameter;
    }
    node_ = child;
    return MStatus::kSuccess;
}

MStatus MDagPath::pop(unsigned int num) {
    HOST_MAIN_THREAD_ONLY();
    auto node = dagNodeOf(node_, nullptr);
    Node* current = node.get();
    for (unsigned int i = 0; i < num; ++i) {
        if (!current || !current->parent || current->parent->isWorld()) {
            return MStatus::kInvalidParameter;
        }
        current = current->parent;
    }
    if (current) {
        node_ = Access::object(current->sharedFromThis());
    }
    return current ? MStatus::kSuccess : MStatus::kInvalidParameter;
}

MStatus MDagPath::extendToShape() {
    HOST_MAIN_THREAD_ONLY();
    auto node = dagNodeOf(node_, nullptr);
    if (!node) {
        return MStatus::kFailure;
    }
    if (!node->hasFn(MFn::kTransform)) {
        return MStatus::kSuccess;
    }
    for (const auto& child : node->children) {
        if (child->hasFn(MFn::kShape)) {
            node_ = Access::object(child);
            return MStatus::kSuccess;
        }
    }
    return MStatus::kFailure;
}

MMatrix MDagPath::inclusiveMatrix(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    return worldMatrixOf(dagNodeOf(node_, ReturnStatus).get());
}

MMatrix MDagPath::exclusiveMatrix(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    auto node = dagNodeOf(node_, ReturnStatus);
    return worldMatrixOf(node ? node->parent : nullptr);
}

MMatrix MDagPath::inclusiveMatrixInverse(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    return inclusiveMatrix(ReturnStatus).inverse();
}

MString MDagPath::fullPathName(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    auto node = dagNodeOf(node_, ReturnStatus);
    std::string path;
    for (Node* current = node.get(); current && !current->isWorld(); current = current->parent) {
        path = "|" + std::string(current->name.asChar()) + path;
    }
    return path.c_str();
}

MString MDagPath::partialPathName(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    auto node = dagNodeOf(node_, ReturnStatus);
    // Names are unique in this host, so the node's own name is the shortest unique path.
    return node && !node->isWorld() ? node->name : MString();
}
