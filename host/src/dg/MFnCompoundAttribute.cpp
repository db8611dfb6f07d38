#include <maya/MFnCompoundAttribute.h>

#include "core/MainThreadOnly.h"
#include "dg/Access.h"
#include "dg/AttributeCreation.h"
#include "dg/StatusOut.h"

using host::Access;
using host::Attribute;
using host::setStatus;

MFnCompoundAttribute::MFnCompoundAttribute() = default;

MFnCompoundAttribute::MFnCompoundAttribute(const MObject& object, MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    setStatus(ReturnStatus, setObject(object));
}

MFnCompoundAttribute::~MFnCompoundAttribute() = default;

MFn::Type MFnCompoundAttribute::type() const {
    HOST_MAIN_THREAD_ONLY();
    return MFn::kCompoundAttribute;
}

MObject MFnCompoundAttribute::create(const MString& fullName, const MString& briefName,
                                     MStatus* ReturnStatus) {
    HOST_MAIN_THREAD_ONLY();
    host::makeAttribute(Attribute::Kind::Compound, fullName, briefName, object_, ReturnStatus);
    return object_;
}

MStatus MFnCompoundAttribute::addChild(const MObject& child) {
    HOST_MAIN_THREAD_ONLY();
    auto compound = Access::as<Attribute>(object_);
    auto attribute = Access::as<Attribute>(child);
    if (!compound || !attribute || attribute->parent || attribute == compound) {
        return MStatus::kInvalidParameter;
    }
    attribute->parent = compound.get();
    compound->children.push_back(attribute);
    return MStatus::kSuccess;
}

unsigned int MFnCompoundAttribute::numChildren(MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    auto compound = Access::as<Attribute>(object_);
    setStatus(ReturnStatus, compound ? MStatus::kSuccess : MStatus::kFailure);
    return compound ? static_cast<unsigned int>(compound->children.size()) : 0;
}

MObject MFnCompoundAttribute::child(unsigned int index, MStatus* ReturnStatus) const {
    HOST_MAIN_THREAD_ONLY();
    auto compound = Access::as<Attribute>(object_);
    if (!compound || index >= compound->children.size()) {
        setStatus(ReturnStatus, MStatus::kInvalidParameter);
        return MObject();
    }
    setStatus(ReturnStatus, MStatus::kSuccess);
    return Access::object(compound->children[index]);
}
