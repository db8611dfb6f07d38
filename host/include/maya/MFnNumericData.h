#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MFnData.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Function set for numeric data; its Type names the numeric attribute kinds.
class MFnNumericData : public MFnData {
public:
    enum Type {
        kInvalid,
        kBoolean,
        kByte,
        kChar,
        kShort,
        k2Short,
        k3Short,
        kLong,
        kInt = kLong,
        k2Long,
        k2Int = k2Long,
        k3Long,
        k3Int = k3Long,
        kInt64,
        kFloat,
        k2Float,
        k3Float,
        kDouble,
        k2Double,
        k3Double,
        k4Double,
        kAddr,
        kLast,
    };

    MFnNumericData();
    MFnNumericData(const MObject& object, MStatus* ReturnStatus = nullptr);
    ~MFnNumericData() override;

    MFn::Type type() const override;
};

OPENMAYA_NAMESPACE_CLOSE
