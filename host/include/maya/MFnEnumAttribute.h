#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MFnAttribute.h>
#include <maya/MString.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Function set for enumerations: short values with a name per field.
class MFnEnumAttribute : public MFnAttribute {
public:
    MFnEnumAttribute();
    MFnEnumAttribute(const MObject& object, MStatus* ReturnStatus = nullptr);
    ~MFnEnumAttribute() override;

    MFn::Type type() const override;

    MObject create(const MString& fullName, const MString& briefName, short defaultValue = 0,
                   MStatus* ReturnStatus = nullptr);

    // A name or value already used fails with kInvalidParameter.
    MStatus addField(const MString& fieldString, short index);
    MString fieldName(short index, MStatus* ReturnStatus = nullptr) const;
    short fieldIndex(const MString& fieldString, MStatus* ReturnStatus = nullptr) const;
    MStatus getMin(short& minValue) const;
    MStatus getMax(short& maxValue) const;

    MStatus setDefault(short index);
    MStatus setDefault(const MString& fieldString);
    MStatus getDefault(short& index) const;
    MString defaultValue(MStatus* ReturnStatus = nullptr) const;
};

OPENMAYA_NAMESPACE_CLOSE
