#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MFn.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Base of the function sets: an object the set operates on, checked against the set's type.
class MFnBase {
public:
    MFnBase();
    virtual ~MFnBase();

    virtual MFn::Type type() const;
    bool hasObj(MFn::Type type) const;
    bool hasObj(const MObject& object) const;
    MObject object(MStatus* ReturnStatus = nullptr) const;
    // Fails with kInvalidParameter, leaving the set empty, when the object does not fit the set.
    virtual MStatus setObject(const MObject& object);

protected:
    MObject object_;
};

OPENMAYA_NAMESPACE_CLOSE
