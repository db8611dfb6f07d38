#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MFnAttribute.h>
#include <maya/MMatrix.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Function set for matrix attributes; the default value is the identity.
class MFnMatrixAttribute : public MFnAttribute {
public:
    enum Type { kFloat, kDouble };

    MFnMatrixAttribute();
    MFnMatrixAttribute(const MObject& object, MStatus* ReturnStatus = nullptr);
    ~MFnMatrixAttribute() override;

    MFn::Type type() const override;

    MObject create(const MString& fullName, const MString& briefName, Type matrixType = kDouble,
                   MStatus* ReturnStatus = nullptr);
    MStatus getDefault(MMatrix& value);
    MStatus setDefault(const MMatrix& value);
};

OPENMAYA_NAMESPACE_CLOSE
