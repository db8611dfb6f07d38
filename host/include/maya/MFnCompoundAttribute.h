#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MFnAttribute.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Function set for compound attributes: a parent whose children are attributes of their own.
class MFnCompoundAttribute : public MFnAttribute {
public:
    MFnCompoundAttribute();
    MFnCompoundAttribute(const MObject& object, MStatus* ReturnStatus = nullptr);
    ~MFnCompoundAttribute() override;

    MFn::Type type() const override;

    MObject create(const MString& fullName, const MString& briefName,
                   MStatus* ReturnStatus = nullptr);
    MStatus addChild(const MObject& child);
    unsigned int numChildren(MStatus* ReturnStatus = nullptr) const;
    MObject child(unsigned int index, MStatus* ReturnStatus = nullptr) const;
};

OPENMAYA_NAMESPACE_CLOSE
