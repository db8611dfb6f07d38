#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MFnAttribute.h>
#include <maya/MFnNumericData.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Function set for numeric attributes. Limits set here are hard: values outside are clamped.
class MFnNumericAttribute : public MFnAttribute {
public:
    MFnNumericAttribute();
    MFnNumericAttribute(const MObject& object, MStatus* ReturnStatus = nullptr);
    ~MFnNumericAttribute() override;

    MFn::Type type() const override;

    MObject create(const MString& fullName, const MString& briefName, MFnNumericData::Type unitType,
                   double defaultValue = 0.0, MStatus* ReturnStatus = nullptr);
    // A compound of numeric children, such as a point made of X, Y and Z attributes.
    MObject create(const MString& fullName, const MString& briefName, const MObject& child1,
                   const MObject& child2, const MObject& child3 = MObject::kNullObj,
                   MStatus* ReturnStatus = nullptr);
    MObject createPoint(const MString& fullName, const MString& briefName,
                        MStatus* ReturnStatus = nullptr);

    MFnNumericData::Type unitType(MStatus* ReturnStatus = nullptr) const;

    bool hasMin(MStatus* ReturnStatus = nullptr) const;
    bool hasMax(MStatus* ReturnStatus = nullptr) const;
    MStatus getMin(double& min) const;
    MStatus getMax(double& max) const;
    MStatus setMin(double min);
    MStatus setMin(int min);
    MStatus setMin(float min);
    MStatus setMax(double max);
    MStatus setMax(int max);
    MStatus setMax(float max);
    MStatus setSoftMin(double min);
    MStatus setSoftMax(double max);

    MStatus getDefault(double& value);
    MStatus getDefault(float& value);
    MStatus getDefault(int& value);
    MStatus getDefault(bool& value);
    MStatus setDefault(double value);
    MStatus setDefault(float value);
    MStatus setDefault(int value);
    MStatus setDefault(short value);
    MStatus setDefault(bool value);
};

OPENMAYA_NAMESPACE_CLOSE
