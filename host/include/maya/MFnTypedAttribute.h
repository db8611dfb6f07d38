#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MFnAttribute.h>
#include <maya/MFnData.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Function set for attributes holding data: strings and matrices.
class MFnTypedAttribute : public MFnAttribute {
public:
    MFnTypedAttribute();
    MFnTypedAttribute(const MObject& object, MStatus* ReturnStatus = nullptr);
    ~MFnTypedAttribute() override;

    MFn::Type type() const override;

    // Only string and matrix data are supported; other kinds fail with kNotImplemented.
    MObject create(const MString& fullName, const MString& briefName, MFnData::Type type,
                   const MObject& defaultData = MObject::kNullObj, MStatus* ReturnStatus = nullptr);

    MFnData::Type attrType(MStatus* ReturnStatus = nullptr) const;
    MStatus getDefault(MObject& defaultValue);
    MStatus setDefault(const MObject& defaultValue);
};

OPENMAYA_NAMESPACE_CLOSE
