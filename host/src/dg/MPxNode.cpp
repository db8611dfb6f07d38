#include <host/Faults.h>
#include <maya/MPxNode.h>

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
    return kDependNode;
}

bool MPxNode::isAbstractClass() const {
    return false;
}

MTypeId MPxNode::typeId() const {
    return hostNode_ ? hostNode_->type->id : MTypeId();
}

MString MPxNode::typeName() const {
    return hostNode_ ? hostNode_->type->name : MString();
}

MString MPxNode::name() const {
    return hostNode_ ? hostNode_->name : MString();
}

MObject MPxNode::thisMObject() const {
    return hostNode_ ? Access::object(hostNode_->sharedFromThis()) : MObject();
}

// Not documented; plug-ins that call the base and then find caching enabled show it leaves the
// node enabled, asking for nothing.
void MPxNode::getCacheSetup(const MEvaluationNode&, MNodeCacheDisablingInfo&, MNodeCacheSetupInfo&,
                            MObjectArray&) const {}

void MPxNode::configCache(const MEvaluationNode&, MCacheSchema&) const {}

MDataBlock MPxNode::forceCache() {
    return Access::block(hostNode_);
}

MStatus MPxNode::addAttribute(const MObject& attr) {
    host::NodeType* type = TypeRegistry::instance().initializing();
    auto attribute = Access::as<Attribute>(attr);
    if (!type || !attribute || host::faultEnabled(host::fault::kAddAttribute)) {
        return MStatus::kFailure;
    }
    return type->addAttribute(attribute);
}

MStatus MPxNode::attributeAffects(const MObject& whenChanges, const MObject& isAffected) {
    host::NodeType* type = TypeRegistry::instance().initializing();
    auto source = Access::as<Attribute>(whenChanges);
    auto affected = Access::as<Attribute>(isAffected);
    if (!type || !source || !affected) {
        return MStatus::kFailure;
    }
    return type->addAffects(source.get(), affected.get());
}
