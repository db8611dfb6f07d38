#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MFnAttribute.h>
#include <maya/MTime.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Function set for attributes with a unit: times, distances and angles. Angles are radians,
// distances centimetres; times are given in the current UI unit when a plain number is used.
class MFnUnitAttribute : public MFnAttribute {
public:
    enum Type { kInvalid, kAngle, kDistance, kTime, kLast };

    MFnUnitAttribute();
    MFnUnitAttribute(const MObject& object, MStatus* ReturnStatus = nullptr);
    ~MFnUnitAttribute() override;

    MFn::Type type() const override;

    MObject create(const MString& fullName, const MString& briefName,
                   MFnUnitAttribute::Type unitType, double defaultValue = 0.0,
                   MStatus* ReturnStatus = nullptr);
    MObject create(const MString& fullName, const MString& briefName, const MTime& defaultValue,
                   MStatus* ReturnStatus = nullptr);

    MFnUnitAttribute::Type unitType(MStatus* ReturnStatus = nullptr) const;

    bool hasMin(MStatus* ReturnStatus = nullptr) const;
    bool hasMax(MStatus* ReturnStatus = nullptr) const;
    MStatus getMin(double& min) const;
    MStatus getMax(double& max) const;
    MStatus setMin(double min);
    MStatus setMin(const MTime& min);
    MStatus setMax(double max);
    MStatus setMax(const MTime& max);

    MStatus getDefault(double& value);
    MStatus getDefault(MTime& value);
    MStatus setDefault(double value);
    MStatus setDefault(const MTime& value);
};

OPENMAYA_NAMESPACE_CLOSE
