#include <maya/MDagPath.h>
#include <maya/MDagPathArray.h>

#include "dg/Access.h"
#include "dg/DagChildren.h"
#include "dg/DagPaths.h"
#include "dg/Node.h"
#include "dg/NodeOf.h"
#include "dg/StatusOut.h"

#include <algorithm>
#include <string>

using host::Access;
using host::dagNodeOf;
using host::Node;
using host::NodePath;
using host::setStatus;

namespace {

std::vector<MObject> objectsOf(const NodePath& path) {
    std::vector<MObject> objects;
    for (Node* node : path) {
        objects.push_back(Access::object(node->sharedFromThis()));
    }
    return objects;
}

Node* nodeAt(const std::vector<MObject>& nodes, std::size_t index) {
    return index < nodes.size() ? Access::as<Node>(nodes[index]).get() : nullptr;
}

// Names joined by '|', from the node at `first` on.
std::string joinedNames(const NodePath& path, std::size_t first) {
    std::string text;
    for (std::size_t i = first; i < path.size(); ++i) {
        text += (i > first ? "|" : "") + std::string(path[i]->name.asChar());
    }
    return text;
}

NodePath nodePathOf(const std::vector<MObject>& nodes) {
    NodePath path;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        path.push_back(nodeAt(nodes, i));
    }
    return path;
}

int instanceIndexOf(const std::vector<MObject>& nodes) {
    Node* node = nodes.empty() ? nullptr : nodeAt(nodes, nodes.size() - 1);
    if (!node) {
        return -1;
    }
    const std::vector<NodePath> paths = host::pathsTo(*node);
    const auto found = std::find(paths.begin(), paths.end(), nodePathOf(nodes));
    return found == paths.end() ? -1 : static_cast<int>(found - paths.begin());
}

MMatrix worldMatrixAlong(const std::vector<MObject>& nodes) {
    Node* node = nodes.empty() ? nullptr : nodeAt(nodes, nodes.size() - 1);
    const int instance = instanceIndexOf(nodes);
    if (!node || node->isWorld() || instance < 0) {
        return MMatrix();
    }
    const host::Attribute* world = node->type->findAttribute("worldMatrix");
    return world ? node->evaluate({world, instance}).matrix : MMatrix();
}

}  // namespace

MDagPath::MDagPath() = default;
MDagPath::MDagPath(const MDagPath& other) = default;
MDagPath::~MDagPath() = default;
MDagPath& MDagPath::operator=(const MDagPath& other) = default;

bool MDagPath::operator==(const MDagPath& other) const {
    return nodes_ == other.nodes_;
}

MStatus MDagPath::getAllPathsTo(const MObject& node, MDagPathArray& pathArray) {
    pathArray.clear();
    MStatus status;
    auto found = dagNodeOf(node, &status);
    if (!found) {
        return MStatus::kInvalidParameter;
    }
    for (const NodePath& each : host::pathsTo(*found)) {
        MDagPath path;
        path.nodes_ = objectsOf(each);
        pathArray.append(path);
    }
    if (pathArray.length() == 0) {
        MDagPath path;
        getAPathTo(node, path);
        pathArray.append(path);
    }
    return MStatus::kSuccess;
}

// A node outside the scene (or the world) gets a path of the node alone.
MStatus MDagPath::getAPathTo(const MObject& node, MDagPath& path) {
    MStatus status;
    auto found = dagNodeOf(node, &status);
    if (!found) {
        return MStatus::kInvalidParameter;
    }
    const std::vector<NodePath> paths = host::pathsTo(*found);
    path.nodes_ = paths.empty() ? std::vector<MObject>{node} : objectsOf(paths.front());
    return MStatus::kSuccess;
}

// The paths of every descendant reached from this path, this one excluded: the documentation
// does not say whether it is included.
MStatus MDagPath::getAllPathsBelow(MDagPathArray& pathArray) {
    pathArray.clear();
    std::vector<MDagPath> pending = {*this};
    while (!pending.empty()) {
        const MDagPath current = pending.back();
        pending.pop_back();
        for (unsigned int i = current.childCount(); i-- > 0;) {
            MDagPath below = current;
            below.push(current.child(i));
            pathArray.append(below);
            pending.push_back(below);
        }
    }
    return MStatus::kSuccess;
}

bool MDagPath::hasFn(MFn::Type type, MStatus* ReturnStatus) const {
    setStatus(ReturnStatus, nodes_.empty() ? MStatus::kFailure : MStatus::kSuccess);
    return !nodes_.empty() && nodes_.back().hasFn(type);
}

MFn::Type MDagPath::apiType(MStatus* ReturnStatus) const {
    setStatus(ReturnStatus, nodes_.empty() ? MStatus::kFailure : MStatus::kSuccess);
    return nodes_.empty() ? MFn::kInvalid : nodes_.back().apiType();
}

// Every node still in the scene, each a child of the one before it.
bool MDagPath::isValid(MStatus* ReturnStatus) const {
    setStatus(ReturnStatus, MStatus::kSuccess);
    if (nodes_.empty()) {
        return false;
    }
    if (length() == 0) {
        return true;
    }
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        Node* node = nodeAt(nodes_, i);
        if (!node || !node->inScene) {
            return false;
        }
    }
    return instanceIndexOf(nodes_) >= 0;
}

MObject MDagPath::node(MStatus* ReturnStatus) const {
    setStatus(ReturnStatus, nodes_.empty() ? MStatus::kInvalidParameter : MStatus::kSuccess);
    return nodes_.empty() ? MObject() : nodes_.back();
}

MObject MDagPath::transform(MStatus* ReturnStatus) const {
    for (auto each = nodes_.rbegin(); each != nodes_.rend(); ++each) {
        if (each->hasFn(MFn::kTransform)) {
            setStatus(ReturnStatus, MStatus::kSuccess);
            return *each;
        }
    }
    setStatus(ReturnStatus, MStatus::kInvalidParameter);
    return MObject();
}

unsigned int MDagPath::length(MStatus* ReturnStatus) const {
    setStatus(ReturnStatus, MStatus::kSuccess);
    const bool world = nodes_.size() == 1 && nodes_.front().hasFn(MFn::kWorld);
    return world ? 0 : static_cast<unsigned int>(nodes_.size());
}

unsigned int MDagPath::childCount(MStatus* ReturnStatus) const {
    return host::childCountOf(node(), ReturnStatus);
}

MObject MDagPath::child(unsigned int index, MStatus* ReturnStatus) const {
    return host::childOf(node(), index, ReturnStatus);
}

MStatus MDagPath::push(const MObject& child) {
    Node* node = nodes_.empty() ? nullptr : nodeAt(nodes_, nodes_.size() - 1);
    auto pushed = Access::as<Node>(child);
    if (!node || !pushed ||
        std::find(pushed->parents.begin(), pushed->parents.end(), node) == pushed->parents.end()) {
        return MStatus::kInvalidParameter;
    }
    nodes_.push_back(child);
    return MStatus::kSuccess;
}

MStatus MDagPath::pop(unsigned int num) {
    if (num >= nodes_.size()) {
        return MStatus::kInvalidParameter;
    }
    nodes_.resize(nodes_.size() - num);
    return MStatus::kSuccess;
}

MStatus MDagPath::extendToShape() {
    if (nodes_.empty()) {
        return MStatus::kFailure;
    }
    if (!nodes_.back().hasFn(MFn::kTransform)) {
        return MStatus::kSuccess;
    }
    for (unsigned int i = 0; i < childCount(); ++i) {
        const MObject each = child(i);
        if (each.hasFn(MFn::kShape)) {
            nodes_.push_back(each);
            return MStatus::kSuccess;
        }
    }
    return MStatus::kFailure;
}

bool MDagPath::isInstanced(MStatus* ReturnStatus) const {
    Node* node = nodes_.empty() ? nullptr : nodeAt(nodes_, nodes_.size() - 1);
    setStatus(ReturnStatus, node ? MStatus::kSuccess : MStatus::kFailure);
    return node && host::instanceCountOf(*node) > 1;
}

unsigned int MDagPath::instanceNumber(MStatus* ReturnStatus) const {
    const int index = instanceIndexOf(nodes_);
    setStatus(ReturnStatus, index >= 0 ? MStatus::kSuccess : MStatus::kFailure);
    return index >= 0 ? static_cast<unsigned int>(index) : 0;
}

MMatrix MDagPath::inclusiveMatrix(MStatus* ReturnStatus) const {
    setStatus(ReturnStatus, nodes_.empty() ? MStatus::kFailure : MStatus::kSuccess);
    return worldMatrixAlong(nodes_);
}

MMatrix MDagPath::exclusiveMatrix(MStatus* ReturnStatus) const {
    setStatus(ReturnStatus, nodes_.empty() ? MStatus::kFailure : MStatus::kSuccess);
    if (nodes_.size() < 2) {
        return MMatrix();
    }
    return worldMatrixAlong(std::vector<MObject>(nodes_.begin(), nodes_.end() - 1));
}

MMatrix MDagPath::inclusiveMatrixInverse(MStatus* ReturnStatus) const {
    return inclusiveMatrix(ReturnStatus).inverse();
}

MString MDagPath::fullPathName(MStatus* ReturnStatus) const {
    setStatus(ReturnStatus, nodes_.empty() ? MStatus::kFailure : MStatus::kSuccess);
    if (length() == 0) {
        return MString();
    }
    return ("|" + joinedNames(nodePathOf(nodes_), 0)).c_str();
}

// Names are unique in this host, so the node's own name is unique unless the node has other
// paths; then the path's lower part that none of those ends with.
MString MDagPath::partialPathName(MStatus* ReturnStatus) const {
    setStatus(ReturnStatus, nodes_.empty() ? MStatus::kFailure : MStatus::kSuccess);
    if (length() == 0) {
        return MString();
    }
    const NodePath path = nodePathOf(nodes_);
    const std::vector<NodePath> others = host::pathsTo(*path.back());
    for (std::size_t first = path.size(); first-- > 0;) {
        const std::size_t depth = path.size() - first;
        const bool unique = std::none_of(others.begin(), others.end(), [&](const NodePath& other) {
            return other != path && other.size() >= depth &&
                   std::equal(path.begin() + static_cast<std::ptrdiff_t>(first), path.end(),
                              other.end() - static_cast<std::ptrdiff_t>(depth));
        });
        if (unique) {
            return joinedNames(path, first).c_str();
        }
    }
    return fullPathName();
}
