#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MFnData.h>
#include <maya/MMatrix.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Function set for matrix data.
class MFnMatrixData : public MFnData {
public:
    MFnMatrixData();
    MFnMatrixData(const MObject& object, MStatus* ReturnStatus = nullptr);
    ~MFnMatrixData() override;

    MFn::Type type() const override;

    MObject create(MStatus* ReturnStatus = nullptr);
    MObject create(const MMatrix& matrix, MStatus* ReturnStatus = nullptr);
    // The identity when the set has no data.
    const MMatrix& matrix(MStatus* ReturnStatus = nullptr) const;
    MStatus set(const MMatrix& matrix);
};

OPENMAYA_NAMESPACE_CLOSE
