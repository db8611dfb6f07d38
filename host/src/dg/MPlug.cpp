#include <maya/MPlug.h>

#include <maya/MPlugArray.h>

#include "core/MainThreadOnly.h"
#include "dg/Access.h"
#include "dg/Node.h"
#include "dg/SceneGraph.h"
#include "dg/StatusOut.h"

#include <algorithm>
#include <string>

using host::Access;
using host::Attribute;
using host::Node;
using host::PlugKey;
using host::setStatus;
using host::Value;

namespace {

// A plug that holds a value of its own (not a compound or a whole array).
bool holdsValue(const Attribute* attribute, int index) {
    return attribute->kind != Attribute::Kind::Compound && (!attribute->array || index >= 0);
}

std::string attributePath(const Attribute* attribute, int index, bool longNames, bool fullPath) {
    std::string text = (longNames ? attribute->longName : attribute->shortName).asChar();
    if (index >= 0) {
        text += "[" + std::to_string(index) + "]";
    }
    if (fullPath && attribute->parent) {
        text = attributePath(attribute->parent, -1, longNames, true) + "." + text;
    }
    return text;
}

}  // namespace

MPlug::MPlug() = default;
MPlug::MPlug(const MPlug& other) = default;

MPlug::MPlug(const MObject& node, const MObject& attribute) {
    HOST_MAIN_THREAD_ONLY();
    auto owner = Access::as<Node>(node);
    auto described = Access::as<Attribute>(attribute);
    if (owner && described && owner->type->hasAttribute(described.get())) {
        node_ = owner;
        attribute_ = described;
    }
}

MPlug::~MPlug() = default;
MPlug& MPlug::operator=(const MPlug& other) = default;

bool MPlug::operator==(const MPlug& other) const {
    HOST_MAIN_THREAD_ONLY();
    return node_ == other.node_ && attribute_ == other.attribute_ && index_ == other.index_;
}

bool MPlug::operator!=(const MPlug& other) const {
    HOST_MAIN_THREAD_ONLY();
    return !(*this == other);
}

bool MPlug::operator==(const MObject& attribute) const {
    HOST_MAIN_THREAD_ONLY();
    return attribute_ && Access::entity(attribute) == attribute_;
}

bool MPlug::operator!=(const MObject& attribute) const {
    HOST_MAIN_THREAD_ONLY();
    return !(*this == attribute);
}

MPlug MPlug::operator[](MObject& attribute) const {
    HOST_MAIN_THREAD_ONLY();
    return child(attribute);
}

MPlug MPlug::operator[](unsigned int logicalIndex) const {
    HOST_MAIN_THREAD_ONLY();
    return elementByLogicalIndex(logicalIndex);
}

MPlug::operator MObject() const {
    HOST_MAIN_THREAD_ONLY();
    return attribute();
}

bool MPlug::isNull(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, MStatus::kSuccess);
    return !node_ || !attribute_;
}

MObject MPlug::attribute(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, attribute_ ? MStatus::kSuccess : MStatus::kFailure);
    return attribute_ ? Access::object(attribute_) : MObject();
}

MObject MPlug::node(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, node_ ? MStatus::kSuccess : MStatus::kFailure);
    return node_ ? Access::object(node_) : MObject();
}

MString MPlug::name(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    return partialName(true, false, false, false, false, true, ReturnStatus);
}

MString MPlug::partialName(bool includeNodeName, bool, bool, bool, bool useFullAttributePath,
                           bool useLongNames, MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    if (isNull()) {
        setStatus(ReturnStatus, MStatus::kFailure);
        return MString();
    }
    setStatus(ReturnStatus, MStatus::kSuccess);
    std::string text = attributePath(attribute_.get(), index_, useLongNames, useFullAttributePath);
    if (includeNodeName) {
        text = std::string(node_->name.asChar()) + "." + text;
    }
    return text.c_str();
}

MString MPlug::info(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    return name(ReturnStatus);
}

bool MPlug::isNetworked(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    return isConnected(ReturnStatus);
}

bool MPlug::isArray(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, isNull() ? MStatus::kFailure : MStatus::kSuccess);
    return attribute_ && attribute_->array && index_ < 0;
}

bool MPlug::isElement(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, isNull() ? MStatus::kFailure : MStatus::kSuccess);
    return index_ >= 0;
}

bool MPlug::isCompound(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, isNull() ? MStatus::kFailure : MStatus::kSuccess);
    return attribute_ && attribute_->kind == Attribute::Kind::Compound;
}

bool MPlug::isChild(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, isNull() ? MStatus::kFailure : MStatus::kSuccess);
    return attribute_ && attribute_->parent;
}

bool MPlug::isKeyable(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, isNull() ? MStatus::kFailure : MStatus::kSuccess);
    return attribute_ && attribute_->keyable;
}

bool MPlug::isConnected(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    MPlugArray connected;
    return connectedTo(connected, true, true, ReturnStatus);
}

bool MPlug::isSource(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, isNull() ? MStatus::kFailure : MStatus::kSuccess);
    return !isNull() && node_->hasOutgoing({attribute_.get(), index_});
}

bool MPlug::isDestination(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, isNull() ? MStatus::kFailure : MStatus::kSuccess);
    return !isNull() && node_->incomingOf({attribute_.get(), index_});
}

bool MPlug::isLocked(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, isNull() ? MStatus::kFailure : MStatus::kSuccess);
    return !isNull() && node_->locked.count({attribute_.get(), index_}) > 0;
}

MStatus MPlug::setLocked(bool locked) {
    HOST_MAIN_THREAD_ONLY();
    if (isNull()) {
        return MStatus::kFailure;
    }
    const host::PlugKey key{attribute_.get(), index_};
    if ((node_->locked.count(key) > 0) != locked) {
        if (locked) {
            node_->locked.insert(key);
        } else {
            node_->locked.erase(key);
        }
        host::SceneGraph::instance().setModified(true);
    }
    return MStatus::kSuccess;
}

bool MPlug::isDefaultValue(bool, MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    if (isNull() || !holdsValue(attribute_.get(), index_)) {
        setStatus(ReturnStatus, MStatus::kFailure);
        return false;
    }
    setStatus(ReturnStatus, MStatus::kSuccess);
    return node_->evaluate({attribute_.get(), index_}) == attribute_->defaultValue;
}

unsigned int MPlug::logicalIndex(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, index_ >= 0 ? MStatus::kSuccess : MStatus::kFailure);
    return index_ >= 0 ? static_cast<unsigned int>(index_) : 0;
}

MPlug MPlug::elementByLogicalIndex(unsigned int logicalIndex, MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    if (!isArray()) {
        setStatus(ReturnStatus, MStatus::kFailure);
        return MPlug();
    }
    setStatus(ReturnStatus, MStatus::kSuccess);
    const int index = static_cast<int>(logicalIndex);
    node_->slot({attribute_.get(), index});
    return Access::plug(node_, attribute_.get(), index);
}

MPlug MPlug::elementByPhysicalIndex(unsigned int physicalIndex, MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    if (!isArray()) {
        setStatus(ReturnStatus, MStatus::kFailure);
        return MPlug();
    }
    const std::vector<int> indices = node_->elementIndices(attribute_.get());
    if (physicalIndex >= indices.size()) {
        setStatus(ReturnStatus, MStatus::kInvalidParameter);
        return MPlug();
    }
    setStatus(ReturnStatus, MStatus::kSuccess);
    return Access::plug(node_, attribute_.get(), indices[physicalIndex]);
}

unsigned int MPlug::numElements(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    if (!isArray()) {
        setStatus(ReturnStatus, MStatus::kFailure);
        return 0;
    }
    setStatus(ReturnStatus, MStatus::kSuccess);
    return static_cast<unsigned int>(node_->elementIndices(attribute_.get()).size());
}

unsigned int MPlug::evaluateNumElements(MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    return numElements(ReturnStatus);
}

MPlug MPlug::array(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    if (index_ < 0) {
        setStatus(ReturnStatus, MStatus::kFailure);
        return MPlug();
    }
    setStatus(ReturnStatus, MStatus::kSuccess);
    return Access::plug(node_, attribute_.get(), -1);
}

unsigned int MPlug::numChildren(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, isCompound() ? MStatus::kSuccess : MStatus::kFailure);
    return isCompound() ? static_cast<unsigned int>(attribute_->children.size()) : 0;
}

MPlug MPlug::child(unsigned int index, MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    if (!isCompound() || index >= attribute_->children.size()) {
        setStatus(ReturnStatus, MStatus::kInvalidParameter);
        return MPlug();
    }
    setStatus(ReturnStatus, MStatus::kSuccess);
    return Access::plug(node_, attribute_->children[index].get(), -1);
}

MPlug MPlug::child(MObject& attribute, MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    if (isCompound()) {
        for (unsigned int i = 0; i < attribute_->children.size(); ++i) {
            if (Access::entity(attribute) == attribute_->children[i]) {
                return child(i, ReturnStatus);
            }
        }
    }
    setStatus(ReturnStatus, MStatus::kInvalidParameter);
    return MPlug();
}

MPlug MPlug::parent(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    if (!isChild()) {
        setStatus(ReturnStatus, MStatus::kFailure);
        return MPlug();
    }
    setStatus(ReturnStatus, MStatus::kSuccess);
    return Access::plug(node_, attribute_->parent, -1);
}

bool MPlug::connectedTo(MPlugArray& array, bool asDst, bool asSrc, MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    array.clear();
    if (isNull()) {
        setStatus(ReturnStatus, MStatus::kFailure);
        return false;
    }
    setStatus(ReturnStatus, MStatus::kSuccess);
    const PlugKey key{attribute_.get(), index_};
    if (asDst) {
        if (const host::Incoming* in = node_->incomingOf(key)) {
            array.append(Access::plug(in->source.node->sharedFromThis(), in->source.key.attribute,
                                      in->source.key.index));
        }
    }
    if (asSrc) {
        auto out = node_->outgoing.find(key);
        if (out != node_->outgoing.end()) {
            for (const host::PlugEnd& destination : out->second) {
                array.append(Access::plug(destination.node->sharedFromThis(),
                                          destination.key.attribute, destination.key.index));
            }
        }
    }
    return array.length() > 0;
}

MPlug MPlug::source(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    MPlugArray sources;
    connectedTo(sources, true, false, ReturnStatus);
    return sources.length() ? sources[0] : MPlug();
}

bool MPlug::destinations(MPlugArray& theDestinations, MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    return connectedTo(theDestinations, false, true, ReturnStatus);
}
