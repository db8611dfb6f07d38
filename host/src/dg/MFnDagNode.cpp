#include <maya/MFnDagNode.h>

#include "core/MainThreadOnly.h"
#include "dg/Access.h"
#include "dg/DagChildren.h"
#include "dg/NodeCreation.h"
#include "dg/NodeOf.h"
#include "dg/SceneGraph.h"
#include "dg/StatusOut.h"

using host::Access;
using host::dagNodeOf;
using host::Node;
using host::SceneGraph;
using host::setStatus;

namespace {

MObject createUnder(const std::shared_ptr<host::NodeType>& type, const MString* name,
                    MObject& parent, MObject& target, MStatus* status) {
    Node* parentNode = nullptr;
    if (!type || !type->isDag || !host::parentNodeOf(parent, &parentNode)) {
        setStatus(status, MStatus::kInvalidParameter);
        return MObject();
    }
    return host::enterNewNodes(type, name, parentNode, target, status);
}

}  // namespace

MFnDagNode::MFnDagNode() = default;

MFnDagNode::MFnDagNode(const MObject& object, MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, setObject(object));
}

MFnDagNode::MFnDagNode(const MDagPath& object, MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, setObject(object.node()));
}

MFnDagNode::~MFnDagNode() = default;

MFn::Type MFnDagNode::type() const {
    HOST_MAIN_THREAD_ONLY();
    return MFn::kDagNode;
}

MObject MFnDagNode::create(const MTypeId& typeId, MObject& parent, MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    return createUnder(host::creatableType(typeId), nullptr, parent, object_, ReturnStatus);
}

MObject MFnDagNode::create(const MTypeId& typeId, const MString& name, MObject& parent,
                           MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    return createUnder(host::creatableType(typeId), &name, parent, object_, ReturnStatus);
}

MObject MFnDagNode::create(const MString& type, MObject& parent, MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    return createUnder(host::creatableType(type), nullptr, parent, object_, ReturnStatus);
}

MObject MFnDagNode::create(const MString& type, const MString& name, MObject& parent,
                           MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    return createUnder(host::creatableType(type), &name, parent, object_, ReturnStatus);
}

unsigned int MFnDagNode::parentCount(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    auto node = dagNodeOf(object_, ReturnStatus);
    return node && node->parent ? 1 : 0;
}

MObject MFnDagNode::parent(unsigned int index, MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    auto node = dagNodeOf(object_, ReturnStatus);
    if (!node || index != 0 || !node->parent) {
        setStatus(ReturnStatus, MStatus::kInvalidParameter);
        return MObject();
    }
    return Access::object(node->parent->sharedFromThis());
}

unsigned int MFnDagNode::childCount(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    return host::childCountOf(object_, ReturnStatus);
}

MObject MFnDagNode::child(unsigned int index, MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    return host::childOf(object_, index, ReturnStatus);
}

MObject MFnDagNode::dagRoot(MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    auto node = dagNodeOf(object_, ReturnStatus);
    return node ? Access::object(SceneGraph::instance().world().sharedFromThis()) : MObject();
}

MStatus MFnDagNode::addChild(MObject& child, unsigned int index, bool) {
    HOST_MAIN_THREAD_ONLY();
    auto node = dagNodeOf(object_, nullptr);
    auto moved = dagNodeOf(child, nullptr);
    if (!node || !moved) {
        return MStatus::kInvalidParameter;
    }
    const int position = index == kNextPos ? -1 : static_cast<int>(index);
    return SceneGraph::instance().reparent(*moved, node->isWorld() ? nullptr : node.get(),
                                           position);
}

MStatus MFnDagNode::removeChild(MObject& child) {
    HOST_MAIN_THREAD_ONLY();
    auto node = dagNodeOf(object_, nullptr);
    auto removed = dagNodeOf(child, nullptr);
    if (!node || !removed || removed->parent != node.get()) {
        return MStatus::kInvalidParameter;
    }
    return SceneGraph::instance().reparent(*removed, nullptr);
}

bool MFnDagNode::hasParent(const MObject& node, MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    auto self = dagNodeOf(object_, ReturnStatus);
    auto other = Access::as<Node>(node);
    return self && other && self->parent == other.get();
}

bool MFnDagNode::hasChild(const MObject& node, MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    auto self = dagNodeOf(object_, ReturnStatus);
    auto other = Access::as<Node>(node);
    return self && other && other->parent == self.get();
}

bool MFnDagNode::isChildOf(const MObject& node, MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    return hasParent(node, ReturnStatus);
}

bool MFnDagNode::isParentOf(const MObject& node, MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    return hasChild(node, ReturnStatus);
}

MStatus MFnDagNode::getPath(MDagPath& path) const {
    HOST_MAIN_THREAD_ONLY();
    return MDagPath::getAPathTo(object_, path);
}

MDagPath MFnDagNode::dagPath(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    MDagPath path;
    setStatus(ReturnStatus, getPath(path));
    return path;
}

MString MFnDagNode::fullPathName(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    return dagPath(ReturnStatus).fullPathName();
}

MString MFnDagNode::partialPathName(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    return dagPath(ReturnStatus).partialPathName();
}

MMatrix MFnDagNode::transformationMatrix(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    auto node = dagNodeOf(object_, ReturnStatus);
    const host::Attribute* matrix = node ? node->type->findAttribute("matrix") : nullptr;
    if (!matrix || !node->hasFn(MFn::kTransform)) {
        return MMatrix();
    }
    return node->evaluate({matrix, -1}).matrix;
}
