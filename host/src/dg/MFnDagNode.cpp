#include <maya/MFnDagNode.h>

#include "dg/Access.h"
#include "dg/DagChildren.h"
#include "dg/DagPaths.h"
#include "dg/NodeCreation.h"
#include "dg/NodeOf.h"
#include "dg/SceneGraph.h"
#include "dg/StatusOut.h"

#include <algorithm>

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
    setStatus(ReturnStatus, setObject(object));
}

MFnDagNode::MFnDagNode(const MDagPath& object, MStatus* ReturnStatus) : path_(object) {
    setStatus(ReturnStatus, setObject(object.node()));
}

MFnDagNode::~MFnDagNode() = default;

MFn::Type MFnDagNode::type() const {
    return MFn::kDagNode;
}

MObject MFnDagNode::create(const MTypeId& typeId, MObject& parent, MStatus* ReturnStatus) {
    return createUnder(host::creatableType(typeId), nullptr, parent, object_, ReturnStatus);
}

MObject MFnDagNode::create(const MTypeId& typeId, const MString& name, MObject& parent,
                           MStatus* ReturnStatus) {
    return createUnder(host::creatableType(typeId), &name, parent, object_, ReturnStatus);
}

MObject MFnDagNode::create(const MString& type, MObject& parent, MStatus* ReturnStatus) {
    return createUnder(host::creatableType(type), nullptr, parent, object_, ReturnStatus);
}

MObject MFnDagNode::create(const MString& type, const MString& name, MObject& parent,
                           MStatus* ReturnStatus) {
    return createUnder(host::creatableType(type), &name, parent, object_, ReturnStatus);
}

unsigned int MFnDagNode::parentCount(MStatus* ReturnStatus) const {
    auto node = dagNodeOf(object_, ReturnStatus);
    return node ? static_cast<unsigned int>(node->parents.size()) : 0;
}

MObject MFnDagNode::parent(unsigned int index, MStatus* ReturnStatus) const {
    auto node = dagNodeOf(object_, ReturnStatus);
    if (!node || index >= node->parents.size()) {
        setStatus(ReturnStatus, MStatus::kInvalidParameter);
        return MObject();
    }
    return Access::object(node->parents[index]->sharedFromThis());
}

unsigned int MFnDagNode::childCount(MStatus* ReturnStatus) const {
    return host::childCountOf(object_, ReturnStatus);
}

MObject MFnDagNode::child(unsigned int index, MStatus* ReturnStatus) const {
    return host::childOf(object_, index, ReturnStatus);
}

MObject MFnDagNode::dagRoot(MStatus* ReturnStatus) {
    auto node = dagNodeOf(object_, ReturnStatus);
    return node ? Access::object(SceneGraph::instance().world().sharedFromThis()) : MObject();
}

MStatus MFnDagNode::addChild(MObject& child, unsigned int index, bool keepExistingParents) {
    auto node = dagNodeOf(object_, nullptr);
    auto moved = dagNodeOf(child, nullptr);
    if (!node || !moved) {
        return MStatus::kInvalidParameter;
    }
    SceneGraph& graph = SceneGraph::instance();
    Node* parent = node->isWorld() ? nullptr : node.get();
    const int position = index == kNextPos ? -1 : static_cast<int>(index);
    if (keepExistingParents) {
        return graph.addInstance(*moved, parent, position);
    }
    MStatus status = graph.reparent(*moved, parent, position);
    while (status && moved->parents.size() > 1) {
        status = graph.removeInstance(*moved, *moved->parents.back());
    }
    return status;
}

MStatus MFnDagNode::removeChild(MObject& child) {
    auto node = dagNodeOf(object_, nullptr);
    auto removed = dagNodeOf(child, nullptr);
    if (!node || !removed ||
        std::find(removed->parents.begin(), removed->parents.end(), node.get()) ==
            removed->parents.end()) {
        return MStatus::kInvalidParameter;
    }
    if (removed->parents.size() > 1) {
        return SceneGraph::instance().removeInstance(*removed, *node);
    }
    return SceneGraph::instance().reparent(*removed, nullptr);
}

bool MFnDagNode::hasParent(const MObject& node, MStatus* ReturnStatus) const {
    auto self = dagNodeOf(object_, ReturnStatus);
    auto other = Access::as<Node>(node);
    return self && other &&
           std::find(self->parents.begin(), self->parents.end(), other.get()) !=
               self->parents.end();
}

bool MFnDagNode::hasChild(const MObject& node, MStatus* ReturnStatus) const {
    auto self = dagNodeOf(object_, ReturnStatus);
    auto other = Access::as<Node>(node);
    return self && other &&
           std::find(other->parents.begin(), other->parents.end(), self.get()) !=
               other->parents.end();
}

bool MFnDagNode::isChildOf(const MObject& node, MStatus* ReturnStatus) const {
    return hasParent(node, ReturnStatus);
}

bool MFnDagNode::isParentOf(const MObject& node, MStatus* ReturnStatus) const {
    return hasChild(node, ReturnStatus);
}

bool MFnDagNode::isInstanced(bool indirect, MStatus* ReturnStatus) const {
    return instanceCount(indirect, ReturnStatus) > 1;
}

unsigned int MFnDagNode::instanceCount(bool total, MStatus* ReturnStatus) const {
    auto node = dagNodeOf(object_, ReturnStatus);
    if (!node) {
        return 0;
    }
    return total ? static_cast<unsigned int>(host::instanceCountOf(*node))
                 : static_cast<unsigned int>(node->parents.size());
}

MStatus MFnDagNode::getAllPaths(MDagPathArray& paths) const {
    return MDagPath::getAllPathsTo(object_, paths);
}

bool MFnDagNode::isInstanceable(MStatus* ReturnStatus) const {
    auto node = dagNodeOf(object_, ReturnStatus);
    return node && node->instanceable;
}

MStatus MFnDagNode::setInstanceable(const bool how) {
    auto node = dagNodeOf(object_, nullptr);
    if (!node) {
        return MStatus::kFailure;
    }
    node->instanceable = how;
    return MStatus::kSuccess;
}

MStatus MFnDagNode::getPath(MDagPath& path) const {
    if (!object_.isNull() && path_.node() == object_) {
        path = path_;
        return MStatus::kSuccess;
    }
    return MDagPath::getAPathTo(object_, path);
}

MDagPath MFnDagNode::dagPath(MStatus* ReturnStatus) const {
    MDagPath path;
    setStatus(ReturnStatus, getPath(path));
    return path;
}

MString MFnDagNode::fullPathName(MStatus* ReturnStatus) const {
    return dagPath(ReturnStatus).fullPathName();
}

MString MFnDagNode::partialPathName(MStatus* ReturnStatus) const {
    return dagPath(ReturnStatus).partialPathName();
}

MMatrix MFnDagNode::transformationMatrix(MStatus* ReturnStatus) const {
    auto node = dagNodeOf(object_, ReturnStatus);
    const host::Attribute* matrix = node ? node->type->findAttribute("matrix") : nullptr;
    if (!matrix || !node->hasFn(MFn::kTransform)) {
        return MMatrix();
    }
    return node->evaluate({matrix, -1}).matrix;
}
