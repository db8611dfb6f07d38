#include <host/Faults.h>
#include <maya/MPxNode.h>

#include "core/MainThreadOnly.h"
#include "dg/Access.h"
#include "dg/Node.h"

using host::Access;
using host::Attribute;
using host::TypeRegistry;

MPxNode::MPxNode() = default;
MPxNode::~MPxNode() = default;

void MPxNode::postConstructor() {}

MStatus MPxNode::compute(const MPlug&, MDataBlock&) {
    return MStatus::kUnknownParameter;
}

MStatus MPxNode::connectionMade(const MPlug&, const MPlug&, bool) {
    return MStatus::kUnknownParameter;
}

MStatus MPxNode::connectionBroken(const MPlug&, const MPlug&, bool) {
    return MStatus::kUnknownParameter;
}

MPxNode::Type MPxNode::type() const {
    HOST_MAIN_THREAD_ONLY();
    return kDependNode;
}

bool MPxNode::isAbstractClass() const {
    HOST_MAIN_THREAD_ONLY();
    return false;
}

MTypeId MPxNode::typeId() const {
    HOST_MAIN_THREAD_ONLY();
    return hostNode_ ? hostNode_->type->id : MTypeId();
}

MString MPxNode::typeName() const {
    HOST_MAIN_THREAD_ONLY();
    return hostNode_ ? hostNode_->type->name : MString();
}

MString MPxNode::name() const {
    HOST_MAIN_THREAD_ONLY();
    return hostNode_ ? hostNode_->name : MString();
}

MObject MPxNode::thisMObject() const {
    HOST_MAIN_THREAD_ONLY();
    return hostNode_ ? Access::object(hostNode_->sharedFromThis()) : MObject();
}

// Not documented. The header's alias kDefaultScheduling = kSerial names the default, and serial
// is also the safer of the readings: a node says when it may run in parallel.
MPxNode::SchedulingType MPxNode::schedulingType() const {
    return kDefaultScheduling;
}

// Not documented; plug-ins that call the base and then find caching enabled show it leaves the
// node enabled, asking for nothing.
void MPxNode::getCacheSetup(const MEvaluationNode&, MNodeCacheDisablingInfo&, MNodeCacheSetupInfo&,
                            MObjectArray&) const {}

void MPxNode::configCache(const MEvaluationNode&, MCacheSchema&) const {}

MDataBlock MPxNode::forceCache() {
    HOST_MAIN_THREAD_ONLY();
    return Access::block(hostNode_);
}

MStatus MPxNode::addAttribute(const MObject& attr) {
    HOST_MAIN_THREAD_ONLY();
    host::NodeType* type = TypeRegistry::instance().initializing();
    auto attribute = Access::as<Attribute>(attr);
    if (!type || !attribute || host::faultEnabled(host::fault::kAddAttribute)) {
        return MStatus::kFailure;
    }
    return type->addAttribute(attribute);
}

MStatus MPxNode::attributeAffects(const MObject& whenChanges, const MObject& isAffected) {
    HOST_MAIN_THREAD_ONLY();
    host::NodeType* type = TypeRegistry::instance().initializing();
    auto source = Access::as<Attribute>(whenChanges);
    auto affected = Access::as<Attribute>(isAffected);
    if (!type || !source || !affected) {
        return MStatus::kFailure;
    }
    return type->addAffects(source.get(), affected.get());
}
