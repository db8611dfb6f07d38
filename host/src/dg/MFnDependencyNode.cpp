#include <maya/MFnDependencyNode.h>

#include <maya/MPlugArray.h>

#include "core/MainThreadOnly.h"
#include "dg/Access.h"
#include "dg/NodeCreation.h"
#include "dg/NodeOf.h"
#include "dg/SceneGraph.h"
#include "dg/StatusOut.h"

#include <set>

using host::Access;
using host::Attribute;
using host::Node;
using host::nodeOf;
using host::setStatus;

MFnDependencyNode::MFnDependencyNode() = default;

MFnDependencyNode::MFnDependencyNode(const MObject& object, MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, setObject(object));
}

MFnDependencyNode::~MFnDependencyNode() = default;

MFn::Type MFnDependencyNode::type() const {
    HOST_MAIN_THREAD_ONLY();
    return MFn::kDependencyNode;
}

MObject MFnDependencyNode::create(const MTypeId& typeId, MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    return host::enterNewNodes(host::creatableType(typeId), nullptr, nullptr, object_,
                               ReturnStatus);
}

MObject MFnDependencyNode::create(const MTypeId& typeId, const MString& name,
                                  MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    return host::enterNewNodes(host::creatableType(typeId), &name, nullptr, object_, ReturnStatus);
}

MObject MFnDependencyNode::create(const MString& type, MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    return host::enterNewNodes(host::creatableType(type), nullptr, nullptr, object_, ReturnStatus);
}

MObject MFnDependencyNode::create(const MString& type, const MString& name, MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    return host::enterNewNodes(host::creatableType(type), &name, nullptr, object_, ReturnStatus);
}

MTypeId MFnDependencyNode::typeId(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    auto node = nodeOf(object_, ReturnStatus);
    return node ? node->type->id : MTypeId();
}

MString MFnDependencyNode::typeName(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    auto node = nodeOf(object_, ReturnStatus);
    return node ? node->type->name : MString();
}

MString MFnDependencyNode::name(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    auto node = nodeOf(object_, ReturnStatus);
    return node ? node->name : MString();
}

MString MFnDependencyNode::absoluteName(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    return MString(":") + name(ReturnStatus);
}

MString MFnDependencyNode::setName(const MString& name, bool, MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    auto node = nodeOf(object_, ReturnStatus);
    if (!node) {
        return MString();
    }
    if (name.length() == 0 || node->isWorld()) {
        setStatus(ReturnStatus, MStatus::kInvalidParameter);
        return node->name;
    }
    return host::SceneGraph::instance().rename(*node, name);
}

MString MFnDependencyNode::pluginName(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    auto node = nodeOf(object_, ReturnStatus);
    return node ? MString(node->type->pluginName.c_str()) : MString();
}

MStatus MFnDependencyNode::getConnections(MPlugArray& array) const {
    HOST_MAIN_THREAD_ONLY();
    array.clear();
    auto node = nodeOf(object_, nullptr);
    if (!node) {
        return MStatus::kFailure;
    }
    std::set<host::PlugKey> keys;
    for (const auto& entry : node->incoming) {
        keys.insert(entry.first);
    }
    for (const auto& entry : node->outgoing) {
        if (!entry.second.empty()) {
            keys.insert(entry.first);
        }
    }
    for (const host::PlugKey& key : keys) {
        array.append(Access::plug(node, key.attribute, key.index));
    }
    return MStatus::kSuccess;
}

unsigned int MFnDependencyNode::attributeCount(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    auto node = nodeOf(object_, ReturnStatus);
    return node ? static_cast<unsigned int>(node->type->attributes.size()) : 0;
}

MObject MFnDependencyNode::attribute(unsigned int index, MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    auto node = nodeOf(object_, ReturnStatus);
    if (!node || index >= node->type->attributes.size()) {
        setStatus(ReturnStatus, MStatus::kInvalidParameter);
        return MObject();
    }
    return Access::object(node->type->attributes[index]);
}

MObject MFnDependencyNode::attribute(const MString& attrName, MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    auto node = nodeOf(object_, ReturnStatus);
    const Attribute* attribute = node ? node->type->findAttribute(attrName) : nullptr;
    if (!attribute) {
        setStatus(ReturnStatus, MStatus::kInvalidParameter);
        return MObject();
    }
    return Access::object(attribute->sharedFromThis());
}

MFnDependencyNode::MAttrClass MFnDependencyNode::attributeClass(const MObject& attribute,
                                                                MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    auto node = nodeOf(object_, ReturnStatus);
    auto described = Access::as<Attribute>(attribute);
    if (!node || !described || !node->type->hasAttribute(described.get())) {
        setStatus(ReturnStatus, MStatus::kInvalidParameter);
        return kInvalidAttr;
    }
    return kNormalAttr;
}

bool MFnDependencyNode::hasAttribute(const MString& name, MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    auto node = nodeOf(object_, ReturnStatus);
    return node && node->type->findAttribute(name);
}

MPlug MFnDependencyNode::findPlug(const MObject& attribute, bool, MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    auto node = nodeOf(object_, ReturnStatus);
    auto described = Access::as<Attribute>(attribute);
    if (!node || !described || !node->type->hasAttribute(described.get())) {
        setStatus(ReturnStatus, MStatus::kInvalidParameter);
        return MPlug();
    }
    return Access::plug(node, described.get(), -1);
}

MPlug MFnDependencyNode::findPlug(const MString& attrName, bool, MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    auto node = nodeOf(object_, ReturnStatus);
    const Attribute* attribute = node ? node->type->findAttribute(attrName) : nullptr;
    if (!attribute) {
        setStatus(ReturnStatus, MStatus::kInvalidParameter);
        return MPlug();
    }
    return Access::plug(node, attribute, -1);
}

MPlug MFnDependencyNode::findPlug(const MObject& attribute, MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    return findPlug(attribute, true, ReturnStatus);
}

MPlug MFnDependencyNode::findPlug(const MString& attrName, MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    return findPlug(attrName, true, ReturnStatus);
}

MPxNode* MFnDependencyNode::userNode(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    auto node = nodeOf(object_, ReturnStatus);
    // Only plug-in nodes have an object of their own; built-in ones have none to give.
    return node && node->type->fromPlugin ? node->user.get() : nullptr;
}

bool MFnDependencyNode::isFromReferencedFile(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    auto node = nodeOf(object_, ReturnStatus);
    return node && !node->reference.expired();
}

bool MFnDependencyNode::isDefaultNode(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    auto node = nodeOf(object_, ReturnStatus);
    return node && node->isDefault;
}
