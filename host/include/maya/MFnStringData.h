#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MFnData.h>
#include <maya/MString.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Function set for string data.
class MFnStringData : public MFnData {
public:
    MFnStringData();
    MFnStringData(const MObject& object, MStatus* ReturnStatus = nullptr);
    ~MFnStringData() override;

    MFn::Type type() const override;

    MObject create(MStatus* ReturnStatus = nullptr);
    MObject create(const MString& text, MStatus* ReturnStatus = nullptr);
    MString string(MStatus* ReturnStatus = nullptr) const;
    MStatus set(const MString& newString);
};

OPENMAYA_NAMESPACE_CLOSE
